// Script groups and run direction over fuzzed lines: each code point becomes a
// run of its group's direction, neutral runs are resolved and the runs put in
// drawing order. The order must be a permutation that keeps left-to-right runs
// in place and mirrors exactly the blocks of right-to-left runs.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_checks.h"
#include "render/char_categories.h"
#include "render/run_direction.h"
#include "render/script_groups.h"

namespace {

using lumo::fuzz::require;
using lumo::render::RunDirection;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<RunDirection> directions;
    for (std::size_t at = 0; at + 3 <= size; at += 3) {
        const std::uint32_t code = (std::uint32_t{data[at]} << 16 | data[at + 1] << 8 | data[at + 2]) % 0x110000;
        const int group = lumo::render::classify_script(code);
        require(group >= 0 && group <= 7, "a script group outside 0..7");
        require(lumo::render::script_label(group) != "Unknown", "a group without a label");
        require(lumo::render::general_category(code).size() == 2, "a general category is not two letters");
        directions.push_back(lumo::render::direction_of_group(group));
    }
    const std::vector<RunDirection> given = directions;
    lumo::render::resolve_neutral_runs(directions);
    for (std::size_t i = 0; i < directions.size(); ++i) {
        require(directions[i] != RunDirection::Neutral, "a neutral run is left unresolved");
        if (given[i] != RunDirection::Neutral) require(directions[i] == given[i], "a strong run changed direction");
    }

    const std::vector<std::size_t> order = lumo::render::drawing_order(directions);
    require(order.size() == directions.size(), "the drawing order lost or added runs");
    for (std::size_t i = 0; i < order.size();) {
        if (directions[i] != RunDirection::RightToLeft) {
            require(order[i] == i, "a left-to-right run moved");
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < order.size() && directions[end] == RunDirection::RightToLeft) ++end;
        for (std::size_t k = i; k < end; ++k) require(order[k] == i + end - 1 - k, "a right-to-left block is not mirrored");
        i = end;
    }
    return 0;
}
