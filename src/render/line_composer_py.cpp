// Composing a line's surface from its runs.
#include "render/line_composer_py.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "render/line_painter.h"
#include "shaping/pixel_blend.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

bool g_native_composition = true;

/// The runs' own surfaces blitted by pygame, side by side from (x, y), their
/// ink `lowered` rows below their place.
void blit_runs(nb::handle surface, std::span<const shaping::PreparedRun> runs, const shaping::RunSurfaces& surfaces,
               long x, long y, int lowered) {
    long pen = x;
    for (const shaping::PreparedRun& run : runs) {
        if (run.has_picture())
            surface.attr("blit")(surfaces[static_cast<std::size_t>(run.picture)], nb::make_tuple(pen, y + lowered));
        else
            surface.attr("blit")(shaping::run_surface(run, surfaces, lowered), nb::make_tuple(pen, y));
        pen += run.advance;
    }
}

/// Whether every piece can be blended here exactly as pygame would blit it:
/// a plain Surface of the line's format, with no colour key and full alpha
/// of its own (either would change how pygame blends it).
bool natively_placeable(const std::vector<PlacedSurface>& pieces, const shaping::PixelFormat& format) {
    for (const PlacedSurface& piece : pieces) {
        if (!shaping::is_plain_surface(piece.surface) ||
            !shaping::same_masks(shaping::surface_pixel_format(piece.surface), format) ||
            !shaping::blends_plainly(piece.surface))
            return false;
    }
    return true;
}

/// The runs painted natively onto `surface`; false, with nothing painted,
/// when they must be blitted by pygame instead.
bool paint_natively(nb::handle surface, std::span<const shaping::PreparedRun> runs,
                    const shaping::RunSurfaces& surfaces, long x, long y, bool clip_to_line, InkedRows& inked) {
    if (!g_native_composition) return false;
    const shaping::PixelFormat& format = shaping::surface_pixel_format(surface);
    if (!shaping::blendable_format(format)) return false;
    shaping::LockedPixels locked(surface);
    shaping::LockedRunSurfaces pictures(surfaces);
    return paint_runs(locked.target(), format, runs, pictures, x, y, clip_to_line, inked);
}

}  // namespace

void place_surfaces(nb::handle line, const std::vector<PlacedSurface>& pieces) {
    if (g_native_composition) {
        const shaping::PixelFormat& format = shaping::surface_pixel_format(line);
        if (shaping::blendable_format(format) && natively_placeable(pieces, format)) {
            shaping::LockedPixels locked(line);
            std::vector<std::unique_ptr<shaping::LockedPixels>> sources;
            std::vector<PlacedPixels> placed;
            sources.reserve(pieces.size());
            placed.reserve(pieces.size());
            for (const PlacedSurface& piece : pieces) {
                sources.push_back(std::make_unique<shaping::LockedPixels>(piece.surface));
                placed.push_back({sources.back()->target(), piece.pen});
            }
            place_pixels(locked.target(), format, placed);
            return;
        }
    }
    nb::list placements;
    for (const PlacedSurface& piece : pieces) placements.append(nb::make_tuple(piece.surface, nb::make_tuple(piece.pen, 0)));
    line.attr("blits")(placements, false);
}

void set_native_composition(bool enabled) { g_native_composition = enabled; }

void place_runs(nb::handle surface, std::span<const shaping::PreparedRun> runs, const shaping::RunSurfaces& surfaces,
                long x, long y, InkedRows& inked) {
    if (paint_natively(surface, runs, surfaces, x, y, false, inked)) return;
    blit_runs(surface, runs, surfaces, x, y, 0);
    inked.ink_everywhere();  // where pygame drew, lines painted later blend over anything
}

nb::object compose_runs(std::span<const shaping::PreparedRun> runs, const shaping::RunSurfaces& surfaces, long width,
                        long height, int lowered) {
    nb::object line = shaping::new_surface(width, height);
    // Painted from row `lowered` and clipped to the line's rows below it,
    // which the lowering leaves free of ink.
    InkedRows inked;
    if (!paint_natively(line, runs, surfaces, 0, lowered, true, inked)) blit_runs(line, runs, surfaces, 0, 0, lowered);
    return line;
}

}  // namespace lumo::render
