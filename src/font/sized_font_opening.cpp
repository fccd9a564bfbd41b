// How a sized pygame font opens its font file; see sized_font_opening.h.
#include "font/sized_font_opening.h"

#include <algorithm>
#include <cctype>

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

}  // namespace lumo::font
