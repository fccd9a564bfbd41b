// Laid-out runs of one FreeType face.
#include "shaping/run_layout_cache.h"

namespace lumo::shaping {

std::u32string RunLayoutCache::key_of(std::span<const std::uint32_t> text, const RasterOptions& options,
                                      ShapingDirection direction) {
    // The drawing options and the direction lead the key.
    std::u32string key(1, static_cast<char32_t>((options.anti_aliased ? 1u : 0u) | (options.synthetic_bold ? 2u : 0u) |
                                                (options.synthetic_italic ? 4u : 0u) |
                                                (options.colour ? 16u : 0u) | (static_cast<unsigned>(direction) << 5)));
    key.append(text.begin(), text.end());
    return key;
}

std::shared_ptr<const RunLayout> RunLayoutCache::find(std::span<const std::uint32_t> text,
                                                      const RasterOptions& options, ShapingDirection direction) const {
    if (text.size() > kMaxCachedRunLength) return nullptr;
    auto found = layouts_.find(key_of(text, options, direction));
    return found == layouts_.end() ? nullptr : found->second;
}

void RunLayoutCache::store(std::span<const std::uint32_t> text, const RasterOptions& options,
                           ShapingDirection direction, std::shared_ptr<const RunLayout> layout) {
    if (text.size() > kMaxCachedRunLength) return;
    if (layouts_.size() >= kMaxCachedRunsPerFace) layouts_.clear();
    layouts_.insert_or_assign(key_of(text, options, direction), std::move(layout));
}

}  // namespace lumo::shaping
