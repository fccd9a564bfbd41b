// Drawing a text block's lines onto its surface, with the effects the call
// asks for: shadow under outline under text, with underlines and
// strikethrough lines drawn as part of the text.
#pragma once

#include <nanobind/nanobind.h>

#include <vector>

#include "font/lumo_font_object_py.h"
#include "layout/text_effects.h"
#include "render/render_entry_py.h"
#include "shaping/decoration_metrics.h"
#include "shaping/surface_pixels_py.h"

namespace lumo::layout {

/// One line of a block and its top-left corner on the block drawn without effects.
struct PlacedLine {
    const render::PreparedLine* line = nullptr;
    long x = 0, y = 0;
    const std::vector<DecorationSpan>* decorated = nullptr;  // null: the whole line is underlined and struck
};

struct BlockDrawing {
    std::vector<PlacedLine> lines;
    long width = 1, height = 1;  // the block without effects
    int baseline = 0;            // rows from a line's top to its baseline
    shaping::LineDecorations decorations;
    Rgba colour{255, 255, 255, 255};  // the block's colour: its alpha applies to the text, its lines are drawn in it
};

/// The underline and strikethrough rows of the call's fallback font
/// (`fallback_path`) in `face` at `size`; the default rows when that font
/// cannot be loaded.
shaping::LineDecorations fallback_decorations(font::LumoFontObject* self, nanobind::handle size,
                                              nanobind::handle fallback_path, nanobind::handle face);

/// The rows a line's underline and strikethrough cover, from its top:
/// [top, bottom); empty (top == bottom) when the effects draw neither.
struct DecorationReach {
    long top = 0, bottom = 0;
};
DecorationReach decoration_reach(const BlockDrawing& block, const TextEffects& effects);

/// The block as a new surface of frame_block()'s size (no background); or
/// drawn onto `onto`, a transparent surface of that size, which it returns.
/// Runs drawn as pictures refer to `surfaces`.
nanobind::object draw_block_surface(const BlockDrawing& block, const TextEffects& effects,
                                    const shaping::RunSurfaces& surfaces, nanobind::handle onto = nanobind::handle());

}  // namespace lumo::layout
