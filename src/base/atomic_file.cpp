// Whole-file reads and all-or-nothing replacement of the index cache file and
// of links, so that a reader never meets a file another process is half-way
// through writing, nor a gap where a link is being replaced.
#include "base/atomic_file.h"

#include "base/file_reader.h"
#include "base/platform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>

namespace lumo::base {
namespace {

// Temporary names already taken (say, left by a crashed process that had our
// pid) are skipped; past this many the write gives up with EEXIST.
constexpr int kTemporaryNameAttempts = 100;

std::atomic<unsigned> g_temporary_counter{0};

/// "<target>.<pid>.<counter>.tmp": in the target's directory, and unique among
/// the writers of this process and of others.
std::string temporary_name(const std::string& target) {
    return target + "." + std::to_string(platform::process_id()) + "." + std::to_string(g_temporary_counter++) +
           ".tmp";
}

}  // namespace

std::optional<FileError> read_whole_file(const std::string& path, std::string& contents, std::uint64_t max_bytes) {
    std::size_t read = 0;
    const int error = read_file(path, std::min<std::uint64_t>(max_bytes, contents.max_size()), [&](std::size_t size) {
        contents.resize(size);
        return reinterpret_cast<std::uint8_t*>(contents.data());
    }, read);
    contents.resize(error == 0 ? read : 0);
    if (error != 0) return FileError{error, path};
    return std::nullopt;
}

std::optional<FileError> write_file_atomically(const std::string& target, std::string_view contents) {
    platform::NewFile file;
    std::string temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && error == EEXIST; ++attempt) {
        temporary = temporary_name(target);
        error = file.create(temporary);
    }
    if (error != 0) return FileError{error, target};
    error = file.write_and_close(contents);
    if (error == 0) error = platform::replace_file(temporary, target);
    if (error != 0) return FileError{error, target};  // the temporary file goes with `file`
    file.commit();
    return std::nullopt;
}

std::optional<FileError> link_atomically(const std::string& link, const std::string& target) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string temporary = temporary_name(link);
        if (const int error = platform::make_symbolic_link(target, temporary)) {
            if (error == EEXIST) continue;
            return FileError{error, link};
        }
        if (const int error = platform::replace_file(temporary, link)) {
            platform::remove_file(temporary);
            return FileError{error, link};
        }
        return std::nullopt;
    }
    return FileError{EEXIST, link};
}

}  // namespace lumo::base
