// Resizing colour glyph bitmaps: emoji fonts store their glyphs as images at
// one or a few sizes, and a line needs them at its own.
#pragma once

#include "shaping/glyph_raster.h"

namespace lumo::shaping {

/// `source` (a colour bitmap: premultiplied BGRA, 4 bytes a pixel) scaled by
/// `scale`: shrunk with an area average (each new pixel the mean of the source
/// area it covers), enlarged with bilinear interpolation, both on premultiplied
/// values so that edges do not darken. The bearings scale with it, rounded to
/// whole pixels. A bitmap that would pass kMaxGlyphBitmapPixels comes back empty.
GlyphBitmap scale_colour_bitmap(const GlyphBitmap& source, double scale);

/// Turns a colour bitmap's premultiplied pixels into straight alpha, the form
/// surfaces keep: done once when a glyph is rasterised, not each time it is painted.
void to_straight_alpha(GlyphBitmap& bitmap);

}  // namespace lumo::shaping
