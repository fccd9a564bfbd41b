// The index cache file: the font map and its fingerprint as JSON text, laid
// out with a two-blank indent, one member or element per line, a blank after
// each colon, non-ASCII characters written as themselves and no final newline.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "index/font_map.h"

namespace lumo::index {

/// The cache file's text: {"_timestamp": ..., "paths": {...}, "names": {...}},
/// lines ending in '\n'.
/// Paths are file-system bytes: bytes that are not valid UTF-8 are written as
/// \udcXX escapes (the host's surrogateescape form), so the file stays valid
/// UTF-8 and reads back to the same text.
std::string font_map_json(std::string_view timestamp, const FontMap& map);

/// Appends `utf8` as a JSON string literal, escaped as the host's json module
/// escapes with non-ASCII kept (quote, backslash, control characters).
void append_json_string(std::string& out, std::string_view utf8);

/// Appends file-system bytes as a JSON string literal, invalid UTF-8 bytes as \udcXX.
void append_json_path(std::string& out, std::string_view path_bytes);

// Reading the file back: what the host's json module read is checked against
// what the file above holds, so a file damaged in place is rebuilt.

/// Whether a face number read back is one a scan writes: -1 (a single-font
/// file) to kMaxCollectionFaces.
bool is_written_face_index(long long number);

/// The refusals of a damaged file, given the repr()s of what is wrong; each
/// repr is cut short for a one-line message (shortened_repr).
std::string bad_path_record_message(std::string_view name_repr, std::string_view record_repr);
std::string bad_names_message(std::string_view names_repr);
std::string bad_alias_message(std::string_view alias_repr, std::string_view full_name_repr);

/// A repr() cut to its first 60 bytes and "..." when it is longer.
std::string shortened_repr(std::string_view repr);

}  // namespace lumo::index
