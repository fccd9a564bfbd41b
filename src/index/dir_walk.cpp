// Walks a font directory tree in the order the host's os.walk(top) visits it.
#include "index/dir_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "base/fs_paths.h"

namespace lumo::index {
namespace {

struct DirCloser {
    void operator()(DIR* directory) const noexcept { closedir(directory); }
};

struct Listing {
    std::vector<std::string> subdirectories;
    std::vector<std::string> files;
};

/// Whether an entry counts as a directory: links are followed, and an entry
/// whose type cannot be found out counts as a file.
bool entry_is_directory(const std::string& directory, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    return base::is_directory(base::join_path(directory, entry.d_name));
}

/// The directory's entries split into subdirectories and the rest; nullopt
/// when it cannot be listed to the end.
std::optional<Listing> list_directory(const std::string& directory) {
    std::unique_ptr<DIR, DirCloser> handle(opendir(directory.c_str()));
    if (!handle) return std::nullopt;
    Listing listing;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (entry == nullptr) {
            if (errno != 0) return std::nullopt;
            break;
        }
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        (entry_is_directory(directory, *entry) ? listing.subdirectories : listing.files).emplace_back(name);
    }
    return listing;
}

struct PendingDirectory {
    std::string path;
    std::vector<std::string> subdirectories;
    std::size_t next = 0;
};

}  // namespace

void walk_directory_tree(const std::string& top, const DirectoryVisitor& visit) {
    // An explicit stack instead of recursion: a very deep tree cannot exhaust
    // the native stack, and the visiting order is the same.
    std::vector<PendingDirectory> pending;
    auto enter = [&](const std::string& path) {
        std::optional<Listing> listing = list_directory(path);
        if (!listing) return;
        visit(path, listing->files);
        pending.push_back({path, std::move(listing->subdirectories), 0});
    };
    enter(top);
    while (!pending.empty()) {
        PendingDirectory& current = pending.back();
        if (current.next == current.subdirectories.size()) {
            pending.pop_back();
            continue;
        }
        std::string child = base::join_path(current.path, current.subdirectories[current.next++]);
        if (!base::is_symbolic_link(child)) enter(child);
    }
}

}  // namespace lumo::index
