// Which font layer draws a character: the emoji font, the primary family,
// the fallback family, the fonts of the script folder, or the primary family
// as the last resort. The search asks whoever holds the fonts one question at
// a time, and only the questions it needs, in the order it needs them.
#pragma once

#include <cstddef>
#include <optional>

#include "font/emoji_presentation.h"

namespace lumo::font {

enum class FontLayer {
    emoji,          // the object's emoji font
    primary,        // the primary family in the face asked for
    fallback,       // the fallback family in that face
    international,  // a font of the script folder
    last_resort,    // the primary family again, whether it covers the character or not
};

struct LayerChoice {
    FontLayer layer = FontLayer::last_resort;
    std::size_t international = 0;  // which script-folder font, for FontLayer::international

    bool operator==(const LayerChoice&) const = default;
};

/// What the search asks about the fonts of one object. Every answer may cost
/// a file read or run the host's code, so the search asks each at most once
/// per layer it reaches.
class FontLayers {
public:
    virtual ~FontLayers() = default;
    virtual bool is_emoji(char32_t code) = 0;
    /// Whether the emoji font draws its glyphs in colour (a colour emoji font).
    virtual bool emoji_font_is_colour() = 0;
    virtual bool emoji_font_covers(char32_t code) = 0;
    virtual bool primary_covers(char32_t code) = 0;
    /// False without a fallback family.
    virtual bool fallback_covers(char32_t code) = 0;
    /// Whether the script-folder font at `position` covers `code`; nullopt
    /// past the last one. Positions are asked from 0 up, one after another.
    virtual std::optional<bool> international_covers(std::size_t position, char32_t code) = 0;
};

/// What the text's presentation request amounts to: only an emoji of a
/// colour emoji font can be drawn otherwise than by default.
Presentation effective_presentation(char32_t code, Presentation asked, FontLayers& layers);

/// The layer that draws `code`. An emoji the emoji font covers is drawn by
/// it; with a colour emoji font, a character Unicode draws as text by
/// default ("©", "♥") goes to a text font that covers it, unless the text
/// asks for the emoji, and U+FE0E after any emoji asks for a text font. With
/// `modern_font` the primary family comes before the fallback family.
LayerChoice choose_font_layer(char32_t code, bool modern_font, Presentation presentation, FontLayers& layers);

/// The fallback family, then the script-folder fonts in their order, then the
/// primary family as the last resort.
LayerChoice search_fallback_layers(char32_t code, FontLayers& layers);

}  // namespace lumo::font
