// A folder of fonts kept in step with a list of font files: one entry per
// file, a symbolic link to it, or a copy where the file system has no links.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "base/atomic_file.h"

namespace lumo::index {

enum class FolderEntryKind {
    links_where_possible,  // copies only where a symbolic link cannot be made
    copies,                // what a file system without symbolic links gets
};

enum class FolderEntryNames {
    base_names,  // each entry named as its file
    numbered,    // "000-" + the file's name, numbered in list order, so the folder's name order is the list's
};

/// Makes `folder` (created with its parents when missing) hold one entry for
/// each single-font file of `font_files` that exists, named by the file's base
/// name (the first file of a name wins), with `numbered` names prefixed by the
/// entry's place among them, zero-padded to at least three digits. An entry already right is left as it
/// is: a link to the file, or a copy of its size and modification time. A link
/// pointing elsewhere is replaced in one step. Other font entries (links and
/// files named .ttf, .otf, .ttc), such as links to removed fonts, are deleted;
/// anything else in the folder is left alone. Relative file paths are linked
/// as absolute ones. A file that cannot be read for copying is left out.
std::optional<base::FileError> refresh_font_folder(const std::string& folder, const std::vector<std::string>& font_files,
                                                   FolderEntryKind kind = FolderEntryKind::links_where_possible,
                                                   FolderEntryNames names = FolderEntryNames::base_names);

/// The names of the font entries (.ttf, .otf, .ttc in any case) directly in
/// `folder`, in the order a font object tries them: the numbered entries (a
/// name that starts with digits and a hyphen, "007-Font.ttf") first, by their
/// number, so that a folder can fix its order on every file system; then the
/// others in the order the file system lists them.
std::optional<base::FileError> list_font_folder(const std::string& folder, std::vector<std::string>& names);

/// The number a numbered entry's name starts with ("007-Font.ttf": 7); nullopt
/// for any other name, and for a number too long to be an entry's place.
std::optional<std::uint64_t> entry_number(std::string_view name);

}  // namespace lumo::index
