// UTF-8 as the host's strict decoder judges it: no overlong forms, no encoded
// surrogates, nothing above U+10FFFF, no truncated sequences.
#pragma once

#include <cstddef>
#include <string_view>

namespace lumo::base {

/// Length (2 to 4) of the well-formed multi-byte sequence at the start of
/// `bytes`, or 0 when the bytes there do not form one. ASCII is not asked about.
std::size_t utf8_sequence_length(std::string_view bytes);

/// Whether `bytes` starts with the 3-byte encoding of a surrogate (U+D800 to
/// U+DFFF), which strict UTF-8 rejects but generalised UTF-8 carries.
bool starts_with_encoded_surrogate(std::string_view bytes);

}  // namespace lumo::base
