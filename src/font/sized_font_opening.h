// How a sized pygame font opens its font file: a collection at one of its
// faces, any other file as it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumo::font {

/// The face a sized font opens in the file at `path`: for a collection (its
/// name ends in ".ttc", in any case) face `face_index`, a negative index
/// opening face 0; nothing for any other file, which is opened without a
/// face index whatever the path data says.
std::optional<int> sized_font_face(std::string_view path, int face_index);

/// Whether something that is not a regular file (a pipe, a device) is at
/// `path`: pygame's font engines open a path with a blocking open(), so such
/// a path is refused first, as the engine's own reader refuses it.
bool is_special_file(const std::string& path);

/// The memory opening the file at `path` (nothing: a name the file system
/// cannot hold) takes, with room to spare: when that much cannot be had, a
/// font that failed to open is taken to have failed for lack of memory.
std::size_t memory_to_open_font(const std::optional<std::string>& path);

}  // namespace lumo::font
