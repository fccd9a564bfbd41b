// Font names as the index keys them: family roots, aliases, font-file names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo::index {

/// The family a face name belongs to: the name trimmed, then at most one
/// trailing style suffix removed (the first of the style suffix table that the
/// lower-cased name ends with, cut by its length from the trimmed name) and
/// trimmed again. Capitalisation is kept.
std::string family_root(std::string_view face_name);

/// The shorter alias under which a face may be looked up. A face alone in its
/// family (`family_size` == 1) loses any style suffix; in a larger family (or
/// an empty one) only a regular suffix (" regular", "-regular") is removed.
std::string normalized_font_name(std::string_view face_name, std::size_t family_size);

/// The face word a name carries: the first style suffix the lower-cased,
/// trimmed name ends with, without its blank or hyphen; "regular" when none.
std::string face_word_of(std::string_view name);

/// Whether a file name ends, in any case, with an extension the index reads.
bool has_font_extension(std::string_view file_name);

/// Whether a file name ends, in any case, with the collection extension ".ttc".
bool has_collection_extension(std::string_view file_name);

struct FontPathGuess {
    bool is_path = false;
    int face_index = -1;  // 0 for a collection named by path: it stands for its first face
};

/// Whether a font argument names a file: its lower-cased, trimmed text ends in
/// a font extension, or the text contains `platform_separator` or '/'.
FontPathGuess guess_font_path(std::string_view text, char platform_separator);

}  // namespace lumo::index
