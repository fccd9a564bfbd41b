// Drawing a text block's lines onto its surface with the effects the call asks
// for (layout/block_painter.h): the binding makes and locks the surfaces.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"
#include "layout/block_drawing.h"
#include "layout/text_effects.h"
#include "shaping/decoration_metrics.h"
#include "shaping/surface_pixels_py.h"

namespace lumo::layout {

/// The underline and strikethrough rows of the call's fallback font
/// (`fallback_path`) in `face` at `size`; the default rows when that font
/// cannot be loaded.
shaping::LineDecorations fallback_decorations(font::LumoFontObject* self, nanobind::handle size,
                                              nanobind::handle fallback_path, nanobind::handle face);

/// The block as a new surface of frame_block()'s size (no background); or
/// drawn onto `onto`, a transparent surface of that size, which it returns.
/// Runs drawn as pictures refer to `surfaces`.
nanobind::object draw_block_surface(const BlockDrawing& block, const TextEffects& effects,
                                    const shaping::RunSurfaces& surfaces, nanobind::handle onto = nanobind::handle());

}  // namespace lumo::layout
