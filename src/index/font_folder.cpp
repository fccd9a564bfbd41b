// Keeps a folder of font links in step with a list of font files, so that a
// font object reading the folder finds exactly those files, and a font that
// was removed or moved leaves no dangling entry behind.
#include "index/font_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "index/font_names.h"
#include "base/fs_paths.h"

namespace lumo::index {
namespace {

struct WantedEntry {
    std::string name;    // base name inside the folder
    std::string source;  // absolute path of the font file
    struct stat source_info {};
};

std::string base_name(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool is_single_font_name(const std::string& name) {
    return has_font_extension(name) && !has_collection_extension(name);
}

/// The entries the folder should hold: existing single-font files, one per name.
std::vector<WantedEntry> wanted_entries(const std::vector<std::string>& font_files) {
    std::vector<WantedEntry> wanted;
    for (const std::string& file : font_files) {
        WantedEntry entry{base_name(file), base::absolute_path(file)};
        if (!is_single_font_name(entry.name) || file.find('\0') != std::string::npos) continue;
        if (::stat(entry.source.c_str(), &entry.source_info) != 0 || !S_ISREG(entry.source_info.st_mode)) continue;
        const bool name_taken = std::any_of(wanted.begin(), wanted.end(),
                                            [&](const WantedEntry& other) { return other.name == entry.name; });
        if (!name_taken) wanted.push_back(std::move(entry));
    }
    return wanted;
}

std::optional<std::string> link_target(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

/// A link to the source, or a copy with the source's size and modification time.
bool entry_is_current(const std::string& path, const WantedEntry& wanted, FolderEntryKind kind) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    if (S_ISLNK(info.st_mode)) return kind == FolderEntryKind::links_where_possible && link_target(path) == wanted.source;
    // Whole seconds: some file systems keep no finer times.
    return S_ISREG(info.st_mode) && info.st_size == wanted.source_info.st_size &&
           info.st_mtime == wanted.source_info.st_mtime;
}

/// Symbolic links are refused by file systems without them (and by Windows
/// without the right to make them): such a folder gets copies.
bool links_unsupported(int error_number) {
    return error_number == EPERM || error_number == ENOTSUP || error_number == EOPNOTSUPP || error_number == ENOSYS;
}

/// Copies the source over the entry in one step and gives the copy the
/// source's times, by which a later refresh knows it is current. `copied` is
/// false when the source could not be read.
std::optional<base::FileError> copy_entry(const std::string& path, const WantedEntry& wanted, bool& copied) {
    std::string contents;
    copied = !base::read_whole_file(wanted.source, contents);
    if (!copied) return std::nullopt;
    if (auto error = base::write_file_atomically(path, contents)) return error;
    const timespec times[2] = {{wanted.source_info.st_atime, 0}, {wanted.source_info.st_mtime, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) return base::FileError{errno, path};
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
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !(S_ISLNK(info.st_mode) || S_ISREG(info.st_mode))) continue;
        // Another process refreshing the same folder may have removed it first.
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return base::FileError{errno, path};
    }
    return std::nullopt;
}

}  // namespace

std::optional<base::FileError> refresh_font_folder(const std::string& folder, const std::vector<std::string>& font_files,
                                             FolderEntryKind kind) {
    if (auto error = base::make_directories(folder)) return error;
    std::vector<std::string> kept;
    for (const WantedEntry& wanted : wanted_entries(font_files)) {
        bool present = false;
        if (auto error = make_entry(base::join_path(folder, wanted.name), wanted, kind, present)) return error;
        if (present) kept.push_back(wanted.name);
    }
    return remove_unwanted(folder, kept);
}

}  // namespace lumo::index
