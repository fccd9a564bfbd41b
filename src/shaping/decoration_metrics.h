// Where underlines and strikethrough lines go: the positions and thicknesses a
// font declares (`post` underline, `OS/2` strikeout) at a pixel size.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace lumo::shaping {

/// A horizontal line's rows relative to the baseline: its top row (positive
/// below the baseline) and its thickness, at least one row.
struct DecorationRows {
    int top = 0;
    int thickness = 1;
    bool operator==(const DecorationRows&) const = default;
};

struct LineDecorations {
    DecorationRows underline;
    DecorationRows strikethrough;
};

/// The underline and strikethrough of `face` drawn at `pixel_size`: the
/// underline centred on the font's underline position (FreeType's
/// `underline_position`, the centre of the stem) with its thickness, the
/// strikethrough from the top its `OS/2` table gives with its size, each
/// scaled to the pixel size and rounded to whole rows. A font that declares
/// neither (bitmap fonts, fonts without the tables) gets a line of
/// pixel_size / 14 a tenth of the size below the baseline, and one at a
/// quarter of the size above it.
LineDecorations line_decorations(FT_Face face, int pixel_size);

}  // namespace lumo::shaping
