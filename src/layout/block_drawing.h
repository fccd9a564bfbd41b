// A text block ready to draw: its prepared lines where they stand, its line
// metrics and colour, and the rows its underlines and strikethrough lines take.
#pragma once

#include <vector>

#include "layout/text_effects.h"
#include "render/prepared_line.h"
#include "shaping/decoration_metrics.h"

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

/// The rows a line's underline and strikethrough cover, from its top:
/// [top, bottom); empty (top == bottom) when the effects draw neither.
struct DecorationReach {
    long top = 0, bottom = 0;
};
DecorationReach decoration_reach(const BlockDrawing& block, const TextEffects& effects);

}  // namespace lumo::layout
