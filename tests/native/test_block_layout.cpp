// A block laid out from prepared lines: lines taken once each, their ink's
// reach (pictures and decorations included) deciding the block's rows, and the
// frame its effects need.
#include <gtest/gtest.h>

#include <cmath>

#include "layout/block_layout.h"
#include "prepared_lines.h"

namespace {

using namespace lumo;

TEST(LineExtent, ReachesFromTheHighestInkToTheLowestAndPicturesFillTheirHeight) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    const shaping::PreparedRun capitals = fonts.run(U"HE"), descending = fonts.run(U"gy"), spaces = fonts.run(U"  ");
    const shaping::InkReach high = shaping::ink_reach(*capitals.layout), low = shaping::ink_reach(*descending.layout);
    layout::LineExtent extent = layout::line_extent(test::line_of({capitals, descending}));
    EXPECT_EQ(extent.ink_top, test::DejaVuRuns::kBaseline - long(std::ceil(high.above)));
    EXPECT_EQ(extent.ink_bottom, test::DejaVuRuns::kBaseline + long(std::ceil(low.below)));
    EXPECT_EQ(extent.width, render::line_size(test::line_of({capitals, descending})).first);

    // Spaces have no ink; a line without runs reaches nowhere.
    extent = layout::line_extent(test::line_of({spaces}));
    EXPECT_EQ(extent.ink_top, extent.ink_bottom);
    EXPECT_EQ(layout::line_extent(test::line_of({})).width, 0);

    shaping::PreparedRun picture;
    picture.picture = 0;
    picture.height = 42;
    extent = layout::line_extent(test::line_of({capitals, picture}));
    EXPECT_EQ(extent.ink_top, 0);
    EXPECT_EQ(extent.ink_bottom, 42);
}

TEST(BlockLines, EachLineIsPreparedOncePerMarkupAndDirectionAndShared) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::DejaVuLines lines(fonts);
    const auto first = lines.line(U"Kept line", false);
    EXPECT_EQ(lines.line(U"Kept line", false), first);
    EXPECT_EQ(lines.width(U"Kept line", false), render::line_size(*first).first);
    EXPECT_EQ(lines.prepared, 1);
    // The same text in a right-to-left paragraph is another line.
    EXPECT_NE(lines.line(U"Kept line", true), first);
    EXPECT_NE(lines.line(U"Kept line ", false), first);
    EXPECT_EQ(lines.prepared, 3);
}

TEST(BlockLayout, TakesEachLineOnceAndPlacesTheLinesItBroke) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::DejaVuLines lines(fonts);
    layout::BlockOptions options;
    options.wraplength = 120;
    options.align = layout::Align::right;
    options.line_spacing = 1.5;
    options.colour = {10, 20, 30, 200};
    layout::LaidOutBlock block = layout::break_block(U"Lines of a block\nend", {}, options, lines);
    const int measured = lines.prepared;
    layout::place_block(block, options, {23, 28, {}}, lines);
    EXPECT_EQ(lines.prepared, measured) << "the lines drawn are the lines measured";

    ASSERT_EQ(block.breaks.size(), 3u);
    ASSERT_EQ(block.lines.size(), 3u);
    ASSERT_EQ(block.drawing.lines.size(), 3u);
    std::vector<layout::LineExtent> extents;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(block.drawing.lines[i].line, block.lines[i].get());
        EXPECT_EQ(block.extents[i].width, layout::line_extent(*block.lines[i]).width);
        extents.push_back(layout::line_extent(*block.lines[i]));
    }
    const layout::BlockGeometry geometry =
        layout::place_lines(extents, block.breaks, layout::Align::right, 120, 28, 1.5);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(block.drawing.lines[i].x, geometry.x[i]);
        EXPECT_EQ(block.drawing.lines[i].y, geometry.y[i]);
    }
    EXPECT_EQ(block.drawing.width, geometry.width);
    EXPECT_EQ(block.drawing.height, geometry.height);
    EXPECT_EQ(block.drawing.colour, options.colour);
    EXPECT_EQ(block.drawing.baseline, 23);
    EXPECT_EQ(block.line_height, 28);
}

TEST(BlockLayout, DecorationsReachIntoTheBlocksRowsOnlyWhenDrawn) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::DejaVuLines lines(fonts);
    // An underline far below the ink, on a line and on a line without ink.
    const layout::BlockMetrics metrics{23, 28, {{30, 3}, {-8, 2}}};
    for (const bool underline : {false, true}) {
        layout::BlockOptions options;
        options.effects.underline = underline;
        layout::LaidOutBlock block = layout::break_block(U"ace\n\u00A0", {}, options, lines);
        layout::place_block(block, options, metrics, lines);
        ASSERT_EQ(block.extents.size(), 2u);
        if (!underline) {
            EXPECT_EQ(block.drawing.decorations.underline, shaping::DecorationRows{});
            EXPECT_LT(block.extents[0].ink_bottom, 23 + 30);
            EXPECT_EQ(block.extents[1].ink_top, block.extents[1].ink_bottom);
            continue;
        }
        EXPECT_EQ(block.drawing.decorations.underline, (shaping::DecorationRows{30, 3}));
        EXPECT_EQ(block.extents[0].ink_bottom, 23 + 33);
        EXPECT_EQ(block.extents[1].ink_top, 23 + 30);
        EXPECT_EQ(block.extents[1].ink_bottom, 23 + 33);
        EXPECT_EQ(block.frame.height, block.drawing.height);
        EXPECT_GE(block.drawing.height, 28 + 23 + 33);
    }
}

TEST(BlockLayout, TheFrameMakesRoomForTheEffects) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::DejaVuLines lines(fonts);
    layout::BlockOptions options;
    options.effects.outline = 2.5;
    options.effects.shadow = true;
    options.effects.shadow_x = 4;
    options.effects.shadow_y = -3;
    layout::LaidOutBlock block = layout::break_block(U"Frame", {}, options, lines);
    layout::place_block(block, options, {23, 28, {}}, lines);
    const layout::EffectFrame expected = layout::frame_block(block.drawing.width, block.drawing.height, options.effects);
    EXPECT_EQ(block.frame.width, expected.width);
    EXPECT_EQ(block.frame.height, expected.height);
    EXPECT_EQ(block.frame.text_x, expected.text_x);
    EXPECT_EQ(block.frame.text_y, expected.text_y);
    EXPECT_GT(block.frame.width, block.drawing.width + 4);
}

}  // namespace
