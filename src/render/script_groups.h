// Script groups of code points: which runs a line is cut into, how the debug
// report names each group, and whether its script needs shaping.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumo::render {

/// Script group of `code`: 0 space, 1 Hebrew, 2 Arabic, 3 Indic, 4 Thai,
/// 5 Tibetan (with Myanmar), 6 Khmer, 7 everything else. Groups are block
/// ranges, not Unicode script properties, so a run never splits inside a block.
int classify_script(std::uint32_t code) noexcept;

/// The group of everything no other group holds (Latin, CJK, symbols...).
inline constexpr int kOtherScripts = 7;

/// The group's name in the debug report ("Space", ..., "Latin/CJK"), or
/// "Unknown" for a number that is not a group.
std::string_view script_label(int group) noexcept;

/// "SHAPED" for the groups whose scripts join or reorder (1 to 6), "SIMPLE"
/// for the others and for a number that is not a group.
std::string_view script_render_path(int group) noexcept;

}  // namespace lumo::render
