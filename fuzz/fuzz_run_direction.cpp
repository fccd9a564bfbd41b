// Script groups, bidirectional levels and run order over fuzzed lines: every
// code point gets a group and a level, and its runs of one level are put in
// drawing order. The levels must be FriBidi's for the whole line (the engine
// leaves a left-to-right prefix out of FriBidi's work); a line without
// right-to-left characters is level 0; the order must equal rule L2 applied
// to the characters one by one.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <fribidi.h>

#include "fuzz_checks.h"
#include "render/char_categories.h"
#include "render/run_direction.h"
#include "render/script_groups.h"

namespace {

using lumo::fuzz::require;

/// FriBidi's levels for the whole line, the paragraph left to right.
std::vector<std::uint8_t> fribidi_levels(const std::vector<std::uint32_t>& line) {
    const auto length = static_cast<FriBidiStrIndex>(line.size());
    std::vector<FriBidiCharType> types(line.size());
    std::vector<FriBidiBracketType> brackets(line.size());
    std::vector<FriBidiLevel> levels(line.size());
    fribidi_get_bidi_types(line.data(), length, types.data());
    fribidi_get_bracket_types(line.data(), length, types.data(), brackets.data());
    FriBidiParType paragraph = FRIBIDI_PAR_LTR;
    fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &paragraph, levels.data());
    return {levels.begin(), levels.end()};
}

/// Rule L2 on single characters, the plain way: the reference for the run order.
std::vector<std::size_t> reversed_by_levels(const std::vector<std::uint8_t>& levels) {
    std::vector<std::size_t> order(levels.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    int highest = 0, lowest_odd = 1000;
    for (std::uint8_t level : levels) {
        highest = std::max<int>(highest, level);
        if (level & 1) lowest_odd = std::min<int>(lowest_odd, level);
    }
    for (int level = highest; level >= lowest_odd; --level) {
        for (std::size_t start = 0; start < order.size(); ++start) {
            if (levels[order[start]] < level) continue;
            std::size_t end = start;
            while (end < order.size() && levels[order[end]] >= level) ++end;
            std::reverse(order.begin() + start, order.begin() + end);
            start = end;
        }
    }
    return order;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint32_t> line;
    for (std::size_t at = 0; at + 3 <= size; at += 3) {
        const std::uint32_t code = (std::uint32_t{data[at]} << 16 | data[at + 1] << 8 | data[at + 2]) % 0x110000;
        const int group = lumo::render::classify_script(code);
        require(group >= 0 && group <= 7, "a script group outside 0..7");
        require(lumo::render::script_label(group) != "Unknown", "a group without a label");
        require(lumo::render::general_category(code).size() == 2, "a general category is not two letters");
        // The engine drops control characters and the invisible directional
        // marks and embeddings before it orders a line.
        if (!lumo::render::is_dropped_mark(code)) line.push_back(code);
    }
    const std::vector<std::uint8_t> levels = lumo::render::embedding_levels(line);
    require(levels.size() == line.size(), "a level is missing or extra");
    if (!line.empty()) require(levels == fribidi_levels(line), "the levels are not FriBidi's for the whole line");
    if (!lumo::render::may_hold_right_to_left(line))
        for (std::uint8_t level : levels) require(level == 0, "a line without right-to-left characters is not level 0");

    // One run per character: the run order must be L2 itself.
    const std::vector<std::size_t> order = lumo::render::visual_order(levels);
    require(order == reversed_by_levels(levels), "the run order is not rule L2");
    return 0;
}
