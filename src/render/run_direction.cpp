// Bidirectional levels of a line through FriBidi, and the visual order of its runs.
#include "render/run_direction.h"

#include <fribidi.h>

#include <algorithm>
#include <new>
#include <numeric>

namespace lumo::render {
namespace {

struct CodeRange {
    std::uint32_t first;
    std::uint32_t last;
};

// The blocks whose characters are strongly right to left or Arabic numbers
// (Hebrew to Arabic Extended, the presentation forms, and the historic and
// Arabic-script blocks of the supplementary planes).
constexpr CodeRange kRightToLeftBlocks[] = {
    {0x0590, 0x08FF}, {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFF}, {0x10800, 0x10FFF}, {0x1E800, 0x1EFFF},
};

}  // namespace

bool may_hold_right_to_left(std::span<const std::uint32_t> line) {
    for (const std::uint32_t code : line) {
        if (code < kRightToLeftBlocks[0].first) continue;
        for (const CodeRange& block : kRightToLeftBlocks)
            if (code >= block.first && code <= block.last) return true;
    }
    return false;
}

std::vector<std::uint8_t> embedding_levels(std::span<const std::uint32_t> line) {
    const auto length = static_cast<FriBidiStrIndex>(line.size());
    std::vector<std::uint8_t> levels(line.size(), 0);
    if (line.empty()) return levels;
    std::vector<FriBidiCharType> types(line.size());
    std::vector<FriBidiBracketType> brackets(line.size());
    std::vector<FriBidiLevel> resolved(line.size());
    const auto* text = reinterpret_cast<const FriBidiChar*>(line.data());
    fribidi_get_bidi_types(text, length, types.data());
    fribidi_get_bracket_types(text, length, types.data(), brackets.data());
    FriBidiParType paragraph = FRIBIDI_PAR_LTR;
    // FriBidi answers 0 only when it could not allocate its working memory.
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &paragraph, resolved.data()) == 0)
        throw std::bad_alloc();
    std::transform(resolved.begin(), resolved.end(), levels.begin(),
                   [](FriBidiLevel level) { return static_cast<std::uint8_t>(std::max<FriBidiLevel>(level, 0)); });
    return levels;
}

std::vector<std::size_t> visual_order(std::span<const std::uint8_t> run_levels) {
    std::vector<std::size_t> order(run_levels.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (run_levels.empty()) return order;
    const std::uint8_t highest = *std::max_element(run_levels.begin(), run_levels.end());
    std::uint8_t lowest_odd = highest + 1;
    for (const std::uint8_t level : run_levels)
        if (is_right_to_left(level)) lowest_odd = std::min(lowest_odd, level);
    // `order` holds run indices in their current places; levels travel with them.
    for (int level = highest; level >= lowest_odd; --level) {
        for (std::size_t start = 0; start < order.size();) {
            if (run_levels[order[start]] < level) {
                ++start;
                continue;
            }
            std::size_t end = start;
            while (end < order.size() && run_levels[order[end]] >= level) ++end;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(start), order.begin() + static_cast<std::ptrdiff_t>(end));
            start = end;
        }
    }
    return order;
}

}  // namespace lumo::render
