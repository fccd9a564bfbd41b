// The search through the font layers; see fallback_layers.h.
#include "font/fallback_layers.h"

namespace lumo::font {
namespace {

/// The first text font that covers `code`: the primary family (when
/// `primary_first`), the fallback family, then the script-folder fonts.
std::optional<LayerChoice> covering_text_font(char32_t code, bool primary_first, FontLayers& layers) {
    if (primary_first && layers.primary_covers(code)) return LayerChoice{FontLayer::primary};
    if (layers.fallback_covers(code)) return LayerChoice{FontLayer::fallback};
    for (std::size_t position = 0;; ++position) {
        const std::optional<bool> covered = layers.international_covers(position, code);
        if (!covered) return std::nullopt;
        if (*covered) return LayerChoice{FontLayer::international, position};
    }
}

}  // namespace

Presentation effective_presentation(char32_t code, Presentation asked, FontLayers& layers) {
    if (asked == Presentation::by_default) return asked;
    return layers.is_emoji(code) && layers.emoji_font_is_colour() ? asked : Presentation::by_default;
}

LayerChoice choose_font_layer(char32_t code, bool modern_font, Presentation presentation, FontLayers& layers) {
    if (layers.is_emoji(code) && layers.emoji_font_covers(code)) {
        const bool wants_text = presentation == Presentation::text ||
                                (presentation == Presentation::by_default && !has_emoji_presentation(code));
        // A symbol a text font has is drawn as text, not as a colourful picture.
        if (wants_text && layers.emoji_font_is_colour()) {
            if (std::optional<LayerChoice> text_font = covering_text_font(code, modern_font, layers)) return *text_font;
        }
        return {FontLayer::emoji};
    }
    if (modern_font && layers.primary_covers(code)) return {FontLayer::primary};
    return search_fallback_layers(code, layers);
}

LayerChoice search_fallback_layers(char32_t code, FontLayers& layers) {
    return covering_text_font(code, false, layers).value_or(LayerChoice{FontLayer::last_resort});
}

}  // namespace lumo::font
