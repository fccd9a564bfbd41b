// File-system path helpers with the host's semantics.
#include "base/fs_paths.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "base/platform.h"

namespace lumo::base {

std::string join_path(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && !platform::is_path_separator(joined.back())) joined.push_back(platform::kPathSeparator);
    joined.append(name);
    return joined;
}

std::string absolute_path(std::string_view path) {
    if (platform::is_absolute_path(path)) return std::string(path);
    const std::optional<std::string> working = platform::current_directory();
    return working ? join_path(*working, path) : std::string(path);
}

std::string expand_user(std::string_view path) {
    if (path.empty() || path.front() != '~') return std::string(path);
    std::size_t end_of_user = 1;
    while (end_of_user < path.size() && !platform::is_path_separator(path[end_of_user])) ++end_of_user;
    if (end_of_user != 1) return std::string(path);  // "~name/..." is not used by the engine

    std::optional<std::string> home = platform::home_directory();
    if (!home) return std::string(path);
    if constexpr (platform::kPathSeparator == '/') {
        // posixpath drops the home's trailing separators, and keeps "/" for a root home.
        while (!home->empty() && home->back() == '/') home->pop_back();
        std::string expanded = *home + std::string(path.substr(end_of_user));
        return expanded.empty() ? std::string("/") : expanded;
    }
    return *home + std::string(path.substr(end_of_user));
}

bool path_exists(const std::string& path) {
    platform::FileStatus status;
    return platform::file_status(path, true, status) == 0;
}

bool is_directory(const std::string& path) {
    platform::FileStatus status;
    return platform::file_status(path, true, status) == 0 && status.type == platform::FileType::directory;
}

bool is_symbolic_link(const std::string& path) {
    platform::FileStatus status;
    return platform::file_status(path, false, status) == 0 && status.type == platform::FileType::symbolic_link;
}

std::optional<FileError> list_entry_names(const std::string& directory, std::vector<std::string>& names) {
    names.clear();
    std::vector<platform::DirectoryEntry> entries;
    if (const int error = platform::list_directory(directory, entries)) return FileError{error, directory};
    for (platform::DirectoryEntry& entry : entries) names.push_back(std::move(entry.name));
    return std::nullopt;
}

std::optional<FileError> make_directories(const std::string& path) {
    std::string parent = path;
    while (!parent.empty() && platform::is_path_separator(parent.back())) parent.pop_back();
    std::size_t cut = parent.size();
    while (cut > 0 && !platform::is_path_separator(parent[cut - 1])) --cut;
    parent = cut == 0 ? std::string() : parent.substr(0, cut - 1);
    if (!parent.empty() && !path_exists(parent)) {
        if (auto error = make_directories(parent)) return error;
    }
    const int error_number = platform::make_directory(path);
    if (error_number == 0 || is_directory(path)) return std::nullopt;
    return FileError{error_number, path};
}

}  // namespace lumo::base
