// A line painted from its runs gives the pixels that blitting each run's own
// surface side by side gives: overlapping runs, pictures the legacy emoji
// engine drew, lines placed on a block over the ink of lines before them.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "prepared_lines.h"
#include "render/line_painter.h"
#include "shaping/pixel_blend.h"

namespace {

using namespace lumo;
using lumo::test::kArgb;
using lumo::test::Pixels;

/// The run's own surface, as the renderer painted it before lines were composed.
Pixels own_surface(const shaping::PreparedRun& run) {
    Pixels own(run.width, run.height);
    if (run.layout)
        shaping::paint_glyphs(own.target(), run.layout->glyphs,
                              shaping::color_table(kArgb, run.rgb[0], run.rgb[1], run.rgb[2]), kArgb,
                              run.anti_aliased, run.baseline, run.layout->start_x, true);
    return own;
}

/// A picture of `width` x `height` with ink of every alpha in rows [0, inked).
Pixels picture_pixels(int width, int height, int inked, unsigned seed) {
    Pixels picture(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < inked; ++y)
        for (int x = 0; x < width; ++x)
            picture.values[std::size_t(y) * width + x] = (random() % 256) << 24 | (random() & 0xFFFFFFu);
    return picture;
}

/// The line as the runs' own surfaces (or pictures) blended at their pens from (0, y).
Pixels blitted(const render::PreparedLine& line, test::HeldPictures& pictures, int width, int height, int y) {
    Pixels expected(width, height);
    long pen = 0;
    for (const shaping::PreparedRun& run : line.runs) {
        if (run.has_picture()) {
            const shaping::RunPicture& picture = pictures.picture(std::size_t(run.picture));
            shaping::blend_pixels(expected.target(), reinterpret_cast<const std::uint32_t*>(picture.pixels.pixels),
                                  picture.pixels.width, picture.pixels.height, picture.pixels.pitch_bytes / 4,
                                  int(pen), y, kArgb);
        } else {
            Pixels own = own_surface(run);
            shaping::blend_pixels(expected.target(), own.values.data(), own.width, own.height, own.width, int(pen), y,
                                  kArgb);
        }
        pen += run.advance;
    }
    return expected;
}

struct LineCase {
    const char* name;
    std::vector<std::u32string> words;
    int overlap;         // pixels each run is pulled back over the one before
    bool with_picture;   // a picture between the first two runs
};

class PaintedLines : public testing::TestWithParam<LineCase> {};

TEST_P(PaintedLines, AreTheRunsOwnSurfacesBlittedSideBySide) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    const LineCase& given = GetParam();
    test::HeldPictures pictures;
    std::vector<shaping::PreparedRun> runs;
    for (const std::u32string& word : given.words) {
        runs.push_back(fonts.run(word, {std::uint8_t(40 * runs.size()), 200, 90}));
        if (runs.size() > 1) runs[runs.size() - 2].advance -= given.overlap;
        if (given.with_picture && runs.size() == 1) {
            shaping::PreparedRun picture;
            picture.width = 17;
            picture.height = test::DejaVuRuns::kLineHeight;
            picture.advance = 15;
            picture.picture = pictures.add(picture_pixels(17, picture.height, 30, 5));
            runs.push_back(picture);
        }
    }
    const render::PreparedLine line = test::line_of(runs);
    const auto [width, height] = render::line_size(line);
    Pixels painted{int(width), int(height)};
    render::InkedRows inked;
    ASSERT_TRUE(render::paint_runs(painted.target(), kArgb, line.runs, pictures, 0, 0, true, inked));
    const Pixels expected = blitted(line, pictures, int(width), int(height), 0);
    EXPECT_EQ(painted.values, expected.values);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PaintedLines,
    testing::Values(LineCase{"words_and_spaces", {U"Hello", U" ", U"world"}, 0, false},
                    LineCase{"overhanging_letters", {U"f", U"j", U"f", U"T", U"y"}, 4, false},
                    LineCase{"runs_over_each_other", {U"WAVE", U"gjy", U"ÅÉ"}, 12, false},
                    LineCase{"a_picture_between_words", {U"Ag", U"yes"}, 0, true},
                    LineCase{"a_picture_under_the_next_word", {U"Ag", U"yes"}, 9, true}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(PaintRuns, LeavesFormatsItCannotBlendToTheHost) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    constexpr shaping::PixelFormat kAbgr{{0xFFu, 0xFF00u, 0xFF0000u, 0xFF000000u}, {0, 8, 16, 24}, {0, 0, 0, 0}};
    constexpr shaping::PixelFormat kNoAlpha{{0xFF0000u, 0xFF00u, 0xFFu, 0u}, {16, 8, 0, 0}, {0, 0, 0, 8}};
    shaping::PreparedRun picture;
    picture.width = 4;
    picture.height = test::DejaVuRuns::kLineHeight;
    picture.picture = pictures.add(picture_pixels(4, picture.height, 10, 1), kAbgr);
    Pixels line(80, 40);
    render::InkedRows inked;
    EXPECT_FALSE(render::paint_runs(line.target(), kArgb, std::vector{fonts.run(U"ab"), picture}, pictures, 0, 0,
                                    true, inked));
    EXPECT_FALSE(render::paint_runs(line.target(), kNoAlpha, std::vector{fonts.run(U"ab")}, pictures, 0, 0, true,
                                    inked));
    EXPECT_EQ(line.values, Pixels(80, 40).values);
}

TEST(PaintRuns, OnABlockBlendOverTheLinesAboveAndKeepInkAboveTheirTop) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    // The second line starts 12 rows down, inside the first one's descenders,
    // and its capitals' accents reach above its own top.
    const std::vector first{fonts.run(U"gjpqy", {255, 0, 0})};
    std::vector second{fonts.run(U"ÅgÉÎ", {0, 0, 255})};
    second[0].baseline = 12;
    Pixels block(90, 60);
    render::InkedRows inked;
    ASSERT_TRUE(render::paint_runs(block.target(), kArgb, first, pictures, 3, 0, false, inked));
    const long first_rows = inked.rows;
    EXPECT_GT(first_rows, 23);  // below the baseline: the descenders
    ASSERT_TRUE(render::paint_runs(block.target(), kArgb, second, pictures, 3, 12, false, inked));
    EXPECT_GT(inked.rows, first_rows);

