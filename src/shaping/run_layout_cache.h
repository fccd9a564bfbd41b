// Laid-out runs of one FreeType face, kept so that a word or a space that
// comes again is neither shaped nor rasterised again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

#include "base/limits.h"
#include "shaping/run_layout.h"

namespace lumo::shaping {

class RunLayoutCache {
public:
    std::shared_ptr<const RunLayout> find(std::span<const std::uint32_t> text, const RasterOptions& options,
                                          ShapingDirection direction) const;
    void store(std::span<const std::uint32_t> text, const RasterOptions& options, ShapingDirection direction,
               std::shared_ptr<const RunLayout> layout);
    std::size_t size() const { return layouts_.size(); }

private:
    static std::u32string key_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                                 ShapingDirection direction);

    std::unordered_map<std::u32string, std::shared_ptr<const RunLayout>> layouts_;
};

}  // namespace lumo::shaping
