// Bounds-checked reads from memory and from files on disk (positioned reads,
// so a scan touches only the few blocks that hold a font's names).
#include "base/byte_source.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo::base {
namespace {

/// Whether [offset, offset + length) lies within `total` bytes, without overflow.
bool range_fits(std::uint64_t offset, std::size_t length, std::uint64_t total) {
    return offset <= total && length <= total - offset;
}

}  // namespace

bool MemoryByteSource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (!range_fits(offset, out.size(), bytes_.size())) return false;
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
    return true;
}

FileByteSource::FileByteSource(const std::string& path) {
    // O_NONBLOCK keeps a FIFO that carries a font's name from blocking the
    // scan; it changes nothing for regular files.
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return;
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
    size_ = static_cast<std::uint64_t>(status.st_size);
}

FileByteSource::~FileByteSource() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool FileByteSource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (descriptor_ < 0 || !range_fits(offset, out.size(), size_)) return false;
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t got = ::pread(descriptor_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;  // an error, or the file shrank since it was opened
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace lumo::base
