// Where fonts and the index cache live on each platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::index {

/// The font directories the index scans, in scan order, for a platform
/// identifier ("win32", "linux", "darwin"; none for any other), with "~"
/// expanded. System-wide directories come before per-user ones, so a per-user
/// copy of a font wins.
std::vector<std::string> font_directories(std::string_view platform);

/// The application-data directory that holds the index cache directory.
/// `environment_value` reads an environment variable (nullopt when unset);
/// a variable set to the empty text counts as unset.
std::string cache_base_directory(std::string_view platform,
                                 std::optional<std::string> (*environment_value)(const char* name));

inline constexpr std::string_view kCacheDirectoryName = "lumo_font_map";
inline constexpr std::string_view kFallbackCacheDirectoryName = ".lumo_font_map";
inline constexpr std::string_view kCacheFileName = "font_map.json";

}  // namespace lumo::index
