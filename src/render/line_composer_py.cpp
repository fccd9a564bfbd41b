// Composing a line from its runs natively.
#include "render/line_composer_py.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <tuple>

#include "shaping/pixel_blend.h"
#include "shaping/run_painter.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

bool g_native_composition = true;

/// The 256 pixel values of a colour, kept for the colours lines keep using.
const shaping::ColorTable& cached_color_table(const shaping::PixelFormat& format, const std::array<std::uint8_t, 3>& rgb) {
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    static std::map<Key, shaping::ColorTable> tables;
    constexpr std::size_t kMaxTables = 64;
    Key key{format.masks[0], format.masks[1], format.masks[2], format.masks[3],
            (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2]};
    auto found = tables.find(key);
    if (found != tables.end()) return found->second;
    if (tables.size() >= kMaxTables) tables.clear();
    return tables.emplace(key, shaping::color_table(format, rgb[0], rgb[1], rgb[2])).first->second;
}

/// The runs' own surfaces blitted by pygame, side by side from (x, y), their
/// ink `lowered` rows below their place.
void blit_runs(nb::handle surface, const std::vector<shaping::PreparedRun>& runs, long x, long y, int lowered) {
    long pen = x;
    for (const shaping::PreparedRun& run : runs) {
        if (run.surface.is_valid())
            surface.attr("blit")(run.surface, nb::make_tuple(pen, y + lowered));
        else
            surface.attr("blit")(shaping::run_surface(run, lowered), nb::make_tuple(pen, y));
        pen += run.advance;
    }
}

bool same_masks(const shaping::PixelFormat& a, const shaping::PixelFormat& b) {
    return std::equal(std::begin(a.masks), std::end(a.masks), std::begin(b.masks));
}

/// Whether every piece can be blended here exactly as pygame would blit it:
/// a plain Surface of the line's format, with no colour key and full alpha
/// of its own (either would change how pygame blends it).
bool natively_placeable(const std::vector<PlacedSurface>& pieces, const shaping::PixelFormat& format) {
    for (const PlacedSurface& piece : pieces) {
        if (!shaping::is_plain_surface(piece.surface) ||
            !same_masks(shaping::surface_pixel_format(piece.surface), format) ||
            !shaping::blends_plainly(piece.surface))
            return false;
    }
    return true;
}

}  // namespace

void place_surfaces(nb::handle line, const std::vector<PlacedSurface>& pieces) {
    if (g_native_composition) {
        const shaping::PixelFormat& format = shaping::surface_pixel_format(line);
        if (shaping::blendable_format(format) && natively_placeable(pieces, format)) {
            shaping::LockedPixels locked(line);
            long blank_from = 0;  // the line is new: columns from here on hold nothing yet
            for (const PlacedSurface& piece : pieces) {
                shaping::LockedPixels source(piece.surface);
                const shaping::PixelTarget& from = source.target();
                const int x = static_cast<int>(std::clamp(piece.pen, -(1L << 30), 1L << 30));
                shaping::blend_pixels(locked.target(), reinterpret_cast<const std::uint32_t*>(from.pixels),
                                      from.width, from.height, from.pitch_bytes / 4, x, 0, format,
                                      static_cast<int>(std::min(blank_from, 1L << 30)));
                if (from.height > 0) blank_from = std::max(blank_from, static_cast<long>(x) + from.width);
            }
            return;
        }
    }
    nb::list placements;
    for (const PlacedSurface& piece : pieces) placements.append(nb::make_tuple(piece.surface, nb::make_tuple(piece.pen, 0)));
    line.attr("blits")(placements, false);
}

void set_native_composition(bool enabled) { g_native_composition = enabled; }

