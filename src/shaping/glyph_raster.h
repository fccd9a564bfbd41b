// Loading one glyph through FreeType at the face's pixel size, with synthetic
// bold or slant when asked, and copying its bitmap out of the glyph slot.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <vector>

namespace lumo::shaping {

/// A glyph bitmap copied out of FreeType's glyph slot, which the next load
/// overwrites. `bytes` holds |pitch| × rows bytes, or nothing when width is 0.
/// A negative pitch means the rows are stored bottom row first. A coverage
/// bitmap (one byte, or one bit, a pixel) is painted in the run's colour; a
/// colour bitmap (BGRA with straight alpha, 4 bytes a pixel: an emoji) as it is.
struct GlyphBitmap {
    std::vector<std::uint8_t> bytes;
    int width = 0;  // pixels
    int rows = 0;
    int pitch = 0;  // bytes per stored row
    int left = 0;   // pixels from the glyph origin to the bitmap's left column
    int top = 0;    // pixels from the baseline up to the bitmap's top row
    bool colour = false;
    FT_Error damage = 0;  // the glyph's data is damaged (this error): the bitmap is empty
};

struct RasterOptions {
    bool anti_aliased = true;  // 8-bit coverage; false renders 1-bit rows
    bool synthetic_bold = false;
    bool synthetic_italic = false;
    bool colour = false;  // the face has colour glyphs: load them in colour
};

/// Sets `face` to draw at `pixel_size`. A face of bitmap strikes only (colour
/// emoji fonts) cannot be scaled: it selects the smallest strike at least that
/// size, or its largest, and its glyphs are resized when drawn (see
/// rasterize_glyph's `bitmap_scale`). Returns FreeType's error, 0 on success.
FT_Error size_face(FT_Face face, int pixel_size);

/// Loads and renders glyph `glyph_id` of `face` (pixel size already set) into
/// `bitmap`. Synthetic bold and slant are applied to the unhinted outline,
/// bold first, when asked (the caller asks only when styling is on); otherwise the glyph is
/// rendered plain: unhinted 8-bit coverage, or hinted for and rendered to
/// 1-bit. With `options.colour`, a glyph the font has in colour (a bitmap
/// strike, or layered outlines) comes as a colour bitmap, resized by
/// `bitmap_scale` (a fixed-size strike drawn at another size); its other
/// glyphs render as coverage. A glyph whose bitmap would pass
/// kMaxGlyphBitmapPixels fails with FT_Err_Raster_Overflow before FreeType
/// allocates it. Returns FreeType's error, 0 on success; `bitmap` is empty
/// after a failure. Data that asks for more than a real glyph can be (an
/// outline past kMaxGlyphEms, a strike image past kMaxStrikeImageScale times
/// its strike, a block past FreeType's memory cap) fails with
/// FT_Err_Invalid_Outline or FT_Err_Array_Too_Large, which is_glyph_damage
/// accepts. Any failure while the process ran out of memory (errno ENOMEM)
/// is FT_Err_Out_Of_Memory, whatever error FreeType gave.
FT_Error rasterize_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, GlyphBitmap& bitmap,
                         double bitmap_scale = 1.0);

/// Whether `error` from rasterize_glyph means that this glyph of this font is
/// damaged: it is then drawn empty and the rest of the line is drawn. Running
/// out of memory, a bitmap past the caps at the size asked for (the size is to
/// blame, not the font) and the engine's own misuse of FreeType are not.
bool is_glyph_damage(FT_Error error) noexcept;

}  // namespace lumo::shaping
