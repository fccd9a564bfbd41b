// Whole-file reads for every file the engine loads itself.
#include "base/file_reader.h"

#include <cerrno>

#include "base/platform.h"

namespace lumo::base {
namespace {

FileIdentity identity_of(const platform::FileStatus& status) {
    FileIdentity identity;
    identity.device = status.device;
    identity.inode = status.inode;
    identity.size = status.size;
    identity.modified_ns = status.modified_seconds * 1'000'000'000 + status.modified_nanoseconds;
    identity.regular = status.type == platform::FileType::regular;
    return identity;
}

}  // namespace

int file_identity(const std::string& path, FileIdentity& identity) {
    platform::FileStatus status;
    if (const int error = platform::file_status(path, true, status)) return error;
    identity = identity_of(status);
    return 0;
}

int read_file(const std::string& path, std::uint64_t max_bytes,
              const std::function<std::uint8_t*(std::size_t)>& storage, std::size_t& read, FileIdentity* identity) {
    read = 0;
    platform::ReadFile file;
    if (const int error = file.open(path)) return error;
    platform::FileStatus status;
    if (const int error = file.status(status)) return error;
    if (status.type == platform::FileType::directory) return EISDIR;
    if (status.type != platform::FileType::regular) return EINVAL;
    if (status.size > max_bytes) return EFBIG;
    if (identity != nullptr) *identity = identity_of(status);
    std::uint8_t* buffer = storage(static_cast<std::size_t>(status.size));
    while (read < status.size) {
        const long long got = file.read(buffer + read, static_cast<std::size_t>(status.size) - read);
        if (got < 0) return static_cast<int>(-got);
        if (got == 0) break;
        read += static_cast<std::size_t>(got);
    }
    return 0;
}

}  // namespace lumo::base
