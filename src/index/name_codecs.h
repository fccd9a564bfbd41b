// The byte-to-UTF-8 decoders behind name-record decoding: UTF-16BE, ASCII,
// Latin-1 and the 8-bit encodings whose upper half comes from a table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumo::index::detail {

/// Appends one Unicode scalar value as UTF-8.
void append_utf8(std::string& out, char32_t code_point);

/// UTF-16 big-endian; nullopt for an odd length or a surrogate without its partner.
std::optional<std::string> decode_utf16be(std::span<const std::uint8_t> bytes);

/// 7-bit ASCII; nullopt when a byte is 0x80 or above.
std::optional<std::string> decode_ascii(std::span<const std::uint8_t> bytes);

/// ISO 8859-1: every byte is the code point of the same value.
std::string decode_latin1(std::span<const std::uint8_t> bytes);

/// An ASCII-compatible 8-bit encoding whose bytes 0x80-0xFF map through
/// `high_half` (0 marks a byte the encoding leaves undefined: nullopt).
std::optional<std::string> decode_high_half_table(std::span<const std::uint8_t> bytes,
                                                  const char16_t (&high_half)[128]);

}  // namespace lumo::index::detail
