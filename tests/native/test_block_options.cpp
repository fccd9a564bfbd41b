// The plain-value checks of a block call's options: the words each option
// takes, the limits of wraplength and line_spacing with the messages past
// them, and the rows a block's lines take from fractional line metrics.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/limits.h"
#include "layout/block_options.h"

namespace {

using lumo::layout::Align;
using lumo::layout::Direction;

TEST(BlockOptions, WraplengthBelowZeroDoesNotWrapAndPastTheRunLimitIsRefused) {
    const long most = lumo::kMaxRunExtentPixels;
    EXPECT_EQ(lumo::layout::wraplength_of(0, false, false), 0);
    EXPECT_EQ(lumo::layout::wraplength_of(320, false, false), 320);
    EXPECT_EQ(lumo::layout::wraplength_of(-5, false, false), 0);
    EXPECT_EQ(lumo::layout::wraplength_of(-1, false, true), 0);  // too negative to hold
    EXPECT_EQ(lumo::layout::wraplength_of(most, false, false), most);
    EXPECT_FALSE(lumo::layout::wraplength_of(most + 1, false, false));
    EXPECT_FALSE(lumo::layout::wraplength_of(-1, true, false));  // too large to hold
    EXPECT_EQ(lumo::layout::wraplength_limit_message(), "wraplength must be at most 1048576 pixels");
}

TEST(BlockOptions, LineSpacingIsAboveZeroAndAtMostTheLimit) {
    for (double allowed : {1e-9, 0.5, 1.0, lumo::kMaxLineSpacing}) EXPECT_TRUE(lumo::layout::line_spacing_allowed(allowed));
    for (double refused : {0.0, -1.0, lumo::kMaxLineSpacing + 1e-9, __builtin_nan(""), __builtin_inf()})
        EXPECT_FALSE(lumo::layout::line_spacing_allowed(refused)) << refused;
    EXPECT_EQ(lumo::layout::line_spacing_limit_message(), "line_spacing must be above 0 and at most 64");
}

TEST(BlockOptions, LineRowsRoundTheAscentAndCutTheLineHeight) {
    // DejaVu Sans at 24 px: ascender 22.27, height 27.94 (as FreeType scales them).
    const lumo::layout::LineRows rows = lumo::layout::line_rows(22.27, 27.94);
    EXPECT_EQ(rows.baseline, 22);
    EXPECT_EQ(rows.line_height, 27);
    EXPECT_EQ(rows.descent(), -5);
    EXPECT_EQ(lumo::layout::line_rows(10.5, 12.999).baseline, 11);
    EXPECT_EQ(lumo::layout::line_rows(10.49, 12.999).line_height, 12);
}

TEST(BlockOptions, AnchorNamesAreRectPositionNames) {
    for (const char* name : lumo::layout::kAnchorNames) EXPECT_STREQ(lumo::layout::anchor_named(name), name);
    for (const char* other : {"", "top", "TopLeft", "centre", "bottom_right"})
        EXPECT_EQ(lumo::layout::anchor_named(other), nullptr) << other;
}

}  // namespace

namespace {

TEST(BlockOptions, AnchorMessagesNameEveryRectanglePoint) {
    EXPECT_EQ(lumo::layout::anchor_choice_message(),
              "anchor must be one of 'topleft', 'midtop', 'topright', 'midleft', 'center', 'midright', "
              "'bottomleft', 'midbottom', 'bottomright'");
    EXPECT_EQ(lumo::layout::layout_anchor_message("middle"),
              "anchor must be one of topleft, midtop, topright, midleft, center, midright, bottomleft, midbottom, "
              "bottomright, not 'middle'");
}

}  // namespace
