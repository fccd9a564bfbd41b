// Effects a text block may be drawn with: an outline, a shadow, underlines
// and strikethrough lines; and how much room each adds around the block.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo::layout {

using Rgba = std::array<std::uint8_t, 4>;

struct TextEffects {
    double outline = 0.0;  // stroke radius in pixels; 0: none
    Rgba outline_colour{0, 0, 0, 255};
    bool shadow = false;
    int shadow_x = 0, shadow_y = 0;  // where the shadow lies from the text, in whole pixels
    Rgba shadow_colour{0, 0, 0, 128};
    double shadow_blur = 0.0;  // blur radius in pixels; 0: a hard shadow
    bool underline = false;
    bool strikethrough = false;

    bool has_outline() const { return outline > 0.0; }
    /// Whether the block is drawn in layers (shadow, outline, text) rather than as text alone.
    bool layered() const { return has_outline() || shadow; }
    bool any() const { return layered() || underline || strikethrough; }
};

/// Columns [left, right) of a line's underline and strikethrough, from the
/// line's left edge: a line drawn in pieces decorates only these.
struct DecorationSpan {
    long left = 0, right = 0;
};

/// Whole pixels an outline adds on every side: ceil(outline). A fractional
/// outline is stroked at its exact radius but moves the text by whole pixels,
/// so that glyphs keep the pixel grid they have without it.
int outline_margin(double outline);

/// Where a block `width` x `height` (as drawn without effects) lands in the
/// block drawn with `effects`, and that block's size: the outline frames it
/// by outline_margin() on every side, the shadow (the framed block moved by
/// its offset, spread by its blur's reach) widens it where it falls outside.
struct EffectFrame {
    long width = 1, height = 1;
    long text_x = 0, text_y = 0;  // the plain block's top-left corner
    long layer_x = 0, layer_y = 0;  // the framed block's top-left corner (text_x - margin)
};

EffectFrame frame_block(long width, long height, const TextEffects& effects);

/// Whether an outline or a shadow blur of `pixels` is allowed: from 0 to
/// `most` (kMaxOutlinePixels, kMaxShadowBlurPixels).
bool effect_pixels_allowed(double pixels, double most);

/// "outline must be from 0 to 64 pixels": the start of the message a value
/// refused by effect_pixels_allowed() gets.
std::string effect_pixels_message(std::string_view argument, double most);

/// A shadow offset (dx, dy) in whole pixels, rounded half away from zero,
/// into `effects`; false, leaving them unchanged, when either part lies past
/// kMaxShadowOffsetPixels or is not finite.
bool set_shadow_offset(double dx, double dy, TextEffects& effects);

/// "shadow offsets must be from -4096 to 4096 pixels".
std::string shadow_offset_message();

}  // namespace lumo::layout
