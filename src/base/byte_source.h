// Random access to the bytes of a font file, bounds-checked: a read past the
// end fails instead of returning garbage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/platform.h"

namespace lumo::base {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Total length in bytes.
    virtual std::uint64_t size() const = 0;
    /// Copies `out.size()` bytes starting at `offset`; false when they are not all there.
    virtual bool read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

/// Bytes already in memory (tests, fuzzing).
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::span<const std::uint8_t> bytes_;
};

/// A file on disk, read with positioned reads; only the parts asked for are read.
class FileByteSource final : public ByteSource {
public:
    /// Opens `path` (file-system bytes) for reading; `is_open()` tells whether that worked.
    explicit FileByteSource(const std::string& path);
    ~FileByteSource() override = default;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    bool is_open() const { return file_.is_open(); }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    platform::ReadFile file_;
    std::uint64_t size_ = 0;
};

}  // namespace lumo::base
