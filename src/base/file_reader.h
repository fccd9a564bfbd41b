// Whole-file reads for every file the engine loads itself (the index cache,
// font files): one place that opens, checks and reads, into memory the caller
// provides, so a font can go straight into the object that keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lumo::base {

/// What tells one version of a file from another: a file replaced by rename
/// has another inode, one rewritten in place another size or time.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;
    bool regular = false;

    bool operator==(const FileIdentity&) const = default;
};

/// The identity of the file at `path`, following links. Returns 0 or an errno.
int file_identity(const std::string& path, FileIdentity& identity);

/// Reads the whole regular file at `path` (file-system bytes). `storage(size)`
/// is called once with the file's size and returns that many writable bytes;
/// `read` gets the number filled (fewer when the file shrank meanwhile).
/// Returns 0 or an errno: EISDIR for a directory, EINVAL for a path with a NUL
/// byte or for anything else that is not a regular file (a pipe must not hang
/// the engine), EFBIG past `max_bytes`. `storage` may throw; nothing leaks.
/// `identity`, when given, receives the identity of the file that was read.
int read_file(const std::string& path, std::uint64_t max_bytes,
              const std::function<std::uint8_t*(std::size_t)>& storage, std::size_t& read,
              FileIdentity* identity = nullptr);

}  // namespace lumo::base
