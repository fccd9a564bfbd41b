// Painting a line's runs into 32-bit pixels: side by side by their advances,
// later runs blended over earlier ones where they overlap, exactly as blitting
// each run's own surface would place it.
#pragma once

#include <span>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"
#include "shaping/prepared_run.h"

namespace lumo::render {

/// Paints and blends `runs` into `surface` from (x, y); false, with nothing
/// painted, when its pixel format or a picture's is one this does not blend
/// (the runs' own surfaces must then be blitted instead).
///
/// A line on a surface of its own (`clip_to_line`, a blank surface) is
/// clipped to its runs' height, as their own surfaces would clip it; a line
/// placed on a taller surface may ink any row of it, above y included.
/// There, rows above `rows_inked` may hold ink of lines placed before, which
/// runs reaching them are blended over; it grows to the rows these runs ink.
bool paint_runs(const shaping::PixelTarget& surface, const shaping::PixelFormat& format,
                std::span<const shaping::PreparedRun> runs, shaping::RunPictures& pictures, long x, long y,
                bool clip_to_line, long& rows_inked);

/// A picture to place on a line with its top-left corner at (pen, 0).
struct PlacedPixels {
    shaping::PixelTarget pixels;
    long pen = 0;
};

/// Blends `pieces` in order onto `line`, a blank surface, as blitting them
/// one after the other would.
void place_pixels(const shaping::PixelTarget& line, const shaping::PixelFormat& format,
                  std::span<const PlacedPixels> pieces);

}  // namespace lumo::render
