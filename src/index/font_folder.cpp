// Keeps a folder of font links in step with a list of font files, so that a
// font object reading the folder finds exactly those files, and a font that
// was removed or moved leaves no dangling entry behind.
#include "index/font_folder.h"

#include <algorithm>
#include <cerrno>

#include "index/font_names.h"
#include "base/fs_paths.h"
#include "base/platform.h"

namespace lumo::index {
namespace {

struct WantedEntry {
    std::string name;    // base name inside the folder
    std::string source;  // absolute path of the font file
    base::platform::FileStatus source_status;
};

std::string base_name(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !base::platform::is_path_separator(path[start - 1])) --start;
    return path.substr(start);
}

bool is_single_font_name(const std::string& name) {
    return has_font_extension(name) && !has_collection_extension(name);
}

/// "007-", the entry's place in a folder of `count` entries.
std::string ordinal_prefix(std::size_t place, std::size_t count) {
    std::string digits = std::to_string(place);
    const std::size_t width = std::max<std::size_t>(3, std::to_string(count > 0 ? count - 1 : 0).size());
    return std::string(width - std::min(width, digits.size()), '0') + digits + "-";
}

/// The entries the folder should hold: existing single-font files, one per name.
std::vector<WantedEntry> wanted_entries(const std::vector<std::string>& font_files, FolderEntryNames names) {
    std::vector<WantedEntry> wanted;
    for (const std::string& file : font_files) {
        WantedEntry entry{base_name(file), base::absolute_path(file), {}};
        if (!is_single_font_name(entry.name) || file.find('\0') != std::string::npos) continue;
        if (base::platform::file_status(entry.source, true, entry.source_status) != 0 ||
            entry.source_status.type != base::platform::FileType::regular)
            continue;
        const bool name_taken = std::any_of(wanted.begin(), wanted.end(),
                                            [&](const WantedEntry& other) { return other.name == entry.name; });
        if (!name_taken) wanted.push_back(std::move(entry));
    }
    if (names == FolderEntryNames::numbered)
        for (std::size_t place = 0; place < wanted.size(); ++place)
            wanted[place].name = ordinal_prefix(place, wanted.size()) + wanted[place].name;
    return wanted;
}

/// A link to the source, or a copy with the source's size and modification time.
bool entry_is_current(const std::string& path, const WantedEntry& wanted, FolderEntryKind kind) {
    base::platform::FileStatus status;
    if (base::platform::file_status(path, false, status) != 0) return false;
    if (status.type == base::platform::FileType::symbolic_link)
        return kind == FolderEntryKind::links_where_possible && base::platform::link_target(path) == wanted.source;
    // Whole seconds: some file systems keep no finer times.
    return status.type == base::platform::FileType::regular && status.size == wanted.source_status.size &&
           status.modified_seconds == wanted.source_status.modified_seconds;
}

/// Symbolic links are refused by file systems without them (and by Windows
/// without the right to make them): such a folder gets copies.
bool links_unsupported(int error_number) {
    return error_number == EPERM || error_number == ENOTSUP || error_number == EOPNOTSUPP || error_number == ENOSYS;
}

/// Copies the source over the entry in one step and gives the copy the
/// source's modification time (in whole seconds), by which a later refresh
/// knows it is current. `copied` is
/// false when the source could not be read.
std::optional<base::FileError> copy_entry(const std::string& path, const WantedEntry& wanted, bool& copied) {
    std::string contents;
    copied = !base::read_whole_file(wanted.source, contents);
    if (!copied) return std::nullopt;
    if (auto error = base::write_file_atomically(path, contents)) return error;
    if (const int error = base::platform::set_file_times(path, wanted.source_status.modified_seconds, 0))
        return base::FileError{error, path};
    return std::nullopt;
}

/// Makes the entry current; `present` tells whether the folder holds it afterwards.
std::optional<base::FileError> make_entry(const std::string& path, const WantedEntry& wanted, FolderEntryKind kind,
                                    bool& present) {
    present = true;
    if (entry_is_current(path, wanted, kind)) return std::nullopt;
    if (kind == FolderEntryKind::links_where_possible) {
        std::optional<base::FileError> error = base::link_atomically(path, wanted.source);
        if (!error || !links_unsupported(error->error_number)) return error;
    }
    return copy_entry(path, wanted, present);
}

/// Deletes the font links and files of the folder that are not wanted.
std::optional<base::FileError> remove_unwanted(const std::string& folder, const std::vector<std::string>& kept) {
    std::vector<std::string> names;
    if (auto error = base::list_entry_names(folder, names)) return error;
    for (const std::string& name : names) {
        if (!has_font_extension(name) || std::find(kept.begin(), kept.end(), name) != kept.end()) continue;
        const std::string path = base::join_path(folder, name);
        base::platform::FileStatus status;
        if (base::platform::file_status(path, false, status) != 0 ||
            (status.type != base::platform::FileType::symbolic_link && status.type != base::platform::FileType::regular))
            continue;
        // Another process refreshing the same folder may have removed it first.
        if (const int error = base::platform::remove_file(path); error != 0 && error != ENOENT)
            return base::FileError{error, path};
    }
    return std::nullopt;
}

}  // namespace

std::optional<base::FileError> refresh_font_folder(const std::string& folder, const std::vector<std::string>& font_files,
                                                   FolderEntryKind kind, FolderEntryNames names) {
    if (auto error = base::make_directories(folder)) return error;
    std::vector<std::string> kept;
    for (const WantedEntry& wanted : wanted_entries(font_files, names)) {
        bool present = false;
        if (auto error = make_entry(base::join_path(folder, wanted.name), wanted, kind, present)) return error;
        if (present) kept.push_back(wanted.name);
    }
    return remove_unwanted(folder, kept);
}

std::optional<std::uint64_t> entry_number(std::string_view name) {
    constexpr std::size_t kMaxDigits = 18;  // fits 64 bits
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
    if (digits == 0 || digits > kMaxDigits || digits == name.size() || name[digits] != '-') return std::nullopt;
    std::uint64_t number = 0;
    for (std::size_t at = 0; at < digits; ++at) number = number * 10 + static_cast<std::uint64_t>(name[at] - '0');
    return number;
}

std::optional<base::FileError> list_font_folder(const std::string& folder, std::vector<std::string>& names) {
    if (auto error = base::list_entry_names(folder, names)) return error;
    std::erase_if(names, [](const std::string& name) { return !has_font_extension(name); });
    const auto is_numbered = [](const std::string& name) { return entry_number(name).has_value(); };
    const auto unnumbered = std::stable_partition(names.begin(), names.end(), is_numbered);
    std::sort(names.begin(), unnumbered, [](const std::string& a, const std::string& b) {
        const std::uint64_t a_number = *entry_number(a), b_number = *entry_number(b);
        return a_number != b_number ? a_number < b_number : a < b;
    });
    return std::nullopt;
}

}  // namespace lumo::index
