// Preparing a line's runs: one resolution per font and line while the font
// can draw, a new one for every run of a font that cannot, directions from
// embedding levels, and the line's totals and characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/line_preparation.h"

namespace {

using lumo::render::PreparedLine;
using lumo::render::RunFonts;
using lumo::render::RunRequest;
using lumo::shaping::PreparedRun;
using lumo::shaping::ShapingDirection;

/// Fonts whose runs are as wide as their characters times the font's number
/// plus one; `unusable` fonts cannot draw (their runs are 1 pixel wide).
class CountingFonts final : public RunFonts {
public:
    std::vector<int> unusable, shapes_with_file = {0, 1, 2}, with_instance;
    std::vector<int> resolved;  // the fonts asked for, in order
    std::vector<std::pair<std::size_t, ShapingDirection>> prepared;

    Resolved resolve(int font) override {
        resolved.push_back(font);
        const bool usable = std::find(unusable.begin(), unusable.end(), font) == unusable.end();
        return {usable, usable && contains(shapes_with_file, font), contains(with_instance, font)};
    }

    PreparedRun prepare(std::size_t index, const RunRequest& run, ShapingDirection direction) override {
        prepared.emplace_back(index, direction);
        PreparedRun made;
        const bool usable = std::find(unusable.begin(), unusable.end(), run.font) == unusable.end();
        made.advance = usable ? static_cast<long>(run.text.size()) * (run.font + 1) : 1;
        return made;
    }

private:
    static bool contains(const std::vector<int>& numbers, int number) {
        return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
    }
};

TEST(PrepareRuns, AUsableFontIsResolvedOncePerLine) {
    // "Hello", " ", "world" in font 0 with an emoji run in font 3 between them.
    const std::u32string text = U"Hello \U0001F600world";
    const std::vector<RunRequest> runs = {{std::u32string_view(text).substr(0, 5), 0, 0, 0},
                                          {std::u32string_view(text).substr(5, 1), 0, 0, 5},
                                          {std::u32string_view(text).substr(6, 1), 3, 0, 6},
                                          {std::u32string_view(text).substr(7, 5), 0, 0, 7}};
    CountingFonts fonts;
    const PreparedLine line = lumo::render::prepare_runs(runs, 28, fonts);
    EXPECT_EQ(fonts.resolved, (std::vector<int>{0, 3}));
    EXPECT_EQ(line.height, 28);
    ASSERT_EQ(line.runs.size(), 4u);
    EXPECT_EQ(line.total, 5 + 1 + 4 + 5);
    EXPECT_TRUE(line.draws_with_fonts);
    EXPECT_FALSE(line.instance_found);
    ASSERT_EQ(line.characters.size(), 4u);
    EXPECT_EQ(line.characters[3].visible_start, 7u);
    EXPECT_EQ(line.characters[3].length, 5u);
}

TEST(PrepareRuns, AFontThatCannotDrawIsResolvedForEveryRun) {
    const std::u32string text = U"abc";
    const std::vector<RunRequest> runs = {{std::u32string_view(text).substr(0, 1), 5, 0, 0},
                                          {std::u32string_view(text).substr(1, 1), 0, 0, 1},
                                          {std::u32string_view(text).substr(2, 1), 5, 0, 2}};
    CountingFonts fonts;
    fonts.unusable = {5};
    const PreparedLine line = lumo::render::prepare_runs(runs, 20, fonts);
    EXPECT_EQ(fonts.resolved, (std::vector<int>{5, 0, 5}));  // each failure is met (and reported) again
    EXPECT_EQ(line.total, 1 + 1 + 1);
    EXPECT_TRUE(line.draws_with_fonts);
}

TEST(PrepareRuns, ALineOfUnusableFontsDrawsWithNoneAndInstancesAreNoted) {
    const std::u32string text = U"ab";
    const std::vector<RunRequest> runs = {{std::u32string_view(text).substr(0, 1), 7, 0, 0},
                                          {std::u32string_view(text).substr(1, 1), 4, 0, 1}};
    CountingFonts fonts;
    fonts.unusable = {7};
    fonts.shapes_with_file = {};  // font 4 drawn by the older emoji engine
    fonts.with_instance = {4};
    const PreparedLine line = lumo::render::prepare_runs(runs, 20, fonts);
    EXPECT_FALSE(line.draws_with_fonts);
    EXPECT_TRUE(line.instance_found);
}

TEST(PrepareRuns, RunsAreShapedInTheirLevelsDirection) {
    const std::u32string text = U"ab\u05D0\u05D112";
    const std::vector<RunRequest> runs = {{std::u32string_view(text).substr(0, 2), 0, 0, 0},
                                          {std::u32string_view(text).substr(4, 2), 1, 2, 4},
                                          {std::u32string_view(text).substr(2, 2), 1, 1, 2}};
    CountingFonts fonts;
    lumo::render::prepare_runs(runs, 20, fonts);
    EXPECT_EQ(fonts.prepared, (std::vector<std::pair<std::size_t, ShapingDirection>>{
                                  {0, ShapingDirection::left_to_right},
                                  {1, ShapingDirection::left_to_right},
                                  {2, ShapingDirection::right_to_left}}));
}

TEST(PrepareRuns, NoRunsMakeAnEmptyLineOfTheCallsHeight) {
    CountingFonts fonts;
    const PreparedLine line = lumo::render::prepare_runs({}, 33, fonts);
    EXPECT_TRUE(line.runs.empty());
    EXPECT_EQ(line.total, 0);
    EXPECT_EQ(line.height, 33);
    EXPECT_TRUE(fonts.resolved.empty());
}

}  // namespace
