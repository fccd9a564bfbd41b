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

/// A run's layout depends on its text, drawing options and direction, and
/// on the features and language it is shaped with, which `shaping_key`
/// stands for (shaping_key_of; empty for the defaults). Its variation
/// coordinates need no key: each set of them has its own face, and cache.
class RunLayoutCache {
public:
    std::shared_ptr<const RunLayout> find(std::span<const std::uint32_t> text, const RasterOptions& options,
                                          ShapingDirection direction, std::u32string_view shaping_key = {}) const;
    void store(std::span<const std::uint32_t> text, const RasterOptions& options, ShapingDirection direction,
               std::shared_ptr<const RunLayout> layout, std::u32string_view shaping_key = {});
    std::size_t size() const { return layouts_.size(); }

private:
    static std::u32string key_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                                 ShapingDirection direction, std::u32string_view shaping_key);

    std::unordered_map<std::u32string, std::shared_ptr<const RunLayout>> layouts_;
};

/// What the features and language of `shaping` add to a layout's key:
/// nothing when they are the defaults.
std::u32string shaping_key_of(const ShapingOptions& shaping);

}  // namespace lumo::shaping
