// Composing a line's surface from its runs: painted natively (render/line_painter.h)
// where pygame's blits would give the same pixels, else by pygame itself.
#pragma once

#include <nanobind/nanobind.h>

#include <span>
#include <vector>

#include "render/line_painter.h"
#include "shaping/prepared_run.h"
#include "shaping/surface_pixels_py.h"

namespace lumo::render {

/// The line surface for two or more runs: runs placed side by side by their
/// advances on a transparent surface `width` x `height`, `lowered` rows below
/// their place, later runs blended over earlier ones where they overlap.
nanobind::object compose_runs(std::span<const shaping::PreparedRun> runs, const shaping::RunSurfaces& surfaces,
                              long width, long height, int lowered = 0);

/// Paints the runs side by side onto `surface` from (x, y), as compose_runs()
/// paints them onto a new line surface at (0, 0), except that their ink may
/// reach any row of `surface`, above y included (marks stacked over a line).
/// When pygame must blit the runs' own surfaces instead, they clip it.
/// Runs reaching ink of lines placed before (`inked`) are blended over it,
/// and `inked` grows by what these runs ink.
void place_runs(nanobind::handle surface, std::span<const shaping::PreparedRun> runs,
                const shaping::RunSurfaces& surfaces, long x, long y, InkedRows& inked);

/// A surface to place on a line with its top-left corner at (pen, 0).
struct PlacedSurface {
    nanobind::object surface;
    long pen = 0;
};

/// Places `pieces` onto `line` in order as line.blits() would: natively when
/// every piece is a plain pygame Surface in the line's own pixel format,
/// otherwise by pygame itself.
void place_surfaces(nanobind::handle line, const std::vector<PlacedSurface>& pieces);

/// Switches native composition off (the per-run surfaces are then blitted by
/// pygame), so tests can compare both.
void set_native_composition(bool enabled);

}  // namespace lumo::render
