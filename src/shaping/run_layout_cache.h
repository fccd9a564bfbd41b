// Laid-out runs of one FreeType face, kept so that a word or a space that
// comes again is neither shaped nor rasterised again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
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
    /// A run looked up: its parts as they are, hashed once. A line asks for
    /// a dozen runs; building a key string for each cost more than the rest
    /// of the lookup.
    struct Probe {
        std::span<const std::uint32_t> text;
        std::uint32_t flags;
        std::u32string_view shaping_key;
        std::size_t hash;
    };
    /// A kept run's parts in one string: flags, shaping key, text.
    struct Stored {
        std::u32string parts;
        std::size_t shaping_key_length;
        std::size_t hash;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(const Stored& stored) const noexcept { return stored.hash; }
        std::size_t operator()(const Probe& probe) const noexcept { return probe.hash; }
    };
    struct Equal {
        using is_transparent = void;
        bool operator()(const Stored& a, const Stored& b) const noexcept { return a.parts == b.parts; }
        bool operator()(const Probe& probe, const Stored& stored) const noexcept;
        bool operator()(const Stored& stored, const Probe& probe) const noexcept { return (*this)(probe, stored); }
    };

    static Probe probe_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                          ShapingDirection direction, std::u32string_view shaping_key);

    std::unordered_map<Stored, std::shared_ptr<const RunLayout>, Hash, Equal> layouts_;
};

/// What the features and language of `shaping` add to a layout's key:
/// nothing when they are the defaults.
std::u32string shaping_key_of(const ShapingOptions& shaping);

}  // namespace lumo::shaping
