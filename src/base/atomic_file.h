// Whole-file reads and writes for the index cache, and links replaced in one
// step. A write never leaves a half-written file behind: readers see the old
// file or the new one, whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumo::base {

/// A failed file operation: the errno value and the path it concerns.
struct FileError {
    int error_number = 0;
    std::string path;
};

/// Reads the whole file at `path` into `contents`; a file larger than
/// `max_bytes` is refused with EFBIG before anything is read.
std::optional<FileError> read_whole_file(const std::string& path, std::string& contents,
                                         std::uint64_t max_bytes = UINT64_MAX);

/// Replaces the file at `target` by `contents`: writes a temporary file in the
/// same directory, flushes it to disk and renames it over `target`. On failure
/// the temporary file is removed and `target` is left as it was; the error
/// names `target`.
std::optional<FileError> write_file_atomically(const std::string& target, std::string_view contents);

/// Makes `link` a symbolic link to `target`, replacing in one step whatever
/// file or link was there: the new link is made under a temporary name beside
/// `link` and renamed over it. The error names `link`.
std::optional<FileError> link_atomically(const std::string& link, const std::string& target);

}  // namespace lumo::base
