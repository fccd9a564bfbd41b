// What drawing with one font file in one face at one size needs, decided in
// the core: the line's baseline and height, whether the emoji font draws
// through pygame's older engine, how glyphs are rasterised, and the FreeType
// face the glyphs come from.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/freetype_handles.h"
#include "shaping/drawn_style.h"
#include "shaping/glyph_raster.h"

namespace lumo::shaping {

/// The baseline row and surface height of a line whose fallback font has
/// `ascent` and `line_height` (pixels): the baseline rounded, the surface one
/// and a half line heights, cut to whole pixels.
struct LineBox {
    int baseline = 0;
    int height = 1;
};
LineBox line_box(double ascent, double line_height);

enum class RunFontKind {
    text,          // drawn natively
    colour_emoji,  // the emoji font with colour glyphs, drawn natively and placed as emoji are
    legacy_emoji,  // the emoji font without them, drawn white by pygame's older engine
};

/// How runs of a font are drawn: the emoji font by pygame's older engine
/// unless it has colour glyphs (`colour_glyphs`; nullopt: the font cannot be
/// read), every other font natively.
RunFontKind run_font_kind(bool is_emoji_font, std::optional<bool> colour_glyphs);

/// How the run's glyphs are rasterised.
RasterOptions raster_options_for(bool anti_aliased, const DrawnStyle& style, bool colour_glyphs);

/// Face `face_index` of the font file `bytes` (which must outlive the face)
/// at `pixel_size`, set to a variable font's `coordinates` (none: its default
/// instance). A null face when the font cannot be drawn at that size; running
/// out of memory is not the font's fault and throws std::bad_alloc.
base::FtFacePtr open_sized_face(std::span<const std::uint8_t> bytes, int face_index, int pixel_size,
                                std::span<const float> coordinates);

}  // namespace lumo::shaping
