// What a prepared line tells before it is painted: its surface's size, how far
// it is lowered to keep ink above its top (pictures of the legacy emoji engine
// included), and whether a named instance it asks for must be refused.
#include <gtest/gtest.h>

#include "prepared_lines.h"
#include "render/prepared_line.h"

namespace {

using namespace lumo;
using lumo::test::Pixels;

shaping::PreparedRun blank_run(long advance, int width) {
    shaping::PreparedRun run;
    run.advance = advance;
    run.width = width;
    run.height = 30;
    return run;
}

TEST(LineSize, IsALoneRunsSurfaceOrTheRunsSideBySideWithTheLastOnesOverhang) {
    render::PreparedLine line = test::line_of({blank_run(12, 15)}, 30);
    EXPECT_EQ(render::line_size(line), (std::pair{15L, 30L}));
    line = test::line_of({}, 30);
    EXPECT_EQ(render::line_size(line), (std::pair{1L, 30L}));
    line = test::line_of({blank_run(12, 15), blank_run(10, 14)}, 30);
    EXPECT_EQ(render::line_size(line), (std::pair{22L + 4, 30L}));
    // A line that ends short of its advance, and one that goes backwards.
    line = test::line_of({blank_run(12, 15), blank_run(10, 7)}, 30);
    EXPECT_EQ(render::line_size(line), (std::pair{22L - 3, 30L}));
    line = test::line_of({blank_run(-5, 1), blank_run(-5, 1)}, 30);
    EXPECT_EQ(render::line_size(line), (std::pair{1L + 6, 30L}));
}

TEST(NamedInstance, IsRefusedOnlyWhenTheTextDrawsWithFontsAndNoneHasIt) {
    render::PreparedLine plain, drawing, having;
    drawing.draws_with_fonts = having.draws_with_fonts = true;
    having.instance_found = true;
    const render::PreparedLine* none[] = {&plain};
    const render::PreparedLine* draws[] = {&plain, &drawing};
    const render::PreparedLine* found[] = {&drawing, &having};
    EXPECT_FALSE(render::lacks_named_instance("", draws));
    EXPECT_FALSE(render::lacks_named_instance("Bold", none));
    EXPECT_TRUE(render::lacks_named_instance("Bold", draws));
    EXPECT_FALSE(render::lacks_named_instance("Bold", found));
}

TEST(InkedRows, ReachTheLowestRowWithAnyAlphaInTheFormatsAlphaChannel) {
    constexpr shaping::PixelFormat kRgba{{0xFF000000u, 0xFF0000u, 0xFF00u, 0xFFu}, {24, 16, 8, 0}, {0, 0, 0, 0}};
    Pixels pixels(5, 8);
    EXPECT_EQ(shaping::inked_rows({pixels.target(), test::kArgb}), 0);
    pixels.values[3 * 5 + 4] = 0xFFFFFF00u;  // colour without alpha in RGBA, full alpha in ARGB
    EXPECT_EQ(shaping::inked_rows({pixels.target(), test::kArgb}), 4);
    EXPECT_EQ(shaping::inked_rows({pixels.target(), kRgba}), 0);
    pixels.values[6 * 5] = 0x01u;
    EXPECT_EQ(shaping::inked_rows({pixels.target(), kRgba}), 7);
}

TEST(RowsToKeepInk, AreNoneForALineThatFitsAndPicturesAreThenNotRead) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    shaping::PreparedRun picture = blank_run(10, 10);
    picture.picture = pictures.add(Pixels(10, 42));
    const std::vector runs{fonts.run(U"Ágy"), picture};
    EXPECT_EQ(shaping::rows_to_keep_ink(runs, pictures), 0);
    EXPECT_EQ(pictures.asked, 0);
}

TEST(RowsToKeepInk, LowerALineAsFarAsItsInkAndItsPicturesInkAllow) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    shaping::PreparedRun high = fonts.run(U"ÅÉ");
    high.baseline = 12;  // the capitals' tops and accents reach above row 0
    const shaping::RowFit fit = shaping::row_fit(high.layout->glyphs, high.baseline, high.height);
    ASSERT_GT(fit.rows_short_above, 0);
    ASSERT_GT(fit.rows_free_below, fit.rows_short_above);
    test::HeldPictures pictures;
    EXPECT_EQ(shaping::rows_to_keep_ink(std::vector{high}, pictures), fit.rows_short_above);

    // A picture inked down to 4 rows above the line's bottom leaves 4 rows to lower it.
    auto with_picture = [&](int inked) {
        shaping::PreparedRun picture = blank_run(8, 8);
        picture.height = high.height;
        Pixels pixels(8, high.height);
        for (int y = 0; y < inked; ++y) pixels.values[std::size_t(y) * 8 + 2] = 0x80FFFFFFu;
        picture.picture = pictures.add(std::move(pixels));
        return shaping::rows_to_keep_ink(std::vector{high, picture}, pictures);
    };
    EXPECT_EQ(with_picture(high.height - 4), std::min(4, fit.rows_short_above));
    EXPECT_EQ(with_picture(high.height), 0);
    EXPECT_EQ(with_picture(0), fit.rows_short_above);  // a picture without ink bounds nothing
}

}  // namespace
