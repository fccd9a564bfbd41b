// The fingerprint of the font directories.
#include "index/fingerprint.h"


#include "index/dir_walk.h"
#include "index/float_repr.h"
#include "index/font_names.h"
#include "base/fs_paths.h"
#include "base/platform.h"

namespace lumo::index {

std::optional<double> modification_time(const std::string& path, int& error_number) {
    base::platform::FileStatus status;
    error_number = base::platform::file_status(path, true, status);
    if (error_number != 0) return std::nullopt;
    // The same sum the host uses, so the digits match what it would print.
    return static_cast<double>(status.modified_seconds) + static_cast<double>(status.modified_nanoseconds) * 1e-9;
}

std::optional<base::FileError> fonts_fingerprint(const std::vector<std::string>& directories, std::string& fingerprint) {
    fingerprint.clear();
    for (const std::string& directory : directories) {
        if (!base::path_exists(directory)) continue;
        int error_number = 0;
        std::optional<double> mtime = modification_time(directory, error_number);
        if (!mtime) return base::FileError{error_number, directory};
        std::size_t font_files = 0;
        walk_directory_tree(directory, [&](const std::string&, const std::vector<std::string>& files) {
            for (const std::string& name : files)
                if (has_font_extension(name)) ++font_files;
        });
        if (!fingerprint.empty()) fingerprint.push_back('|');
        fingerprint += python_float_repr(*mtime) + "_" + std::to_string(font_files);
    }
    return std::nullopt;
}

}  // namespace lumo::index
