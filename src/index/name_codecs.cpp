// UTF-16BE, ASCII, Latin-1 and table-driven 8-bit decoding to UTF-8, strict:
// ill-formed input is refused rather than replaced.
#include "index/name_codecs.h"

namespace lumo::index::detail {
namespace {

bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void append_utf8(std::string& out, char32_t code_point) {
    if (code_point < 0x80) {
        out.push_back(static_cast<char>(code_point));
    } else if (code_point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else if (code_point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
    }
}

std::optional<std::string> decode_utf16be(std::span<const std::uint8_t> bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const std::size_t unit_count = bytes.size() / 2;
    auto unit_at = [&](std::size_t i) { return static_cast<char32_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]); };
    for (std::size_t i = 0; i < unit_count; ++i) {
        char32_t unit = unit_at(i);
        if (is_low_surrogate(unit)) return std::nullopt;
        if (is_high_surrogate(unit)) {
            if (i + 1 == unit_count || !is_low_surrogate(unit_at(i + 1))) return std::nullopt;
            char32_t low = unit_at(++i);
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(out, unit);
    }
    return out;
}

std::optional<std::string> decode_ascii(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::uint8_t byte : bytes) {
        if (byte >= 0x80) return std::nullopt;
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

std::string decode_latin1(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) append_utf8(out, byte);
    return out;
}

std::optional<std::string> decode_high_half_table(std::span<const std::uint8_t> bytes,
                                                  const char16_t (&high_half)[128]) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            continue;
        }
        char16_t code_point = high_half[byte - 0x80];
        if (code_point == 0) return std::nullopt;
        append_utf8(out, code_point);
    }
    return out;
}

}  // namespace lumo::index::detail
