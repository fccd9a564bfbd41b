// Whole-file reads of font files, bounded so that a huge or endless file
// (a device, a pipe) cannot make the engine allocate without limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumo::font {

/// Reads the whole file at `path` (file-system bytes) into `bytes`. Returns 0
/// or the errno that describes the failure: the open's or read's own errno,
/// EISDIR for a directory, EFBIG past kMaxFontFileBytes, EINVAL for a path
/// with an embedded NUL. `bytes` is empty after a failure.
int read_font_file(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace lumo::font
