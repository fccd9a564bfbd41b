// Emoji presentation of characters and sequences; see emoji_presentation.h.
#include "font/emoji_presentation.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace lumo::font {
namespace {

struct CodePointRange {
    std::uint32_t first;
    std::uint32_t last;  // inclusive
};

#include "font/emoji_presentation.inc"

constexpr char32_t kZeroWidthJoiner = 0x200D;

constexpr bool is_skin_tone_modifier(char32_t code) { return code >= 0x1F3FB && code <= 0x1F3FF; }

}  // namespace

bool has_emoji_presentation(std::uint32_t code) {
    const auto after = std::upper_bound(kEmojiPresentationRanges.begin(), kEmojiPresentationRanges.end(), code,
                                        [](std::uint32_t value, const CodePointRange& range) { return value < range.first; });
    return after != kEmojiPresentationRanges.begin() && code <= std::prev(after)->last;
}

Presentation requested_presentation(std::u32string_view text, std::size_t i) {
    if (i >= text.size()) return Presentation::by_default;
    if (i > 0 && text[i - 1] == kZeroWidthJoiner) return Presentation::emoji;
    if (i + 1 >= text.size()) return Presentation::by_default;
    const char32_t next = text[i + 1];
    if (next == kTextPresentationSelector) return Presentation::text;
    if (next == kEmojiPresentationSelector || next == kZeroWidthJoiner || is_skin_tone_modifier(next))
        return Presentation::emoji;
    return Presentation::by_default;
}

}  // namespace lumo::font
