// Bounded whole-file reads of font files, with the errno of a failure kept
// so that the caller can word it as the host would.
#include "font/font_file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace lumo::font {
namespace {

// Files that report no size (pipes, devices) are read in steps of this much.
constexpr std::size_t kReadChunkBytes = std::size_t{64} << 10;

/// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

/// Reads until the end of the file or one byte past the cap; 0 or an errno.
int read_to_end(int fd, std::size_t size_hint, std::vector<std::uint8_t>& bytes) {
    bytes.resize(std::min(size_hint, kMaxFontFileBytes) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > kMaxFontFileBytes) return EFBIG;
            bytes.resize(std::min(filled + std::max(filled, kReadChunkBytes), kMaxFontFileBytes + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > kMaxFontFileBytes) return EFBIG;
    bytes.resize(filled);
    return 0;
}

}  // namespace

int read_font_file(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (path.find('\0') != std::string::npos) return EINVAL;
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return errno;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return errno;
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) > kMaxFontFileBytes) return EFBIG;
    // The size is a hint only: the file may grow or shrink while it is read.
    const std::size_t size_hint = status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
    const int error = read_to_end(file.get(), size_hint, bytes);
    if (error != 0) {
        bytes.clear();
        bytes.shrink_to_fit();
    }
    return error;
}

}  // namespace lumo::font
