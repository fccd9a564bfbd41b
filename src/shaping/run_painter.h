// Painting a laid-out run into pixels: its glyphs one by one the first time,
// and from then on, where it gives the very same pixels, from a strip of
// coverage the run's glyphs were painted into once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"
#include "shaping/run_layout.h"

namespace lumo::shaping {

/// A run's glyphs painted as paint_glyphs() paints them, kept as coverage:
/// rows of `width` bytes from `first_row` (relative to the baseline) down.
struct CoverageStrip {
    std::vector<std::uint8_t> coverage;
    int width = 0, rows = 0;
    int first_row = 0;         // the strip's top row, as an offset from the baseline row
    int lowest_baseline = 0;   // baseline rows at least this paint every glyph row in the same rounding
    PaintedColumns painted;    // the columns its painting wrote
};


/// The strip of `layout`'s glyphs; null for a run with colour glyphs or
/// nothing to paint.
std::shared_ptr<const CoverageStrip> make_coverage_strip(const RunLayout& layout, bool anti_aliased);

/// Paints `layout` as paint_glyphs() would (same pixels, same columns
/// reported), with the baseline at row `baseline_y` of `target`. A run
/// painted for the second time gets a strip made, if its strip is small; it
/// paints blank targets.
PaintedColumns paint_run(const PixelTarget& target, const RunLayout& layout, const ColorTable& colors,
                         const PixelFormat& format, bool anti_aliased, int baseline_y, bool target_blank);

/// The rows of a `height`-row target that `layout`'s glyphs ink with the
/// baseline at row `baseline_y`, as painted_rows() finds them; a run with a
/// strip whose rows all land inside the target answers from the strip
/// without visiting its glyphs.
PaintedRows run_painted_rows(const RunLayout& layout, bool anti_aliased, int baseline_y, int height);

/// The columns of the run's surface that painting `layout` may ink, as
/// ink_columns() gives them; a run with a strip answers with the columns its
/// strip's painting wrote, without visiting its glyphs.
PaintedColumns run_ink_columns(const RunLayout& layout, bool anti_aliased);

}  // namespace lumo::shaping
