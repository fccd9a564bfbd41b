// Strict UTF-8 checks, grouping faults the way the host's decoder does so that
// surrogateescape output comes out the same.
#include "base/strict_utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace lumo::base {
namespace {

enum class SequenceKind { valid, invalid_start, invalid_continuation, truncated };

struct SequenceCheck {
    SequenceKind kind;
    std::size_t length;  // bytes of the sequence, or of the refused group
};

/// Judges the sequence whose lead byte (>= 0x80) starts `bytes`. A refused
/// group is the lead byte plus the continuation bytes accepted before the
/// first wrong one; a sequence cut by the end of the text takes all that is left.
SequenceCheck check_sequence(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0xC2 || lead > 0xF4) return {SequenceKind::invalid_start, 1};
    const std::size_t needed = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    for (std::size_t i = 1; i < needed; ++i) {
        if (i >= bytes.size()) return {SequenceKind::truncated, bytes.size()};
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < low || byte > high) return {SequenceKind::invalid_continuation, i};
        low = 0x80;
        high = 0xBF;
    }
    return {SequenceKind::valid, needed};
}



}  // namespace

std::size_t utf8_sequence_length(std::string_view bytes) {
    if (bytes.empty()) return 0;
    const SequenceCheck check = check_sequence(bytes);
    return check.kind == SequenceKind::valid ? check.length : 0;
}

bool starts_with_encoded_surrogate(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xED &&
           static_cast<unsigned char>(bytes[1]) >= 0xA0 && static_cast<unsigned char>(bytes[1]) <= 0xBF &&
           static_cast<unsigned char>(bytes[2]) >= 0x80 && static_cast<unsigned char>(bytes[2]) <= 0xBF;
}

}  // namespace lumo::base
