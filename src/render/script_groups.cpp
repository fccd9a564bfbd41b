// Script groups: fixed code-point blocks per script, with their report labels
// and render paths.
#include "render/script_groups.h"

#include <array>

namespace lumo::render {

namespace {

struct GroupBlock {
    std::uint32_t first;
    std::uint32_t last;  // inclusive
    int group;
};

// Disjoint blocks; a code point in none of them is group 7.
constexpr std::array<GroupBlock, 10> kGroupBlocks{{
    {0x0020, 0x0020, 0},
    {0x00A0, 0x00A0, 0},
    {0x0590, 0x05FF, 1},
    {0x0600, 0x08FF, 2},
    {0xFB50, 0xFDFF, 2},
    {0xFE70, 0xFEFF, 2},
    {0x0900, 0x0DFF, 3},
    {0x0E00, 0x0EFF, 4},
    {0x0F00, 0x109F, 5},
    {0x1780, 0x17FF, 6},
}};

constexpr std::array<std::string_view, 8> kScriptLabels{
    "Space", "Hebrew", "Arabic", "Indic", "Thai", "Tibetan", "Khmer", "Latin/CJK"};

bool is_group(int group) { return group >= 0 && group < static_cast<int>(kScriptLabels.size()); }

}  // namespace

int classify_script(std::uint32_t code) noexcept {
    if (code < 0x0590) return code == 0x20 || code == 0xA0 ? 0 : kOtherScripts;  // below every script block
    for (const GroupBlock& block : kGroupBlocks) {
        if (code >= block.first && code <= block.last) return block.group;
    }
    return kOtherScripts;
}

std::string_view script_label(int group) noexcept { return is_group(group) ? kScriptLabels[group] : "Unknown"; }

std::string_view script_render_path(int group) noexcept {
    return group >= 1 && group <= 6 ? "SHAPED" : "SIMPLE";
}

}  // namespace lumo::render
