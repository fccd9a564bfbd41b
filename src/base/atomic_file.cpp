// Whole-file reads and all-or-nothing replacement of the index cache file and
// of links, so that a reader never meets a file another process is half-way
// through writing, nor a gap where a link is being replaced.
#include "base/atomic_file.h"

#include "base/descriptor.h"
#include "base/file_reader.h"

#include <fcntl.h>
#include <unistd.h>

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
    return target + "." + std::to_string(::getpid()) + "." + std::to_string(g_temporary_counter++) + ".tmp";
}

/// Writes all of `contents`; 0 or the errno of the failed write.
int write_all(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

/// Fills the open temporary file, flushes it to disk and closes it; 0 or an errno.
int fill_and_close(Descriptor& file, std::string_view contents) {
    if (const int error = write_all(file.get(), contents)) return error;
    while (::fsync(file.get()) != 0) {
        if (errno != EINTR) return errno;
    }
    // A failed close can mean lost data on network file systems: not a success.
    return file.close_now();
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
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
        temporary = temporary_name(target);
        // 0666 as a plain open would use, so the process's umask decides.
        fd = ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return FileError{errno, target};
    }
    if (fd < 0) return FileError{EEXIST, target};

    Descriptor file(fd);
    int error = fill_and_close(file, contents);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return FileError{error, target};
    }
    return std::nullopt;
}

std::optional<FileError> link_atomically(const std::string& link, const std::string& target) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string temporary = temporary_name(link);
        if (::symlink(target.c_str(), temporary.c_str()) != 0) {
            if (errno == EEXIST) continue;
            return FileError{errno, link};
        }
        if (::rename(temporary.c_str(), link.c_str()) != 0) {
            const int error = errno;
            ::unlink(temporary.c_str());
            return FileError{error, link};
        }
        return std::nullopt;
    }
    return FileError{EEXIST, link};
}

}  // namespace lumo::base
