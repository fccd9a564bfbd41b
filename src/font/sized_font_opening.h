// How a sized pygame font opens its font file: a collection at one of its
// faces, any other file as it is.
#pragma once

#include <optional>
#include <string_view>

namespace lumo::font {

/// The face a sized font opens in the file at `path`: for a collection (its
/// name ends in ".ttc", in any case) face `face_index`, a negative index
/// opening face 0; nothing for any other file, which is opened without a
/// face index whatever the path data says.
std::optional<int> sized_font_face(std::string_view path, int face_index);

}  // namespace lumo::font
