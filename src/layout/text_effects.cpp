// The room text effects add around a block.
#include "layout/text_effects.h"

#include <algorithm>
#include <cmath>

#include "base/limits.h"
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

bool effect_pixels_allowed(double pixels, double most) { return pixels >= 0.0 && pixels <= most; }

std::string effect_pixels_message(std::string_view argument, double most) {
    return std::string(argument) + " must be from 0 to " + std::to_string(static_cast<int>(most)) + " pixels";
}

bool set_shadow_offset(double dx, double dy, TextEffects& effects) {
    constexpr double most = kMaxShadowOffsetPixels;
    if (!(std::fabs(dx) <= most) || !(std::fabs(dy) <= most)) return false;
    effects.shadow = true;
    effects.shadow_x = static_cast<int>(std::round(dx));
    effects.shadow_y = static_cast<int>(std::round(dy));
    return true;
}

std::string shadow_offset_message() {
    return "shadow offsets must be from -" + std::to_string(kMaxShadowOffsetPixels) + " to " +
           std::to_string(kMaxShadowOffsetPixels) + " pixels";
}

}  // namespace lumo::layout
