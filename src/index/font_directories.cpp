// Where fonts and the index cache live on each platform.
#include "index/font_directories.h"

#include <cerrno>

#include "base/fs_paths.h"

namespace lumo::index {

std::vector<std::string> font_directories(std::string_view platform) {
    std::vector<std::string_view> entries;
    if (platform == "win32")
        entries = {"C:/Windows/Fonts", "~/AppData/Local/Microsoft/Windows/Fonts"};
    else if (platform == "linux")
        entries = {"/usr/share/fonts", "/usr/local/share/fonts", "~/.local/share/fonts"};
    else if (platform == "darwin")
        entries = {"/Library/Fonts", "~/Library/Fonts"};
    std::vector<std::string> directories;
    for (std::string_view entry : entries) directories.push_back(base::expand_user(entry));
    return directories;
}

std::string cache_base_directory(std::string_view platform, EnvironmentReader environment_value) {
    auto non_empty = [&](const char* name) -> std::optional<std::string> {
        std::optional<std::string> value = environment_value(name);
        if (value && value->empty()) return std::nullopt;
        return value;
    };
    if (platform == "win32") return non_empty("ProgramData").value_or("C:/ProgramData");
    if (platform == "darwin") return base::expand_user("~/Library/Application Support");
    if (auto data_home = non_empty("XDG_DATA_HOME")) return *data_home;
    return base::expand_user("~/.local/share");
}

std::optional<base::FileError> prepare_index_directory(std::string_view platform, EnvironmentReader environment_value,
                                                 IndexDirectory& directory) {
    directory = {base::join_path(cache_base_directory(platform, environment_value), kCacheDirectoryName), false};
    if (base::path_exists(directory.path)) return std::nullopt;
    std::optional<base::FileError> error = base::make_directories(directory.path);
    if (!error || (error->error_number != EACCES && error->error_number != EPERM)) return error;
    directory = {base::join_path(base::expand_user("~"), kFallbackCacheDirectoryName), true};
    return base::make_directories(directory.path);
}

}  // namespace lumo::index
