// How a sized pygame font opens its font file; see sized_font_opening.h.
#include "font/sized_font_opening.h"

#include <algorithm>
#include <cctype>

#include "base/file_reader.h"

namespace lumo::font {

std::optional<int> sized_font_face(std::string_view path, int face_index) {
    constexpr std::string_view kCollectionSuffix = ".ttc";
    if (path.size() < kCollectionSuffix.size()) return std::nullopt;
    const std::string_view ending = path.substr(path.size() - kCollectionSuffix.size());
    const bool collection = std::equal(ending.begin(), ending.end(), kCollectionSuffix.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    if (!collection) return std::nullopt;
    return std::max(face_index, 0);
}

bool is_special_file(const std::string& path) {
    base::FileIdentity identity;
    return base::file_identity(path, identity) == 0 && !identity.regular;
}

std::size_t memory_to_open_font(const std::optional<std::string>& path) {
    constexpr std::size_t kSlackBytes = std::size_t{8} << 20;
    base::FileIdentity identity;
    if (path && base::file_identity(*path, identity) == 0) return kSlackBytes + identity.size;
    return kSlackBytes;
}

}  // namespace lumo::font
