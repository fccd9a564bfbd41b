// Whole-file reads for every file the engine loads itself (the index cache,
// font files): one place that opens, checks and reads, into memory the caller
// provides, so a font can go straight into the object that keeps it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lumo::index {

/// Reads the whole regular file at `path` (file-system bytes). `storage(size)`
/// is called once with the file's size and returns that many writable bytes;
/// `read` gets the number filled (fewer when the file shrank meanwhile).
/// Returns 0 or an errno: EISDIR for a directory, EINVAL for a path with a NUL
/// byte or for anything else that is not a regular file (a pipe must not hang
/// the engine), EFBIG past `max_bytes`. `storage` may throw; nothing leaks.
int read_file(const std::string& path, std::uint64_t max_bytes,
              const std::function<std::uint8_t*(std::size_t)>& storage, std::size_t& read);

}  // namespace lumo::index
