// Rasterised glyphs of one FreeType face.
#include "shaping/glyph_cache.h"

namespace lumo::shaping {

namespace {

std::uint64_t mode_of(const RasterOptions& options) {
    return (options.anti_aliased ? 1u : 0u) | (options.synthetic_bold ? 2u : 0u) |
           (options.synthetic_italic ? 4u : 0u) | (options.colour ? 16u : 0u);
}

}  // namespace

std::uint64_t GlyphBitmapCache::key_of(std::uint32_t glyph_id, const RasterOptions& options) {
    return (static_cast<std::uint64_t>(glyph_id) << 5) | mode_of(options);
}

std::shared_ptr<const GlyphBitmap> GlyphBitmapCache::find(std::uint32_t glyph_id, const RasterOptions& options) const {
    auto found = bitmaps_.find(key_of(glyph_id, options));
    return found == bitmaps_.end() ? nullptr : found->second;
}

void GlyphBitmapCache::store(std::uint32_t glyph_id, const RasterOptions& options,
                             std::shared_ptr<const GlyphBitmap> bitmap) {
    const std::size_t cost = bitmap->bytes.size() + sizeof(GlyphBitmap) + 64;
    if (bytes_ + cost > kGlyphCacheBytesPerFace) {
        bitmaps_.clear();
        bytes_ = 0;
    }
    if (bitmaps_.insert_or_assign(key_of(glyph_id, options), std::move(bitmap)).second) bytes_ += cost;
}

std::uint64_t StrokedGlyphCache::key_of(std::uint32_t glyph_id, const RasterOptions& options, int radius_64ths) {
    // Radii up to kMaxOutlinePixels take 13 bits.
    static_assert(kMaxOutlinePixels * 64 < (1 << 13));
    return (static_cast<std::uint64_t>(glyph_id) << 18) | (static_cast<std::uint64_t>(radius_64ths & 0x1FFF) << 5) |
           mode_of(options);
}

std::shared_ptr<const GlyphBitmap> StrokedGlyphCache::find(std::uint32_t glyph_id, const RasterOptions& options,
                                                           int radius_64ths) const {
    auto found = bitmaps_.find(key_of(glyph_id, options, radius_64ths));
    return found == bitmaps_.end() ? nullptr : found->second;
}

void StrokedGlyphCache::store(std::uint32_t glyph_id, const RasterOptions& options, int radius_64ths,
                              std::shared_ptr<const GlyphBitmap> bitmap) {
    const std::size_t cost = bitmap->bytes.size() + sizeof(GlyphBitmap) + 64;
    if (bytes_ + cost > kStrokeCacheBytesPerFace) {
        bitmaps_.clear();
        bytes_ = 0;
    }
    if (bitmaps_.insert_or_assign(key_of(glyph_id, options, radius_64ths), std::move(bitmap)).second) bytes_ += cost;
}

}  // namespace lumo::shaping
