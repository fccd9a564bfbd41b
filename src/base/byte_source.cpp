// Bounds-checked reads from memory and from files on disk (positioned reads,
// so a scan touches only the few blocks that hold a font's names).
#include "base/byte_source.h"

#include <cstring>

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
    // Opening does not block on a FIFO that carries a font's name; anything
    // but a regular file is then left unread.
    platform::ReadFile file;
    platform::FileStatus status;
    if (file.open(path) != 0 || file.status(status) != 0 || status.type != platform::FileType::regular) return;
    file_ = std::move(file);
    size_ = status.size;
}

bool FileByteSource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (!file_.is_open() || !range_fits(offset, out.size(), size_)) return false;
    std::size_t done = 0;
    while (done < out.size()) {
        const long long got = file_.read_at(offset + done, out.data() + done, out.size() - done);
        if (got <= 0) return false;  // an error, or the file shrank since it was opened
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace lumo::base
