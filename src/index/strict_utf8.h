// UTF-8 as the host's strict decoder judges it: no overlong forms, no encoded
// surrogates, nothing above U+10FFFF, no truncated sequences.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumo::index {

/// Length (2 to 4) of the well-formed multi-byte sequence at the start of
/// `bytes`, or 0 when the bytes there do not form one. ASCII is not asked about.
std::size_t utf8_sequence_length(std::string_view bytes);

/// Whether `bytes` starts with the 3-byte encoding of a surrogate (U+D800 to
/// U+DFFF), which strict UTF-8 rejects but generalised UTF-8 carries.
bool starts_with_encoded_surrogate(std::string_view bytes);

/// The first stretch of bytes the host's decoder refuses, with its reason.
struct Utf8Fault {
    std::size_t start = 0;
    std::size_t end = 0;  // one past the last refused byte
    const char* reason = "";
};

/// Finds the first fault, grouped as the host's decoder groups it (a lead byte
/// with the continuation bytes it accepted), or nothing for valid UTF-8.
std::optional<Utf8Fault> first_utf8_fault(std::string_view bytes);

/// The host's wording, e.g. "'utf-8' codec can't decode byte 0xff in position 3:
/// invalid start byte".
std::string utf8_fault_message(std::string_view bytes, const Utf8Fault& fault);

}  // namespace lumo::index
