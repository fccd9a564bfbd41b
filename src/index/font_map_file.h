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

}  // namespace lumo::index
