// Big-endian integers from byte buffers the SFNT reader has already read and
// sized: the caller guarantees the bytes are there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumo::base::detail {

inline std::uint16_t load_u16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

inline std::uint32_t load_u32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           std::uint32_t{bytes[at + 3]};
}

/// A four-character table or format tag as the 32-bit value stored in the file.
constexpr std::uint32_t sfnt_tag(const char (&text)[5]) {
    return std::uint32_t{static_cast<std::uint8_t>(text[0])} << 24 |
           std::uint32_t{static_cast<std::uint8_t>(text[1])} << 16 |
           std::uint32_t{static_cast<std::uint8_t>(text[2])} << 8 | std::uint32_t{static_cast<std::uint8_t>(text[3])};
}

}  // namespace lumo::base::detail
