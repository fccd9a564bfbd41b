// Painting a line's runs into 32-bit pixels: side by side by their advances,
// later runs blended over earlier ones where they overlap, exactly as blitting
// each run's own surface would place it.
#pragma once

#include <span>
#include <vector>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"
#include "shaping/prepared_run.h"

namespace lumo::render {

/// Where the lines placed on a surface so far have inked it: no row from
/// `rows` down, and in column c of the surface no row from `columns[c]`
/// down. With no columns kept, `rows` stands for every column.
struct InkedRows {
    long rows = 0;
    std::vector<long> columns;

    /// The row from which columns [first, end) of the surface hold no ink.
    long below_columns(long first, long end) const;
    /// Records ink in columns [first, end) down to row `end_row` (excluded).
    void ink(long first, long end, long end_row);
    /// Ink may lie anywhere: a line was drawn by other means.
    void ink_everywhere();
};

/// Paints and blends `runs` into `surface` from (x, y); false, with nothing
/// painted, when its pixel format or a picture's is one this does not blend
/// (the runs' own surfaces must then be blitted instead).
///
/// A line on a surface of its own (`clip_to_line`, a blank surface) is
/// clipped to its runs' height, as their own surfaces would clip it; a line
/// placed on a taller surface may ink any row of it, above y included.
/// There, runs reaching ink of lines placed before (`inked`) are blended over
/// it, and `inked` grows by what these runs ink.
bool paint_runs(const shaping::PixelTarget& surface, const shaping::PixelFormat& format,
                std::span<const shaping::PreparedRun> runs, shaping::RunPictures& pictures, long x, long y,
                bool clip_to_line, InkedRows& inked);

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
