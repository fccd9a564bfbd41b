// The room text effects add around a block.
#include "layout/text_effects.h"

#include <algorithm>
#include <cmath>

#include "shaping/coverage_mask.h"

namespace lumo::layout {

int outline_margin(double outline) { return outline > 0.0 ? static_cast<int>(std::ceil(outline)) : 0; }

EffectFrame frame_block(long width, long height, const TextEffects& effects) {
    const long margin = outline_margin(effects.outline);
    const long framed_width = width + 2 * margin, framed_height = height + 2 * margin;
    long left = 0, top = 0, right = framed_width, bottom = framed_height;
    if (effects.shadow) {
        const long spread = shaping::blur_reach(effects.shadow_blur);
        left = std::min(left, effects.shadow_x - spread);
        top = std::min(top, effects.shadow_y - spread);
        right = std::max(right, framed_width + effects.shadow_x + spread);
        bottom = std::max(bottom, framed_height + effects.shadow_y + spread);
    }
    EffectFrame frame;
    frame.width = right - left;
    frame.height = bottom - top;
    frame.layer_x = -left;
    frame.layer_y = -top;
    frame.text_x = frame.layer_x + margin;
    frame.text_y = frame.layer_y + margin;
    return frame;
}

}  // namespace lumo::layout
