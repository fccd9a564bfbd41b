// Outlines around glyphs: the glyph grown by a radius in every direction, as
// 8-bit coverage. Outline glyphs are stroked by FreeType's stroker (round
// joins and caps); colour and other bitmap glyphs are grown by dilating
// their alpha with a disc.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <vector>

#include "shaping/glyph_raster.h"

namespace lumo::shaping {

/// 8-bit coverage of `bitmap` (coverage bytes, 1-bit rows or a colour bitmap's
/// alpha), rows top first, `bitmap.width` bytes a row; empty when its bytes
/// do not hold its rows.
std::vector<std::uint8_t> coverage_of(const GlyphBitmap& bitmap, bool anti_aliased);

/// `bitmap` grown by `radius` pixels with a disc whose edge is anti-aliased:
/// a coverage bitmap (pitch = width, top row first) `ceil(radius)` pixels
/// larger on every side, placed so that it lines up with `bitmap`.
GlyphBitmap dilate_glyph(const GlyphBitmap& bitmap, bool anti_aliased, double radius);

/// Glyph `glyph_id` of `face` (pixel size set) grown by `radius` pixels: the
/// glyph as rasterize_glyph() draws it with `options`, together with a
/// stroke of that radius around its outline (round joins), as coverage. A
/// glyph without an outline (a colour or bitmap glyph) is grown by
/// dilate_glyph(). `glyph` is the glyph's own bitmap, as rasterize_glyph()
/// gave it. Returns FreeType's error, 0 on success; `stroked` is empty after
/// a failure.
FT_Error stroke_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, const GlyphBitmap& glyph,
                      double radius, GlyphBitmap& stroked);

}  // namespace lumo::shaping