namespace {

/// Paints and blends the runs into `surface` from (x, y) natively; false
/// (nothing done) when its pixel layout, or a legacy run surface's, is one
/// this file does not blend. A line of its own surface is clipped to its runs'
/// height, as their own surfaces would clip it; a line placed on a taller
/// surface (`clip_to_line` false) may ink any row of it.
bool paint_runs_natively(nb::handle surface, const std::vector<shaping::PreparedRun>& runs, long x, long y,
                         bool clip_to_line, long& rows_inked) {
    const shaping::PixelFormat& format = shaping::surface_pixel_format(surface);
    if (!shaping::blendable_format(format)) return false;
    for (const shaping::PreparedRun& run : runs) {
        // A surface of another pixel layout is left to pygame's own blit.
        if (run.surface.is_valid() && !same_masks(shaping::surface_pixel_format(run.surface), format)) return false;
    }

    shaping::LockedPixels locked(surface);
    const shaping::PixelTarget& whole = locked.target();
    if (x < 0 || y < 0 || x >= whole.width || y >= whole.height) return true;
    // The surface right of x: the line's columns, every row.
    const shaping::PixelTarget target{whole.pixels + x * 4, whole.width - static_cast<int>(x), whole.height,
                                      whole.pitch_bytes};
    const int top = static_cast<int>(y);
    std::vector<std::uint32_t> scratch;
    // Columns at and right of this have never been written: a run landing
    // there entirely can be painted straight into the line, which is what
    // blending its surface onto untouched (all-zero) pixels amounts to.
    long untouched_from = 0;
    long pen = 0;
    long rows_inked_now = rows_inked;
    for (const shaping::PreparedRun& run : runs) {
        const int run_x = static_cast<int>(std::clamp(pen, -(1L << 30), 1L << 30));
        // Rows the run may ink, from row 0 of the surface, and its baseline there.
        const int rows = clip_to_line ? std::min(top + run.height, target.height) : target.height;
        const int baseline = top + run.baseline;
        if (run.surface.is_valid()) {
            // Drawn by the legacy engine: its surface shares the line's format.
            shaping::LockedPixels source(run.surface);
            const auto& from = source.target();
            // Columns this line has not painted, on a line of its own or in
            // rows no earlier line inked, hold nothing: the surface is copied there.
            const bool rows_blank = clip_to_line || top >= rows_inked;
            const int blank_from = rows_blank ? static_cast<int>(std::min(untouched_from, 1L << 30)) : 1 << 30;
            shaping::blend_pixels(target, reinterpret_cast<const std::uint32_t*>(from.pixels), from.width,
                                  from.height, from.pitch_bytes / 4, run_x, top, format, blank_from);
            untouched_from = std::max(untouched_from, static_cast<long>(run_x) + from.width);
            rows_inked_now = std::max(rows_inked_now, static_cast<long>(top) + from.height);
            pen += run.advance;
            continue;
        }
        // On a block, rows above `rows_inked` may hold ink of lines drawn
        // before (a descender, a mark stacked high): a run reaching them is
        // blended over it, never written over it.
        shaping::PaintedRows reach;  // asked only on a block: a line's own surface has no earlier lines
        if (!clip_to_line && run.layout) {
            reach = shaping::painted_rows(run.layout->glyphs, run.anti_aliased, baseline, rows);
            if (reach.first < reach.end) rows_inked_now = std::max(rows_inked_now, static_cast<long>(reach.end));
        }
        const bool over_earlier_lines = reach.first < reach.end && reach.first < rows_inked;
        if (run_x >= untouched_from && run_x < target.width && !over_earlier_lines) {
            if (run.layout) {
                shaping::PixelTarget window{target.pixels + static_cast<std::ptrdiff_t>(run_x) * 4,
                                            std::min(run.width, target.width - run_x), rows, target.pitch_bytes};
                // Columns this line has not painted, in rows no earlier line inked: blank.
                shaping::PaintedColumns painted =
                    shaping::paint_run(window, *run.layout, cached_color_table(format, run.rgb), format,
                                       run.anti_aliased, baseline, true);
                if (painted.left <= painted.right)
                    untouched_from = std::max(untouched_from, static_cast<long>(run_x) + painted.right);
            }
        } else {
            // Painted aside, then blended over the rows its own surface
            // would cover and any its glyphs reach beyond them: not every
            // row of a tall block it is placed on.
            if (clip_to_line && run.layout)
                reach = shaping::painted_rows(run.layout->glyphs, run.anti_aliased, baseline, rows);
            const int first_row = std::min(top, reach.first);
            const int end_row = std::max(static_cast<int>(std::min<long>(long{top} + run.height, rows)), reach.end);
            long written_right = 0;
            if (first_row < end_row) {
                const int canvas_rows = end_row - first_row;
                scratch.assign(static_cast<std::size_t>(run.width) * static_cast<std::size_t>(canvas_rows), 0u);
                shaping::PixelTarget canvas{reinterpret_cast<std::uint8_t*>(scratch.data()), run.width, canvas_rows,
                                            static_cast<std::ptrdiff_t>(run.width) * 4};
                if (run.layout) {
                    shaping::PaintedColumns painted =
                        shaping::paint_run(canvas, *run.layout, cached_color_table(format, run.rgb), format,
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
    rows_inked = rows_inked_now;
    return true;
}

}  // namespace

void place_runs(nb::handle surface, const std::vector<shaping::PreparedRun>& runs, long x, long y, long& rows_inked) {
    if (!g_native_composition || !paint_runs_natively(surface, runs, x, y, false, rows_inked))
        blit_runs(surface, runs, x, y, 0);
}

nb::object compose_runs(const std::vector<shaping::PreparedRun>& runs, long width, long height, int lowered) {
    nb::object line = shaping::new_surface(width, height);
    // Painted from row `lowered` and clipped to the line's rows below it,
    // which the lowering leaves free of ink.
    long rows_inked = 0;
    if (!g_native_composition || !paint_runs_natively(line, runs, 0, lowered, true, rows_inked))
        blit_runs(line, runs, 0, 0, lowered);
    return line;
}

}  // namespace lumo::render
