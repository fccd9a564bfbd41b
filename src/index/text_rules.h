// Text rules for font names: the host's lower-casing and white-space
// stripping (Python's str.lower() and str.strip()), applied to UTF-8 text.
//
// Text is "generalised" UTF-8: a lone surrogate (as in a file name the host
// decoded with surrogateescape) is carried as its 3-byte encoding and passes
// through unchanged. So does every byte that is not part of a well-formed
// sequence; it counts as one code point that is neither cased nor white space.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo::index {

/// Python's str.lower(): the full lower-case mapping, including the characters
/// that lower-case to several code points (U+0130) and the final-sigma rule.
std::string lower_text(std::string_view text);

/// Python's str.strip() without arguments: drops Unicode white space at both ends.
std::string_view strip_text(std::string_view text);

/// Number of code points in `text`.
std::size_t code_point_count(std::string_view text);

/// `text` without its last `count` code points (empty when it has fewer).
std::string_view drop_last_code_points(std::string_view text, std::size_t count);

/// Whether `text` ends with `suffix`, compared byte for byte.
bool ends_with(std::string_view text, std::string_view suffix);

/// Whether `text` ends with the ASCII `suffix`, ignoring ASCII case. For the
/// font extensions this equals lower-casing first: no other character
/// lower-cases to '.', 't', 'f', 'o' or 'c'.
bool ends_with_ascii_nocase(std::string_view text, std::string_view suffix);

}  // namespace lumo::index
