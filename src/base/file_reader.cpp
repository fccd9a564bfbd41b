// Whole-file reads for every file the engine loads itself.
#include "base/file_reader.h"

#include "base/descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumo::base {
namespace {

FileIdentity identity_of(const struct stat& status) {
    FileIdentity identity;
    identity.device = static_cast<std::uint64_t>(status.st_dev);
    identity.inode = static_cast<std::uint64_t>(status.st_ino);
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.modified_ns = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    identity.regular = S_ISREG(status.st_mode);
    return identity;
}

}  // namespace

int file_identity(const std::string& path, FileIdentity& identity) {
    if (path.find('\0') != std::string::npos) return EINVAL;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return errno;
    identity = identity_of(status);
    return 0;
}

int read_file(const std::string& path, std::uint64_t max_bytes,
              const std::function<std::uint8_t*(std::size_t)>& storage, std::size_t& read, FileIdentity* identity) {
    read = 0;
    if (path.find('\0') != std::string::npos) return EINVAL;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return errno;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return errno;
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (!S_ISREG(status.st_mode)) return EINVAL;
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > max_bytes) return EFBIG;
    if (identity != nullptr) *identity = identity_of(status);
    std::uint8_t* buffer = storage(static_cast<std::size_t>(size));
    while (read < size) {
        const ssize_t got = ::read(file.get(), buffer + read, static_cast<std::size_t>(size) - read);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) break;
        read += static_cast<std::size_t>(got);
    }
    return 0;
}

}  // namespace lumo::base
