// Walking "generalised" UTF-8 one unit at a time: a code point, a lone
// surrogate in its 3-byte form, or a single byte that is not UTF-8 at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo::base {

/// One unit of text. An ill-formed byte (stray continuation, overlong or
/// truncated sequence, byte F5..FF) is a unit of its own with `well_formed`
/// false, so names from damaged fonts pass through rather than fail.
struct Utf8Unit {
    char32_t code_point = 0;  // the byte value for an ill-formed unit
    std::uint8_t length = 1;  // bytes taken from the text, 1 to 4
    bool well_formed = true;
};

namespace detail {
inline bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
}  // namespace detail

/// The unit that starts at `offset`, which must be inside `text`. Never reads
/// past the end. Surrogates (ED A0..BF xx) are accepted as the host writes them.
inline Utf8Unit next_unit(std::string_view text, std::size_t offset) {
    const auto byte_at = [&](std::size_t i) { return static_cast<unsigned char>(text[offset + i]); };
    const unsigned char lead = byte_at(0);
    if (lead < 0x80) return {lead, 1, true};

    const Utf8Unit ill_formed{lead, 1, false};
    std::uint8_t length = 0;
    char32_t code_point = 0;
    unsigned char second_min = 0x80, second_max = 0xBF;  // excludes overlong and out-of-range forms
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code_point = lead & 0x0F;
        if (lead == 0xE0) second_min = 0xA0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code_point = lead & 0x07;
        if (lead == 0xF0) second_min = 0x90;
        if (lead == 0xF4) second_max = 0x8F;
    } else {
        return ill_formed;
    }
    if (text.size() - offset < length) return ill_formed;
    const unsigned char second = byte_at(1);
    if (second < second_min || second > second_max) return ill_formed;
    for (std::uint8_t i = 1; i < length; ++i) {
        if (!detail::is_continuation(byte_at(i))) return ill_formed;
        code_point = (code_point << 6) | (byte_at(i) & 0x3F);
    }
    return {code_point, length, true};
}

/// The unit that ends at `end` (0 < `end` <= size), the same unit a forward
/// walk meets there: a byte that is not a continuation byte always starts a
/// unit, so the last such byte within four bytes decides.
inline Utf8Unit previous_unit(std::string_view text, std::size_t end) {
    const std::size_t farthest = end < 4 ? end : 4;
    for (std::size_t back = 1; back <= farthest; ++back) {
        if (detail::is_continuation(static_cast<unsigned char>(text[end - back]))) continue;
        const Utf8Unit unit = next_unit(text.substr(0, end), end - back);
        if (unit.length == back) return unit;
        break;
    }
    return {static_cast<unsigned char>(text[end - 1]), 1, false};
}

/// Appends `code_point` in its (generalised) UTF-8 form.
inline void append_code_point(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

}  // namespace lumo::base
