// Walks a font directory tree in the order the host's os.walk(top) visits it.
#include "index/dir_walk.h"

#include <optional>

#include "base/fs_paths.h"
#include "base/platform.h"

namespace lumo::index {
namespace {

struct Listing {
    std::vector<std::string> subdirectories;
    std::vector<std::string> files;
};

/// Whether an entry counts as a directory: links are followed, and an entry
/// whose type cannot be found out counts as a file.
bool entry_is_directory(const std::string& directory, const base::platform::DirectoryEntry& entry) {
    if (entry.type != base::platform::EntryType::unknown) return entry.type == base::platform::EntryType::directory;
    return base::is_directory(base::join_path(directory, entry.name));
}

/// The directory's entries split into subdirectories and the rest; nullopt
/// when it cannot be listed to the end.
std::optional<Listing> list_directory(const std::string& directory) {
    std::vector<base::platform::DirectoryEntry> entries;
    if (base::platform::list_directory(directory, entries) != 0) return std::nullopt;
    Listing listing;
    for (base::platform::DirectoryEntry& entry : entries)
        (entry_is_directory(directory, entry) ? listing.subdirectories : listing.files).push_back(std::move(entry.name));
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
