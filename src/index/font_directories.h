// Where fonts and the index cache live on each platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"

namespace lumo::index {

/// Reads an environment variable: nullopt when it is not set.
using EnvironmentReader = std::optional<std::string> (*)(const char* name);

/// The font directories the index scans, in scan order, for a platform
/// identifier ("win32", "linux", "darwin"; none for any other), with "~"
/// expanded. System-wide directories come before per-user ones, so a per-user
/// copy of a font wins.
std::vector<std::string> font_directories(std::string_view platform);

/// The application-data directory that holds the index cache directory.
/// `environment_value` reads an environment variable (nullopt when unset);
/// a variable set to the empty text counts as unset.
std::string cache_base_directory(std::string_view platform, EnvironmentReader environment_value);

/// The directory that holds the index file and what the engine keeps beside it.
struct IndexDirectory {
    std::string path;
    /// The system location could not be created for lack of permission and the
    /// per-user fallback in the home directory is used; the caller says so.
    bool is_fallback = false;
};

/// Finds the index directory of a platform and creates it (with its parents)
/// when missing. An existing directory is used whether or not it is writable;
/// the fallback is decided anew on every call. On failure `directory` still
/// tells which location was tried.
std::optional<base::FileError> prepare_index_directory(std::string_view platform, EnvironmentReader environment_value,
                                                 IndexDirectory& directory);

inline constexpr std::string_view kCacheDirectoryName = "lumo_font_map";
inline constexpr std::string_view kFallbackCacheDirectoryName = ".lumo_font_map";
inline constexpr std::string_view kCacheFileName = "font_map.json";

}  // namespace lumo::index
