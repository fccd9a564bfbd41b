// Direction of the runs of one line and the order they are drawn in: the line
// always reads left to right, and only blocks of right-to-left runs are mirrored.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace lumo::render {

enum class RunDirection { LeftToRight, RightToLeft, Neutral };

/// "LTR", "RTL" or "N", as the debug output prints a direction.
std::string_view direction_label(RunDirection direction) noexcept;

/// The direction a run of script group `group` starts with: right to left for
/// Hebrew and Arabic, neutral for spaces, left to right for every other group
/// (Khmer included; it is written left to right).
RunDirection direction_of_group(int group) noexcept;

/// Gives each neutral run a direction, first to last: the direction of its
/// nearest non-neutral neighbours when both sides agree, left to right
/// otherwise; a missing neighbour counts as left to right. A neutral run
/// resolved earlier is a neighbour of the ones after it, so a space between
/// two right-to-left words joins them while a space at a line's end does not.
void resolve_neutral_runs(std::vector<RunDirection>& directions);

/// Run indices in the order they are drawn from left to right: each maximal
/// block of consecutive right-to-left runs reversed, every other run in place.
/// `resolved` must hold no neutral runs.
std::vector<std::size_t> drawing_order(const std::vector<RunDirection>& resolved);

}  // namespace lumo::render
