// What the fuzz targets assert about the engine's results: a failed check
// aborts, so libFuzzer keeps the input as a crash like any sanitizer report.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumo::fuzz {

inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

/// Strict UTF-8, written here from the definition rather than borrowed from the
/// engine, so a fault in the engine's own validator cannot hide one elsewhere.
inline bool is_strict_utf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        std::size_t length = 0;
        unsigned code = 0;
        if (lead < 0x80) { at += 1; continue; }
        if (lead >= 0xC2 && lead <= 0xDF) { length = 2; code = lead & 0x1F; }
        else if (lead >= 0xE0 && lead <= 0xEF) { length = 3; code = lead & 0x0F; }
        else if (lead >= 0xF0 && lead <= 0xF4) { length = 4; code = lead & 0x07; }
        else return false;
        if (at + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            const unsigned char next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        const unsigned lowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        at += length;
    }
    return true;
}

}  // namespace lumo::fuzz
