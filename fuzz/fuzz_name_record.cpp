// Decoding one `name` record of any platform, encoding and language.
// Input: platform, encoding and language as three big-endian 16-bit numbers,
// then the record's bytes. Whatever decodes must be strict UTF-8.
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_checks.h"
#include "index/name_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    auto u16 = [data](std::size_t at) { return static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]); };
    const std::span<const std::uint8_t> bytes(data + 6, size - 6);
    const auto text = lumo::index::decode_name_record(u16(0), u16(2), u16(4), bytes);
    if (text) lumo::fuzz::require(lumo::fuzz::is_strict_utf8(*text), "a decoded name is not strict UTF-8");
    return 0;
}
