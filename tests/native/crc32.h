// CRC-32 as zlib computes it, so that a test can compare a digest over many
// results with one that a script computed from the host.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumo::test {

/// Continues a CRC-32 (the zlib one, zlib.crc32(bytes, crc)) over `bytes`.
inline std::uint32_t crc32(std::uint32_t crc, std::string_view bytes) {
    crc = ~crc;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

}  // namespace lumo::test
