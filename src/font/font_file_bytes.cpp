// Bounded whole-file reads of font files, with the errno of a failure kept
// so that the caller can word it as the host would.
#include "font/font_file_bytes.h"

#include "base/file_reader.h"
#include "base/limits.h"

namespace lumo::font {

int read_font_file(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::size_t read = 0;
    const int error = base::read_file(path, kMaxFontFileBytes, [&](std::size_t size) {
        bytes.resize(size);
        return bytes.data();
    }, read);
    bytes.resize(error == 0 ? read : 0);
    return error;
}

}  // namespace lumo::font
