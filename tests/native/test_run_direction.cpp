// Bidirectional levels of a line (through FriBidi) and the order its runs are
// drawn in, checked against the Unicode Bidirectional Algorithm's own examples.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/run_direction.h"

namespace {

using namespace lumo::render;

std::vector<std::uint8_t> levels_of(std::u32string_view text) {
    return embedding_levels({reinterpret_cast<const std::uint32_t*>(text.data()), text.size()});
}

bool needs_bidi(std::u32string_view text) {
    return may_hold_right_to_left({reinterpret_cast<const std::uint32_t*>(text.data()), text.size()});
}

TEST(RightToLeftCheck, FindsRightToLeftScriptsAndArabicDigitsOnly) {
    EXPECT_FALSE(needs_bidi(U"Hello, world 123 (x)"));
    EXPECT_FALSE(needs_bidi(U"你好 नमस्ते สวัสดี 😀"));
    EXPECT_TRUE(needs_bidi(U"a \u05e9"));       // Hebrew
    EXPECT_TRUE(needs_bidi(U"\u0661\u0662"));   // Arabic-Indic digits
    EXPECT_TRUE(needs_bidi(U"\ufee0"));          // Arabic presentation form
    EXPECT_TRUE(needs_bidi(U"\U00010900"));      // Phoenician
}

struct LevelCase {
    const char* label;
    std::u32string text;
    std::vector<std::uint8_t> levels;
};
void PrintTo(const LevelCase& c, std::ostream* out) { *out << c.label; }

class Levels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(Levels, AreTheAlgorithms) { EXPECT_EQ(levels_of(GetParam().text), GetParam().levels); }

// S = שלום, letters of a right-to-left script; the paragraph is left to right.
INSTANTIATE_TEST_SUITE_P(
    Lines, Levels,
    ::testing::Values(
        LevelCase{"Latin", U"ab c", {0, 0, 0, 0}},
        LevelCase{"HebrewWords", U"\u05d0\u05d1 \u05d2", {1, 1, 1, 1}},
        LevelCase{"TrailingSpaceGoesBackToTheParagraph", U"\u05d0\u05d1 ", {1, 1, 0}},
        LevelCase{"CommaBetweenHebrewWords", U"\u05d0 , \u05d1", {1, 1, 1, 1, 1}},
        LevelCase{"EuropeanDigitsInsideHebrew", U"\u05d0 12 \u05d1", {1, 1, 2, 2, 1, 1}},
        LevelCase{"ArabicDigitsInsideArabic", U"\u0644 \u0661\u0662 \u0645", {1, 1, 2, 2, 1, 1}},
        LevelCase{"HebrewBetweenLatin", U"a \u05d0 b", {0, 0, 1, 0, 0}},
        LevelCase{"PairedBracketsTakeTheEmbeddingSide", U"\u05d0 (\u05d1) \u05d2", {1, 1, 1, 1, 1, 1, 1}},
        LevelCase{"Empty", U"", {}}),
    [](const auto& info) { return std::string(info.param.label); });

struct OrderCase {
    const char* label;
    std::vector<std::uint8_t> run_levels;
    std::vector<std::size_t> order;
};

class VisualOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(VisualOrder, ReversesFromTheHighestLevelDown) {
    EXPECT_EQ(visual_order(GetParam().run_levels), GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VisualOrder,
    ::testing::Values(OrderCase{"Empty", {}, {}}, OrderCase{"AllLeftToRight", {0, 0, 0}, {0, 1, 2}},
                      OrderCase{"OneRightToLeftBlock", {0, 1, 1, 1, 0}, {0, 3, 2, 1, 4}},
                      // Digits (level 2) inside right-to-left words keep their own order.
                      OrderCase{"NumberInsideRightToLeft", {1, 1, 2, 1, 1}, {4, 3, 2, 1, 0}},
                      OrderCase{"TwoNumbersInsideRightToLeft", {1, 2, 1, 2, 1}, {4, 3, 2, 1, 0}},
                      OrderCase{"LatinInsideRightToLeftInsideLatin", {0, 1, 2, 2, 1, 0}, {0, 4, 2, 3, 1, 5}},
                      OrderCase{"TwoSeparateBlocks", {1, 1, 0, 1, 1}, {1, 0, 2, 4, 3}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
