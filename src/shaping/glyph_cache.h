// Rasterised glyphs of one FreeType face, kept so that a glyph drawn again
// (the same letter in the next line) is not rasterised again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "base/limits.h"
#include "shaping/glyph_raster.h"

namespace lumo::shaping {

class GlyphBitmapCache {
public:
    /// The glyph rasterised with these options, or null.
    std::shared_ptr<const GlyphBitmap> find(std::uint32_t glyph_id, const RasterOptions& options) const;

    /// Keeps `bitmap`. Layouts that hold a bitmap keep it alive even after the
    /// cache lets go of it, so dropping everything at the budget is safe.
    void store(std::uint32_t glyph_id, const RasterOptions& options, std::shared_ptr<const GlyphBitmap> bitmap);

    std::size_t size() const { return bitmaps_.size(); }
    std::size_t bytes() const { return bytes_; }

private:
    static std::uint64_t key_of(std::uint32_t glyph_id, const RasterOptions& options);

    std::unordered_map<std::uint64_t, std::shared_ptr<const GlyphBitmap>> bitmaps_;
    std::size_t bytes_ = 0;
};

/// Outlined glyphs of one FreeType face (glyph_stroke.h), by glyph, raster
/// options and outline radius in 1/64 pixel, kept like the plain glyphs.
class StrokedGlyphCache {
public:
    std::shared_ptr<const GlyphBitmap> find(std::uint32_t glyph_id, const RasterOptions& options,
                                            int radius_64ths) const;
    void store(std::uint32_t glyph_id, const RasterOptions& options, int radius_64ths,
               std::shared_ptr<const GlyphBitmap> bitmap);

    std::size_t size() const { return bitmaps_.size(); }

private:
    static std::uint64_t key_of(std::uint32_t glyph_id, const RasterOptions& options, int radius_64ths);

    std::unordered_map<std::uint64_t, std::shared_ptr<const GlyphBitmap>> bitmaps_;
    std::size_t bytes_ = 0;
};

}  // namespace lumo::shaping
