// How an emoji character asks to be drawn: as a colourful emoji or as a text
// symbol. Unicode gives each character a default (its Emoji_Presentation
// property: "©", "♥", "™" are text, "😀", "⌚" are emoji), which a variation
// selector after it overrides: U+FE0E asks for text, U+FE0F for emoji.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumo::font {

/// Whether Unicode draws `code` as an emoji when nothing asks otherwise.
bool has_emoji_presentation(std::uint32_t code);

enum class Presentation {
    by_default,  // nothing in the text asks: the character's own default
    text,        // U+FE0E follows
    emoji,       // U+FE0F follows, or the character is part of an emoji sequence
};

inline constexpr char32_t kTextPresentationSelector = 0xFE0E;
inline constexpr char32_t kEmojiPresentationSelector = 0xFE0F;

/// What `text` asks of the character at `i`: emoji when U+FE0F, a skin-tone
/// modifier or a zero width joiner follows it or a joiner precedes it (one
/// emoji of a sequence draws the whole sequence); text when U+FE0E follows it.
Presentation requested_presentation(std::u32string_view text, std::size_t i);

}  // namespace lumo::font
