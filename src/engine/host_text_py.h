// Conversions between the host's text objects and the core's byte strings:
// names travel as generalised UTF-8 (lone surrogates kept), file paths as the
// file system's bytes (the host's surrogateescape form on the way back).
#pragma once

#include <nanobind/nanobind.h>

#include <optional>
#include <string>
#include <string_view>

namespace lumo::engine {

/// The text's UTF-8 bytes; lone surrogates are carried as their 3-byte encoding.
std::string utf8_of(nanobind::handle text);

/// Host text from generalised UTF-8.
nanobind::str text_from_utf8(std::string_view utf8);

/// The file-system bytes of a path text (os.fsencode).
std::string path_bytes_of(nanobind::handle path);

/// The code points of a text; TypeError "Expected str, got T" for anything else.
std::u32string code_points_of(nanobind::handle text);

/// Host text of code points.
nanobind::str text_of_code_points(std::u32string_view code_points);

/// The file-system bytes of a path text that can name a file; nothing for a
/// value that is not text, text the file system cannot encode, or text with a
/// NUL byte. Running out of memory is raised, never taken for a bad name.
std::optional<std::string> file_path_of(nanobind::handle path);

/// Host text of file-system bytes (os.fsdecode).
nanobind::str text_from_path_bytes(std::string_view bytes);

/// The code point of a one-character text, with the host's ord() errors for anything else.
Py_UCS4 code_point_of(nanobind::handle ch);

/// text.lower(), as the host calls it (a subclass's own method included).
nanobind::object lowered_text(nanobind::handle text);

}  // namespace lumo::engine
