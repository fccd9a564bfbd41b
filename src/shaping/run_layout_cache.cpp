// Laid-out runs of one FreeType face.
#include "shaping/run_layout_cache.h"

#include <algorithm>

namespace lumo::shaping {
namespace {

/// FNV-1a over 32-bit units: cheap for the short runs a line is made of.
std::size_t hash_units(std::size_t hash, const char32_t* units, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) hash = (hash ^ units[i]) * 0x100000001b3ull;
    return hash;
}

}  // namespace

RunLayoutCache::Probe RunLayoutCache::probe_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                                               ShapingDirection direction, std::u32string_view shaping_key) {
    // The drawing options and the direction lead the key; the shaping key's
    // length is part of the stored parts, so no text can pass for it.
    const std::uint32_t flags = (options.anti_aliased ? 1u : 0u) | (options.synthetic_bold ? 2u : 0u) |
                                (options.synthetic_italic ? 4u : 0u) | (options.colour ? 16u : 0u) |
                                (static_cast<std::uint32_t>(direction) << 5);
    std::size_t hash = 0xcbf29ce484222325ull ^ flags;
    hash = hash_units(hash, shaping_key.data(), shaping_key.size());
    hash = hash_units(hash * 31 + shaping_key.size(), reinterpret_cast<const char32_t*>(text.data()), text.size());
    return {text, flags, shaping_key, hash};
}

bool RunLayoutCache::Equal::operator()(const Probe& probe, const Stored& stored) const noexcept {
    const std::u32string& parts = stored.parts;
    if (parts.size() != 1 + probe.shaping_key.size() + probe.text.size() ||
        stored.shaping_key_length != probe.shaping_key.size() || parts[0] != probe.flags)
        return false;
    const std::u32string_view key(parts.data() + 1, stored.shaping_key_length);
    if (key != probe.shaping_key) return false;
    return std::equal(probe.text.begin(), probe.text.end(), parts.begin() + 1 + static_cast<std::ptrdiff_t>(key.size()),
                      [](std::uint32_t a, char32_t b) { return a == b; });
}

std::shared_ptr<const RunLayout> RunLayoutCache::find(std::span<const std::uint32_t> text,
                                                      const RasterOptions& options, ShapingDirection direction,
                                                      std::u32string_view shaping_key) const {
    if (text.size() > kMaxCachedRunLength) return nullptr;
    auto found = layouts_.find(probe_of(text, options, direction, shaping_key));
    return found == layouts_.end() ? nullptr : found->second;
}

void RunLayoutCache::store(std::span<const std::uint32_t> text, const RasterOptions& options,
                           ShapingDirection direction, std::shared_ptr<const RunLayout> layout,
                           std::u32string_view shaping_key) {
    if (text.size() > kMaxCachedRunLength) return;
    if (layouts_.size() >= kMaxCachedRunsPerFace) layouts_.clear();
    const Probe probe = probe_of(text, options, direction, shaping_key);
    Stored stored{std::u32string(1, static_cast<char32_t>(probe.flags)), shaping_key.size(), probe.hash};
    stored.parts += shaping_key;
    stored.parts.append(text.begin(), text.end());
    layouts_.insert_or_assign(std::move(stored), std::move(layout));
}

std::u32string shaping_key_of(const ShapingOptions& shaping) {
    std::u32string key;
    if (shaping.features.empty() && shaping.language.empty()) return key;
    key += static_cast<char32_t>(shaping.features.size());
    for (const FeatureSetting& setting : shaping.features) {
        key += static_cast<char32_t>(setting.tag);
        key += static_cast<char32_t>(setting.value);
    }
    key.append(shaping.language.begin(), shaping.language.end());
    return key;
}

}  // namespace lumo::shaping
