// Direction pass over a line's runs: neutral runs take a side from their
// neighbours, then right-to-left blocks are reversed into drawing order.
#include "render/run_direction.h"

#include <algorithm>
#include <numeric>

namespace lumo::render {

std::string_view direction_label(RunDirection direction) noexcept {
    switch (direction) {
        case RunDirection::LeftToRight: return "LTR";
        case RunDirection::RightToLeft: return "RTL";
        case RunDirection::Neutral: return "N";
    }
    return "N";
}

RunDirection direction_of_group(int group) noexcept {
    switch (group) {
        case 0: return RunDirection::Neutral;
        case 1:
        case 2: return RunDirection::RightToLeft;
        default: return RunDirection::LeftToRight;
    }
}

void resolve_neutral_runs(std::vector<RunDirection>& directions) {
    const std::size_t count = directions.size();
    // Index of the first non-neutral run after the neutral ones being resolved;
    // a stretch of neutral runs shares it, so it only ever moves forward.
    std::size_t next_strong = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (directions[i] != RunDirection::Neutral) continue;
        next_strong = std::max(next_strong, i + 1);
        while (next_strong < count && directions[next_strong] == RunDirection::Neutral) ++next_strong;
        // Every run before i is resolved by now, so its nearest non-neutral
        // neighbour on the left is simply the run before it.
        const RunDirection before = i > 0 ? directions[i - 1] : RunDirection::LeftToRight;
        const RunDirection after = next_strong < count ? directions[next_strong] : RunDirection::LeftToRight;
        directions[i] = before == after ? before : RunDirection::LeftToRight;
    }
}

std::vector<std::size_t> drawing_order(const std::vector<RunDirection>& resolved) {
    std::vector<std::size_t> order(resolved.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    auto is_rtl = [&](std::size_t i) { return resolved[i] == RunDirection::RightToLeft; };
    for (std::size_t start = 0; start < order.size();) {
        if (!is_rtl(start)) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < order.size() && is_rtl(end)) ++end;
        std::reverse(order.begin() + start, order.begin() + end);
        start = end;
    }
    return order;
}

}  // namespace lumo::render
