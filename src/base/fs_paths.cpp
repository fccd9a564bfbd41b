// File-system path helpers with the host's semantics.
#include "base/fs_paths.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

namespace lumo::base {

std::string join_path(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && joined.back() != '/') joined.push_back('/');
    joined.append(name);
    return joined;
}

std::string absolute_path(std::string_view path) {
    if (!path.empty() && path.front() == '/') return std::string(path);
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return std::string(path);
        buffer.resize(buffer.size() * 2);
    }
    return join_path(buffer.data(), path);
}

namespace {

std::optional<std::string> account_home() {
    long buffer_size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(buffer_size > 0 ? static_cast<std::size_t>(buffer_size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return std::nullopt;
    return std::string(found->pw_dir);
}

}  // namespace

std::string expand_user(std::string_view path) {
    if (path.empty() || path.front() != '~') return std::string(path);
    std::size_t end_of_user = path.find('/', 1);
    if (end_of_user == std::string_view::npos) end_of_user = path.size();
    if (end_of_user != 1) return std::string(path);  // "~name/..." is not used by the engine

    std::string home;
    if (const char* variable = std::getenv("HOME")) {
        home = variable;
    } else if (auto from_account = account_home()) {
        home = *from_account;
    } else {
        return std::string(path);
    }
    while (!home.empty() && home.back() == '/') home.pop_back();
    std::string expanded = home + std::string(path.substr(end_of_user));
    return expanded.empty() ? std::string("/") : expanded;
}

bool path_exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool is_directory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_symbolic_link(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::optional<FileError> list_entry_names(const std::string& directory, std::vector<std::string>& names) {
    struct Closer {
        void operator()(DIR* handle) const noexcept { closedir(handle); }
    };
    std::unique_ptr<DIR, Closer> handle(opendir(directory.c_str()));
    if (!handle) return FileError{errno, directory};
    names.clear();
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (entry == nullptr) {
            if (errno != 0) return FileError{errno, directory};
            return std::nullopt;
        }
        std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
}

std::optional<FileError> make_directories(const std::string& path) {
    std::string parent = path;
    while (!parent.empty() && parent.back() == '/') parent.pop_back();
    std::size_t cut = parent.rfind('/');
    parent = cut == std::string::npos ? std::string() : parent.substr(0, cut);
    if (!parent.empty() && !path_exists(parent)) {
        if (auto error = make_directories(parent)) return error;
    }
    if (mkdir(path.c_str(), 0777) == 0) return std::nullopt;
    int error_number = errno;
    if (is_directory(path)) return std::nullopt;
    return FileError{error_number, path};
}

}  // namespace lumo::base
