// Laid-out runs of one FreeType face.
#include "shaping/run_layout_cache.h"

namespace lumo::shaping {

std::u32string RunLayoutCache::key_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                                      ShapingDirection direction, std::u32string_view shaping_key) {
    // The drawing options and the direction lead the key; shaping options,
    // when there are any, follow with their length, so no text can pass for them.
    const bool shaped_with_options = !shaping_key.empty();
    std::u32string key(1, static_cast<char32_t>((options.anti_aliased ? 1u : 0u) | (options.synthetic_bold ? 2u : 0u) |
                                                (options.synthetic_italic ? 4u : 0u) |
                                                (options.colour ? 16u : 0u) | (static_cast<unsigned>(direction) << 5) |
                                                (shaped_with_options ? 1u << 7 : 0u)));
    if (shaped_with_options) {
        key += static_cast<char32_t>(shaping_key.size());
        key += shaping_key;
    }
    key.append(text.begin(), text.end());
    return key;
}

std::shared_ptr<const RunLayout> RunLayoutCache::find(std::span<const std::uint32_t> text,
                                                      const RasterOptions& options, ShapingDirection direction,
                                                      std::u32string_view shaping_key) const {
    if (text.size() > kMaxCachedRunLength) return nullptr;
    auto found = layouts_.find(key_of(text, options, direction, shaping_key));
    return found == layouts_.end() ? nullptr : found->second;
}

void RunLayoutCache::store(std::span<const std::uint32_t> text, const RasterOptions& options,
                           ShapingDirection direction, std::shared_ptr<const RunLayout> layout,
                           std::u32string_view shaping_key) {
    if (text.size() > kMaxCachedRunLength) return;
    if (layouts_.size() >= kMaxCachedRunsPerFace) layouts_.clear();
    layouts_.insert_or_assign(key_of(text, options, direction, shaping_key), std::move(layout));
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
