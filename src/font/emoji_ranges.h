// Code-point ranges whose emoji status is fixed, whatever the emoji table says.
#pragma once

#include <cstdint>
#include <optional>

namespace lumo::font {

/// The regional indicator letters: a flag is a pair of them.
constexpr bool is_regional_indicator(std::uint32_t code) { return code >= 0x1F1E6 && code <= 0x1F1FF; }

/// The fixed answer for `code`, or nullopt when the emoji table decides.
/// Circled letters and chess symbols are text; the sun-to-comet weather
/// symbols, the classic smileys, the card suits and the regional indicators
/// (which the table lists only in pairs, as flags) are emoji.
constexpr std::optional<bool> fixed_emoji_status(std::uint32_t code) {
    if ((code >= 0x24B6 && code <= 0x24EA) || (code >= 0x2654 && code <= 0x265F)) return false;
    if ((code >= 0x2600 && code <= 0x2604) || (code >= 0x2639 && code <= 0x263B) || (code >= 0x2660 && code <= 0x2667) ||
        is_regional_indicator(code))
        return true;
    return std::nullopt;
}

/// Digits, '#' and '*': the bases of keycap sequences such as 1 U+FE0F U+20E3.
constexpr bool is_keycap_base(std::uint32_t code) {
    return (code >= '0' && code <= '9') || code == '#' || code == '*';
}

/// COMBINING ENCLOSING KEYCAP, which closes a keycap sequence.
inline constexpr std::uint32_t kCombiningKeycap = 0x20E3;

/// ZERO WIDTH JOINER and VARIATION SELECTOR-16 glue emoji sequences together.
constexpr bool is_emoji_joiner(std::uint32_t code) { return code == 0x200D || code == 0xFE0F; }

}  // namespace lumo::font
