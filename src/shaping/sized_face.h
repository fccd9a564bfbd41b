// A FreeType face at one pixel size with the caches of what was drawn from it:
// what laying out, painting and outlining a run need of its font.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

#include "base/freetype_handles.h"
#include "shaping/glyph_cache.h"
#include "shaping/run_layout_cache.h"

namespace lumo::shaping {

/// The face reads the font file's bytes from memory that `source` keeps
/// alive (its owner decides what that is: the font object's bytes); runs
/// drawn from the face share it, so a run kept after its font is dropped
/// can still be outlined.
struct SizedFace {
    std::shared_ptr<const void> source;  // declared first: released after the face that reads it
    base::FtFacePtr face;
    int pixel_size = 0;
    GlyphBitmapCache glyphs;
    StrokedGlyphCache strokes;  // glyphs grown by an outline's radius
    RunLayoutCache layouts;
};

}  // namespace lumo::shaping
