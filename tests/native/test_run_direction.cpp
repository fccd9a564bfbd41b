// Direction of a line's runs: which side neutral runs take, and the order in
// which the runs are drawn from left to right.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "render/run_direction.h"

namespace {

using namespace lumo::render;

constexpr RunDirection L = RunDirection::LeftToRight;
constexpr RunDirection R = RunDirection::RightToLeft;
constexpr RunDirection N = RunDirection::Neutral;

TEST(Direction, GroupsStartWithTheirScriptsDirection) {
    const RunDirection expected[] = {N, R, R, L, L, L, L, L};
    for (int group = 0; group < 8; ++group) EXPECT_EQ(direction_of_group(group), expected[group]) << group;
}

TEST(Direction, LabelsAsPrinted) {
    EXPECT_EQ(direction_label(L), "LTR");
    EXPECT_EQ(direction_label(R), "RTL");
    EXPECT_EQ(direction_label(N), "N");
}

struct LineCase {
    const char* label;
    std::vector<RunDirection> directions;
    std::vector<RunDirection> resolved;
    std::vector<std::size_t> order;
};

class DirectionPass : public ::testing::TestWithParam<LineCase> {};

TEST_P(DirectionPass, ResolvesNeutralsThenMirrorsRightToLeftBlocks) {
    std::vector<RunDirection> directions = GetParam().directions;
    resolve_neutral_runs(directions);
    EXPECT_EQ(directions, GetParam().resolved);
    EXPECT_EQ(drawing_order(directions), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DirectionPass,
    ::testing::Values(
        LineCase{"Empty", {}, {}, {}},
        LineCase{"LatinSpaceHebrew", {L, N, R}, {L, L, R}, {0, 1, 2}},
        LineCase{"TwoHebrewWords", {R, N, R}, {R, R, R}, {2, 1, 0}},
        LineCase{"SpacesAroundAHebrewLine", {N, R, N, R, N}, {L, R, R, R, L}, {0, 3, 2, 1, 4}},
        LineCase{"SeveralNeutralsBetweenHebrewWords", {R, N, N, R}, {R, R, R, R}, {3, 2, 1, 0}},
        LineCase{"NeutralsBetweenHebrewAndLatin", {R, N, N, L}, {R, L, L, L}, {0, 1, 2, 3}},
        LineCase{"TwoSeparateRightToLeftBlocks", {R, N, R, L, R, R, N, L}, {R, R, R, L, R, R, L, L},
                 {2, 1, 0, 3, 5, 4, 6, 7}},
        LineCase{"AllNeutral", {N, N, N}, {L, L, L}, {0, 1, 2}},
        LineCase{"SingleHebrewRun", {R}, {R}, {0}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
