// Where a block's decorations reach on its lines.
#include "layout/block_drawing.h"

#include <algorithm>
#include <utility>

namespace lumo::layout {

DecorationReach decoration_reach(const BlockDrawing& block, const TextEffects& effects) {
    DecorationReach reach{1L << 30, -(1L << 30)};
    for (const auto& [wanted, rows] : {std::pair{effects.underline, block.decorations.underline},
                                       std::pair{effects.strikethrough, block.decorations.strikethrough}}) {
        if (!wanted) continue;
        reach.top = std::min(reach.top, static_cast<long>(block.baseline + rows.top));
        reach.bottom = std::max(reach.bottom, static_cast<long>(block.baseline + rows.top + rows.thickness));
    }
    if (reach.top >= reach.bottom) reach = {};
    return reach;
}

}  // namespace lumo::layout
