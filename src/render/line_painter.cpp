// Painting a line's runs into pixels; see line_painter.h.
#include "render/line_painter.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "shaping/pixel_blend.h"
#include "shaping/run_painter.h"

namespace lumo::render {
namespace {

using shaping::PixelTarget;
using shaping::PreparedRun;

/// Blends a run's picture at (run_x, top): its columns from `blank_from` on
/// hold nothing yet, where it is copied.
void place_picture(const PixelTarget& target, const shaping::PixelFormat& format, const shaping::RunPicture& picture,
                   int run_x, int top, int blank_from) {
    const PixelTarget& from = picture.pixels;
    shaping::blend_pixels(target, reinterpret_cast<const std::uint32_t*>(from.pixels), from.width, from.height,
                          from.pitch_bytes / 4, run_x, top, format, blank_from);
}

}  // namespace

namespace {

/// Columns [first, end) of `columns`, cut to those it has.
std::pair<std::size_t, std::size_t> kept_columns(long first, long end, const std::vector<long>& columns) {
    const long size = static_cast<long>(columns.size());
    first = std::clamp(first, 0L, size);
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(std::clamp(end, first, size))};
}

}  // namespace

long InkedRows::below_columns(long first, long end) const {
    if (columns.empty()) return rows;
    const auto [from, to] = kept_columns(first, end, columns);
    return from < to ? *std::max_element(columns.begin() + from, columns.begin() + to) : 0;
}

void InkedRows::ink(long first, long end, long end_row) {
    rows = std::max(rows, end_row);
    const auto [from, to] = kept_columns(first, end, columns);
    for (std::size_t column = from; column < to; ++column) columns[column] = std::max(columns[column], end_row);
}

void InkedRows::ink_everywhere() {
    rows = std::numeric_limits<long>::max();
    columns.clear();
}