    // Each line on a block of its own, the second then blended over the first.
    Pixels alone_first(90, 60), alone_second(90, 60);
    render::InkedRows unused;
    render::paint_runs(alone_first.target(), kArgb, first, pictures, 3, 0, false, unused);
    unused = {};
    render::paint_runs(alone_second.target(), kArgb, second, pictures, 3, 12, false, unused);
    shaping::blend_pixels(alone_first.target(), alone_second.values.data(), 90, 60, 90, 0, 0, kArgb);
    EXPECT_EQ(block.values, alone_first.values);
    // The ring of the Å stands above row 12, where the line starts.
    bool inked_above = false;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 90; ++x) inked_above = inked_above || (alone_second.at(x, y) >> 24) != 0;
    EXPECT_TRUE(inked_above);
}

// Lines that share rows but not columns (the pieces of a line moved up and
// down by different amounts) are painted straight; lines that reach ink of
// earlier ones are blended over it, and so is a run whose surface (trailing
// spaces here) spans earlier ink its glyphs miss. Whatever the processor's
// painting width, and once runs are painted from strips, the block is what
// blending each line, painted alone, over the ones before gives.
TEST(PaintRuns, LinesSharingRowsButNotColumnsPaintAsBlendingEachAlone) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    const std::vector<std::tuple<shaping::PreparedRun, long, long>> lines{
        {fonts.run(U"gjy", {255, 0, 0}), 2, 0},        // descenders down to row ~28
        {fonts.run(U"Tk", {0, 200, 0}), 50, 3},        // the same rows, other columns
        {fonts.run(U"l       ", {0, 0, 255}), 40, 1},  // spaces over the "Tk"
        {fonts.run(U"ÅÉ", {250, 250, 0}), 8, 14},      // over the first line's descenders
    };
    for (const auto width : {shaping::SpanInstructions::avx512, shaping::SpanInstructions::avx2,
                             shaping::SpanInstructions::sse2}) {
        shaping::cap_span_instructions(width);
        for (int round = 0; round < 3; ++round) {
            Pixels block(140, 70), expected(140, 70);
            render::InkedRows inked;
            for (const auto& [run, x, y] : lines) {
                ASSERT_TRUE(render::paint_runs(block.target(), kArgb, std::vector{run}, pictures, x, y, false, inked));
                Pixels alone(140, 70);
                render::InkedRows fresh;
                render::paint_runs(alone.target(), kArgb, std::vector{run}, pictures, x, y, false, fresh);
                shaping::blend_pixels(expected.target(), alone.values.data(), 140, 70, 140, 0, 0, kArgb);
            }
            EXPECT_EQ(block.values, expected.values) << "width " << int(width) << " round " << round;
        }
    }
    shaping::cap_span_instructions(shaping::SpanInstructions::avx512);
}

TEST(PaintRuns, ALineStartingOutsideTheSurfacePaintsNothing) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    Pixels line(30, 20);
    render::InkedRows inked;
    for (const auto& [x, y] : {std::pair{-1L, 0L}, {0L, -1L}, {30L, 0L}, {0L, 20L}})
        EXPECT_TRUE(render::paint_runs(line.target(), kArgb, std::vector{fonts.run(U"Hi")}, pictures, x, y, false,
                                       inked));
    EXPECT_EQ(line.values, Pixels(30, 20).values);
    EXPECT_EQ(inked.rows, 0);
}

TEST(PlacePixels, BlendsPiecesInOrderAsBlitsWould) {
    Pixels first = picture_pixels(6, 4, 4, 3), second = picture_pixels(5, 4, 3, 4);
    const render::PlacedPixels pieces[] = {{first.target(), 0}, {second.target(), 4}, {first.target(), 9}};
    Pixels placed(15, 4), blended(15, 4);
    render::place_pixels(placed.target(), kArgb, pieces);
    for (const render::PlacedPixels& piece : pieces)
        shaping::blend_pixels(blended.target(), reinterpret_cast<const std::uint32_t*>(piece.pixels.pixels),
                              piece.pixels.width, piece.pixels.height, piece.pixels.width, int(piece.pen), 0, kArgb);
    EXPECT_EQ(placed.values, blended.values);
}

}  // namespace
