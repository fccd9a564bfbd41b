// The painting pass of a shaped run: glyph bitmaps written straight into a
// surface's 32-bit pixels through a table of precomputed colour values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "shaping/pixel_format.h"
#include "shaping/run_layout.h"

namespace lumo::shaping {

/// 32-bit pixels, row after row, each row `pitch_bytes` apart (as SDL
/// surfaces keep them). Painting refuses a target whose pitch is smaller
/// than a row of pixels.
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t pitch_bytes = 0;
};

/// Paints `glyphs` in order into `target`, each at column glyph_x + left +
/// start_x and row baseline_y - top - y_offset, every pixel rounded by adding
/// 0.5 and truncating toward zero. Anti-aliased bitmaps are read as coverage
/// bytes, 1-bit bitmaps (most significant bit leftmost) as coverage 255. Zero
/// coverage writes nothing. A pixel with no ink yet gets colors[coverage];
/// where a glyph lies over ink the run already painted (joined letters, a
/// mark on its base), the two coverages combine as one shape drawn over the
/// other, a + b - a*b/255, read back through `alpha`: an edge laid over solid
/// ink leaves it solid instead of cutting a light seam into it.
/// A colour glyph (an emoji) is painted with its own colours, never the
/// run's: straight alpha as the surface keeps it, drawn over what the run
/// already painted there.
/// Pixels outside the target are dropped; bitmaps whose bytes do not hold
/// their rows (|pitch| × rows) or columns are skipped whole.
/// The columns a painting may have written to: [left, right), a range that
/// holds every written pixel; left > right when nothing was written.
struct PaintedColumns {
    int left = 1 << 30;
    int right = -(1 << 30);
};

///
/// `target_blank` says the target holds nothing yet (every pixel 0, as in a
/// new surface): pixels are then written without being read first.
PaintedColumns paint_glyphs(const PixelTarget& target, std::span<const PlacedGlyph> glyphs, const ColorTable& colors,
                            const PixelFormat& format, bool anti_aliased, int baseline_y, double start_x,
                            bool target_blank = false);

/// Paints `rows` rows of 8-bit coverage (`width` bytes each, `stride` bytes
/// apart) into `target` with the top-left at (x, y), as paint_glyphs() writes a
/// glyph's rows: coverage 0 leaves a pixel as it is (a blank target is written
/// without being read). Rows and columns outside the target are left out.
/// False, with nothing painted, when `colors` is not one colour over an
/// 8-bit alpha channel, as every per-pixel-alpha surface's table is.
bool paint_coverage(const PixelTarget& target, const std::uint8_t* coverage, std::ptrdiff_t stride, int width,
                    int rows, int x, int y, const ColorTable& colors, const PixelFormat& format, bool blank);

/// How the rows paint_glyphs() inks sit on a surface `height` rows tall with
/// the baseline at row `baseline_y`: how many rows lower the glyphs must be
/// painted for none of their rows to land above row 0 (a row that would round
/// onto row 0 with the one below it counts as above), and how many rows lower
/// they may be painted before a row leaves the bottom (0 when one already has).
struct RowFit {
    int rows_short_above = 0;
    int rows_free_below = 1 << 30;
};
RowFit row_fit(std::span<const PlacedGlyph> glyphs, int baseline_y, int height);

/// The rows of a target `height` rows tall that paint_glyphs would write to
/// with the same glyphs, baseline and bitmap kind: [first, end), empty when
/// first >= end. Painting them into a target that holds only these rows,
/// with the baseline moved up by `first`, writes the same pixels: when first
/// is above 0, every bitmap row that is written lies at or below it, where
/// rounding does not depend on where the target starts.
struct PaintedRows {
    int first = 1 << 30;
    int end = -(1 << 30);
};

PaintedRows painted_rows(std::span<const PlacedGlyph> glyphs, bool anti_aliased, int baseline_y, int height);

/// Columns [left, right) of a target that paint_glyphs() may write with the
/// same glyphs, bitmap kind and `start_x`: where the glyphs' bitmaps land,
/// before the target's edges cut them. Empty (left >= right) when no glyph
/// has a bitmap to paint.
PaintedColumns ink_columns(std::span<const PlacedGlyph> glyphs, bool anti_aliased, double start_x);

/// The widest vector instructions the coverage painters may take. They
/// take the widest the processor has; tests lower the cap to compare each
/// width with the others (on processors without vector units it does nothing).
enum class SpanInstructions { sse2, avx2, avx512 };
void cap_span_instructions(SpanInstructions widest);

}  // namespace lumo::shaping