bool paint_runs(const PixelTarget& whole, const shaping::PixelFormat& format, std::span<const PreparedRun> runs,
                shaping::RunPictures& pictures, long x, long y, bool clip_to_line, InkedRows& inked) {
    if (!shaping::blendable_format(format)) return false;
    for (const PreparedRun& run : runs) {
        // A picture of another pixel layout is left to the host's own blit.
        if (run.has_picture() &&
            !shaping::same_masks(pictures.picture(static_cast<std::size_t>(run.picture)).format, format))
            return false;
    }
    if (x < 0 || y < 0 || x >= whole.width || y >= whole.height) return true;
    // The surface right of x: the line's columns, every row.
    const PixelTarget target{whole.pixels + x * 4, whole.width - static_cast<int>(x), whole.height,
                             whole.pitch_bytes};
    const int top = static_cast<int>(y);
    std::vector<std::uint32_t> scratch;
    // Columns at and right of this have never been written: a run landing
    // there entirely can be painted straight into the line, which is what
    // blending its surface onto untouched (all-zero) pixels amounts to.
    long untouched_from = 0;
    long pen = 0;
    // A block's lines are told apart column by column: the pieces of one line
    // moved up or down by different amounts (a wave through a dialogue line)
    // share rows but not columns, and each is painted straight where nothing
    // was inked. The ink of this line is recorded once it is all placed:
    // within a line, `untouched_from` tells where its runs meet.
    if (!clip_to_line && inked.columns.empty() && inked.rows == 0) inked.columns.assign(whole.width, 0);
    struct InkedSpan {
        long first, end, end_row;
    };
    std::vector<InkedSpan> inked_now;
    for (const PreparedRun& run : runs) {
        const int run_x = static_cast<int>(std::clamp(pen, -(1L << 30), 1L << 30));
        // Rows the run may ink, from row 0 of the surface, and its baseline there.
        const int rows = clip_to_line ? std::min(top + run.height, target.height) : target.height;
        const int baseline = top + run.baseline;
        if (run.has_picture()) {
            const shaping::RunPicture& picture = pictures.picture(static_cast<std::size_t>(run.picture));
            // Columns this line has not painted, on a line of its own or in
            // rows no earlier line inked, hold nothing: the picture is copied there.
            const long first_column = x + run_x, end_column = first_column + picture.pixels.width;
            const bool rows_blank = clip_to_line || top >= inked.below_columns(first_column, end_column);
            const int blank_from = rows_blank ? static_cast<int>(std::min(untouched_from, 1L << 30)) : 1 << 30;
            place_picture(target, format, picture, run_x, top, blank_from);
            untouched_from = std::max(untouched_from, static_cast<long>(run_x) + picture.pixels.width);
            inked_now.push_back({first_column, end_column, static_cast<long>(top) + picture.pixels.height});
            pen += run.advance;
            continue;
        }
        // On a block, lines drawn before may have inked the rows a run
        // reaches (a descender, a mark stacked high): a run reaching their
        // ink is blended over it, never written over it.
        shaping::PaintedRows reach;  // asked only on a block: a line's own surface has no earlier lines
        bool over_earlier_lines = false;
        // Painting a blank target writes whole rows of the run's surface,
        // zeros where it has no ink: only where no earlier line inked any of
        // its columns in those rows. Elsewhere only the glyphs' pixels are written.
        bool surface_blank = true;
        if (!clip_to_line && run.layout) {
            reach = shaping::run_painted_rows(*run.layout, run.anti_aliased, baseline, rows);
            if (reach.first < reach.end) {
                const shaping::PaintedColumns reach_across = shaping::run_ink_columns(*run.layout, run.anti_aliased);
                const long first_column = x + run_x + std::max(reach_across.left, 0);
                const long end_column = x + run_x + std::min(reach_across.right, run.width);
                over_earlier_lines = reach.first < inked.below_columns(first_column, end_column);
                surface_blank = reach.first >= inked.below_columns(x + run_x, x + run_x + run.width);
                inked_now.push_back({first_column, end_column, reach.end});
            }
        }
        if (run_x >= untouched_from && run_x < target.width && !over_earlier_lines) {
            if (run.layout) {
                PixelTarget window{target.pixels + static_cast<std::ptrdiff_t>(run_x) * 4,
                                   std::min(run.width, target.width - run_x), rows, target.pitch_bytes};
                // Columns this line has not painted, in rows no earlier line inked there.
                shaping::PaintedColumns painted =
                    shaping::paint_run(window, *run.layout, shaping::kept_color_table(format, run.rgb), format,
                                       run.anti_aliased, baseline, surface_blank);
                if (painted.left <= painted.right)
                    untouched_from = std::max(untouched_from, static_cast<long>(run_x) + painted.right);
            }
        } else {
            // Painted aside, then blended over the rows its own surface
            // would cover and any its glyphs reach beyond them: not every
            // row of a tall block it is placed on.
            if (clip_to_line && run.layout)
                reach = shaping::run_painted_rows(*run.layout, run.anti_aliased, baseline, rows);
            const int first_row = std::min(top, reach.first);
            const int end_row = std::max(static_cast<int>(std::min<long>(long{top} + run.height, rows)), reach.end);
            long written_right = 0;
            if (first_row < end_row) {
                const int canvas_rows = end_row - first_row;
                scratch.assign(static_cast<std::size_t>(run.width) * static_cast<std::size_t>(canvas_rows), 0u);
                PixelTarget canvas{reinterpret_cast<std::uint8_t*>(scratch.data()), run.width, canvas_rows,
                                   static_cast<std::ptrdiff_t>(run.width) * 4};
                if (run.layout) {
                    shaping::PaintedColumns painted =
                        shaping::paint_run(canvas, *run.layout, shaping::kept_color_table(format, run.rgb), format,
                                           run.anti_aliased, baseline - first_row, true);
                    if (painted.left <= painted.right) written_right = painted.right;
                }
                shaping::blend_pixels(target, scratch.data(), run.width, canvas_rows, run.width, run_x, first_row,
                                      format);
            }
            untouched_from = std::max(untouched_from, static_cast<long>(run_x) + written_right);
        }
        pen += run.advance;
    }
    for (const InkedSpan& span : inked_now) inked.ink(span.first, span.end, span.end_row);
    return true;
}

void place_pixels(const PixelTarget& line, const shaping::PixelFormat& format, std::span<const PlacedPixels> pieces) {
    long blank_from = 0;  // the line is new: columns from here on hold nothing yet
    for (const PlacedPixels& piece : pieces) {
        const PixelTarget& from = piece.pixels;
        const int x = static_cast<int>(std::clamp(piece.pen, -(1L << 30), 1L << 30));
        shaping::blend_pixels(line, reinterpret_cast<const std::uint32_t*>(from.pixels), from.width, from.height,
                              from.pitch_bytes / 4, x, 0, format, static_cast<int>(std::min(blank_from, 1L << 30)));
        if (from.height > 0) blank_from = std::max(blank_from, static_cast<long>(x) + from.width);
    }
}

}  // namespace lumo::render
