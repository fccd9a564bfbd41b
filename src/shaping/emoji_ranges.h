// Code-point ranges whose emoji status is fixed, whatever the emoji table says.
#pragma once

#include <cstdint>
#include <optional>

namespace lumo::shaping {

/// The fixed answer for `code`, or nullopt when the emoji table decides.
/// Circled letters and chess symbols are text; the sun-to-comet weather
/// symbols, the classic smileys and the card suits are emoji.
constexpr std::optional<bool> fixed_emoji_status(std::uint32_t code) {
    if ((code >= 0x24B6 && code <= 0x24EA) || (code >= 0x2654 && code <= 0x265F)) return false;
    if ((code >= 0x2600 && code <= 0x2604) || (code >= 0x2639 && code <= 0x263B) || (code >= 0x2660 && code <= 0x2667))
        return true;
    return std::nullopt;
}

/// ZERO WIDTH JOINER and VARIATION SELECTOR-16 glue emoji sequences together.
constexpr bool is_emoji_joiner(std::uint32_t code) { return code == 0x200D || code == 0xFE0F; }

}  // namespace lumo::shaping
