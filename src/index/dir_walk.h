// Walks a font directory tree in the order the host's os.walk(top) visits it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lumo::index {

/// Receives one directory and the names of its non-directory entries, in the
/// order the file system lists them.
using DirectoryVisitor = std::function<void(const std::string& directory, const std::vector<std::string>& file_names)>;

/// Visits `top` and every directory below it, top-down: a directory first,
/// then each of its subdirectories depth-first, in listing order; nothing is
/// sorted. Links to directories are listed as directories but not entered, so
/// a link loop is harmless; a directory that cannot be listed is skipped
/// silently with everything below it. `visit` may throw to stop the walk.
void walk_directory_tree(const std::string& top, const DirectoryVisitor& visit);

}  // namespace lumo::index
