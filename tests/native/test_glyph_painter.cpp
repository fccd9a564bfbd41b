// Painting glyph bitmaps into 32-bit pixels: coverage through the colour table,
// 1-bit rows, bottom-up bitmaps, rounding, clipping, overlap and broken bitmaps;
// the rows a painting reaches.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "shaping/glyph_painter.h"

namespace {

/// The coverage painters' instruction widths, each tried in turn: a
/// processor takes the widest it has, so each must paint what the others do.
constexpr lumo::shaping::SpanInstructions kEveryWidth[] = {
    lumo::shaping::SpanInstructions::avx512, lumo::shaping::SpanInstructions::avx2,
    lumo::shaping::SpanInstructions::sse2};

class SpanWidth {
public:
    explicit SpanWidth(lumo::shaping::SpanInstructions widest) { lumo::shaping::cap_span_instructions(widest); }
    ~SpanWidth() { lumo::shaping::cap_span_instructions(lumo::shaping::SpanInstructions::avx512); }
};

constexpr lumo::shaping::PixelFormat kArgb{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24},
                                           {0, 0, 0, 0}};

/// One colour at every coverage, its alpha in the top byte.
lumo::shaping::ColorTable one_colour_in_argb() {
    lumo::shaping::ColorTable colors;
    for (unsigned alpha = 0; alpha < 256; ++alpha) colors[alpha] = 0x00336699u | (alpha << 24);
    return colors;
}


using lumo::shaping::ColorTable;
using lumo::shaping::paint_glyphs;
using lumo::shaping::painted_rows;
using lumo::shaping::PixelTarget;
using lumo::shaping::PlacedGlyph;

constexpr std::uint32_t kUntouched = 0x5E5E5E00u;  // no alpha: reads as no ink
constexpr std::uint32_t kPainted = 0xC0000000u;  // table entry a is kPainted | a
// Red, green and blue in the top three bytes, alpha in the lowest.
constexpr lumo::shaping::PixelFormat kLowByteAlpha{{0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu}, {24, 16, 8, 0},
                                                  {0, 0, 0, 0}};
constexpr int _ = -1;                             // expected: pixel left alone
constexpr int kRowPaddingPixels = 2;              // rows are pitched wider than the image, as SDL may

PlacedGlyph glyph(std::vector<std::uint8_t> bytes, int width, int rows, int pitch, int left, int top,
                  double glyph_x = 0.0, double y_offset = 0.0) {
    auto bitmap = std::make_shared<lumo::shaping::GlyphBitmap>(
        lumo::shaping::GlyphBitmap{std::move(bytes), width, rows, pitch, left, top});
    return {bitmap, glyph_x, y_offset};
}

/// Paints into a fresh width × height target and reads back each pixel's
/// coverage, or -1 where nothing was written. Row padding must stay untouched.
std::vector<int> paint(int width, int height, const std::vector<PlacedGlyph>& glyphs, bool anti_aliased,
                       int baseline_y, double start_x) {
    const int pitch_pixels = width + kRowPaddingPixels;
    std::vector<std::uint32_t> pixels(std::size_t(pitch_pixels) * height, kUntouched);
    ColorTable colors;
    for (unsigned alpha = 0; alpha < 256; ++alpha) colors[alpha] = kPainted | alpha;
    const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height,
                             std::ptrdiff_t(pitch_pixels) * 4};
    paint_glyphs(target, glyphs, colors, kLowByteAlpha, anti_aliased, baseline_y, start_x);

    std::vector<int> coverage;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < pitch_pixels; ++column) {
            const std::uint32_t pixel = pixels[std::size_t(row) * pitch_pixels + column];
            if (column >= width) {
                EXPECT_EQ(pixel, kUntouched) << "row padding written at row " << row;
                continue;
            }
            coverage.push_back(pixel == kUntouched ? _ : int(pixel ^ kPainted));
        }
    }
    return coverage;
}

struct PaintCase {
    const char* label;
    bool anti_aliased;
    int width, height, baseline_y;
    double start_x;
    std::vector<PlacedGlyph> glyphs;
    std::vector<int> expected;  // coverage per pixel, row by row
};
void PrintTo(const PaintCase& c, std::ostream* out) { *out << c.label; }

class Painting : public ::testing::TestWithParam<PaintCase> {};

TEST_P(Painting, WritesExactlyTheExpectedPixels) {
    const PaintCase& c = GetParam();
    EXPECT_EQ(paint(c.width, c.height, c.glyphs, c.anti_aliased, c.baseline_y, c.start_x), c.expected);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Rules, Painting,
    ::testing::Values(
        PaintCase{"CoverageIndexesTheTableAndZeroWritesNothing", true, 4, 2, 1, 0.0,
                  {glyph({255, 1, 0}, 3, 1, 3, 0, 1)},
                  {255, 1, _, _,
                   _, _, _, _}},
        // a + b - a*b/255: a faint edge over ink keeps it dark, two half edges make more than either.
        PaintCase{"OverlappingInkCombinesAsOneShapeOverTheOther", true, 4, 1, 1, 0.0,
                  {glyph({200, 200, 128}, 3, 1, 3, 0, 1), glyph({5, 0, 128}, 3, 1, 3, 0, 1)},
                  {201, 200, 192, _}},
        PaintCase{"SolidInkStaysSolidUnderAnyEdge", true, 2, 1, 1, 0.0,
                  {glyph({255, 255}, 2, 1, 2, 0, 1), glyph({1, 254}, 2, 1, 2, 0, 1)},
                  {255, 255}},
        PaintCase{"OverlappingMonoGlyphsStaySolid", false, 2, 1, 1, 0.0,
                  {glyph({0xC0}, 2, 1, 1, 0, 1), glyph({0x80}, 1, 1, 1, 0, 1)},
                  {255, 255}},
        PaintCase{"MonoReadsTheMostSignificantBitFirst", false, 12, 1, 1, 0.0,
                  {glyph({0x80, 0x40}, 10, 1, 2, 0, 1)},
                  {255, _, _, _, _, _, _, _, _, 255, _, _}},
        PaintCase{"NegativePitchDrawsTheLastStoredRowOnTop", true, 2, 2, 2, 0.0,
                  {glyph({1, 2, 3, 4}, 2, 2, -2, 0, 2)},
                  {3, 4,
                   1, 2}},
        PaintCase{"PixelsOutsideTheTargetAreDropped", true, 4, 2, 1, 0.0,
                  // rows -2 + 0.5 -> -1 (dropped) and -1 + 0.5 -> 0; column 4 is past the edge
                  {glyph({1, 2, 3, 4, 5, 6}, 3, 2, 3, 2, 3)},
                  {_, _, 4, 5,
                   _, _, _, _}},
        PaintCase{"TruncatesTowardZeroLeftOfTheTarget", true, 3, 1, 1, 0.0,
                  // columns -1.8 + 0.5 -> -1 (dropped), -0.8 + 0.5 -> 0, 0.2 + 0.5 -> 0 (no ink)
                  {glyph({10, 20, 0}, 3, 1, 3, 0, 1, -1.8)},
                  {20, _, _}},
        PaintCase{"HalfPixelRoundsUp", true, 4, 1, 1, 0.0,
                  {glyph({7}, 1, 1, 1, 0, 1, 0.49), glyph({9}, 1, 1, 1, 0, 1, 2.5)},
                  {7, _, _, 9}},
        PaintCase{"StartXShiftsRightAndYOffsetLifts", true, 3, 2, 2, 1.0,
                  {glyph({8}, 1, 1, 1, 0, 1, 0.0, 1.0)},
                  {_, 8, _,
                   _, _, _}},
        PaintCase{"InconsistentBitmapsAreSkippedWhole", true, 3, 1, 1, 0.0,
                  {glyph({9}, 1, 2, 1, 0, 1),            // two rows declared, one stored
                   glyph({9, 9, 9, 9}, 3, 2, 2, 0, 1),   // wider than its pitch
                   glyph({9}, 1, 1, 0, 0, 1),            // no pitch
                   glyph({}, 0, 1, 1, 0, 1),             // no width
                   glyph({6}, 1, 1, 1, 2, 1)},           // a sound glyph still follows
                  {_, _, 6}},
        PaintCase{"MonoWiderThanItsRowsIsSkipped", false, 3, 1, 1, 0.0,
                  {glyph({0xFF}, 9, 1, 1, 0, 1)},
                  {_, _, _}},
        PaintCase{"FarAwayAndNaNPositionsDrawNothing", true, 2, 1, 1, 0.0,
                  {glyph({1}, 1, 1, 1, 0, 1, 1e300), glyph({1}, 1, 1, 1, 0, 1, -1e300),
                   glyph({1}, 1, 1, 1, 0, 1, 0.0, 1e300), glyph({1}, 1, 1, 1, 0, 1, kNaN),
                   glyph({1}, 1, 1, 1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())},
                  {_, _}}),
    [](const auto& info) { return std::string(info.param.label); });

// A colour glyph (BGRA, straight alpha) keeps its own colours and is drawn
// over what the run already painted.
TEST(ColourGlyphs, AreStoredWithStraightAlphaAndDrawnOverEarlierInk) {
    std::vector<std::uint32_t> pixels(2, kUntouched);
    const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), 2, 1, 8};
    ColorTable colors;
    for (unsigned alpha = 0; alpha < 256; ++alpha) colors[alpha] = 0x00FF0000u | alpha;  // the run's green
    auto colour_glyph = [](std::vector<std::uint8_t> bgra, int width) {
        auto bitmap = std::make_shared<lumo::shaping::GlyphBitmap>(
            lumo::shaping::GlyphBitmap{std::move(bgra), width, 1, width * 4, 0, 1, true});
        return PlacedGlyph{bitmap, 0.0, 0.0};
    };
    // Half-transparent red in column 0, then a coverage glyph over column 1,
    // then half-transparent blue over both.
    const std::vector<PlacedGlyph> glyphs{colour_glyph({0, 0, 255, 128}, 1), glyph({0, 255}, 2, 1, 2, 0, 1),
                                          colour_glyph({255, 0, 0, 128, 255, 0, 0, 128}, 2)};
    paint_glyphs(target, std::vector<PlacedGlyph>(glyphs.begin(), glyphs.begin() + 1), colors, kLowByteAlpha, true, 1,
                 0.0);
    EXPECT_EQ(pixels[0], 0xFF000080u);  // red at full strength, alpha 128: not the run's colour
    paint_glyphs(target, glyphs, colors, kLowByteAlpha, true, 1, 0.0);
    // Column 0: blue over red, both half: alpha 192, blue 2/3, red 1/3.
    EXPECT_EQ(pixels[0] & 0xFFu, 192u);
    EXPECT_NEAR(double((pixels[0] >> 24) & 0xFF), 85.0, 1.0);
    EXPECT_NEAR(double((pixels[0] >> 8) & 0xFF), 170.0, 1.0);
}

TEST(ColourGlyphs, GoOverAsTheyAreIntoSurfacesThatStoreBgra) {
    // Alpha in the top byte: pixel values stored as B, G, R, A bytes, as pygame's surfaces are here.
    const lumo::shaping::PixelFormat argb{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {}};
    std::vector<std::uint32_t> pixels(3, 0);
    const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), 3, 1, 12};
    auto bitmap = std::make_shared<lumo::shaping::GlyphBitmap>(
        lumo::shaping::GlyphBitmap{{10, 20, 30, 40, 0, 0, 0, 0, 50, 60, 70, 255}, 3, 1, 12, 0, 1, true});
    const ColorTable colors{};
    paint_glyphs(target, std::vector<PlacedGlyph>{{bitmap, 0.0, 0.0}}, colors, argb, true, 1, 0.0);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0x281E140Au, 0u, 0xFF463C32u}));
}

TEST(PaintTarget, TooNarrowAPitchIsRefused) {
    std::vector<std::uint32_t> pixels(4, kUntouched);
    ColorTable colors{};
    colors.fill(kPainted);
    const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), 4, 1, 8};
    const std::vector<PlacedGlyph> glyphs{glyph({255, 255, 255, 255}, 4, 1, 4, 0, 1)};
    paint_glyphs(target, glyphs, colors, kLowByteAlpha, true, 1, 0.0);
    EXPECT_EQ(pixels, std::vector<std::uint32_t>(4, kUntouched));
}

struct RowsCase {
    const char* label;
    bool anti_aliased;
    int height, baseline_y;
    std::vector<PlacedGlyph> glyphs;
};
void PrintTo(const RowsCase& c, std::ostream* out) { *out << c.label; }

class PaintedRows : public ::testing::TestWithParam<RowsCase> {};

// A run painted on a canvas that holds only its rows (a line of a tall block)
// must come out as it would on the whole target.
TEST_P(PaintedRows, HoldEveryWrittenRowAndPaintTheSameOnTheirOwn) {
    const RowsCase& c = GetParam();
    constexpr int kWidth = 3;
    const std::vector<int> whole = paint(kWidth, c.height, c.glyphs, c.anti_aliased, c.baseline_y, 0.0);
    const auto rows = painted_rows(c.glyphs, c.anti_aliased, c.baseline_y, c.height);
    const int first = std::min(rows.first, c.height), end = std::max(rows.end, first);
    for (int row = 0; row < c.height; ++row) {
        if (row >= first && row < end) continue;
        for (int column = 0; column < kWidth; ++column)
            EXPECT_EQ(whole[std::size_t(row) * kWidth + column], _) << "row " << row << " written, outside the rows";
    }
    if (first >= end) return;
    const std::vector<int> alone = paint(kWidth, end - first, c.glyphs, c.anti_aliased, c.baseline_y - first, 0.0);
    EXPECT_EQ(alone, std::vector<int>(whole.begin() + std::ptrdiff_t(first) * kWidth,
                                      whole.begin() + std::ptrdiff_t(end) * kWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaintedRows,
    ::testing::Values(
        RowsCase{"NoGlyphsNoRows", true, 4, 2, {}},
        // Rows at -1.3 and -0.3 (-0.8 and 0.2 after adding 0.5) both land in row 0.
        RowsCase{"TheTwoRowsAroundTheTopEdgeStartAtRowZero", true, 6, 2,
                 {glyph({1, 2, 3}, 1, 3, 1, 0, 3, 0.0, 0.3)}},
        RowsCase{"FractionalOffsetsWellBelowTheTop", true, 12, 8,
                 {glyph({1, 2, 3}, 1, 3, 1, 0, 3, 0.0, 0.3), glyph({4, 5}, 1, 2, 1, 1, 1, 0.0, -2.6)}},
        RowsCase{"OverlappingGlyphsCombineAsOnTheWholeTarget", true, 10, 7,
                 {glyph({200, 100, 50, 25}, 2, 2, 2, 0, 2), glyph({100, 200, 25, 50}, 2, 2, 2, 1, 3)}},
        RowsCase{"RowsPastEitherEdgeAreLeftOut", true, 5, 4,
                 {glyph({1, 2, 3, 4, 5, 6, 7, 8}, 1, 8, 1, 0, 9), glyph({9}, 1, 1, 1, 0, -3),
                  glyph({9}, 1, 1, 1, 0, 12)}},
        RowsCase{"BottomUpMonoBitmaps", false, 9, 6, {glyph({0x80, 0x00, 0xC0}, 2, 3, -1, 0, 2)}},
        RowsCase{"SkippedBitmapsReachNoRows", true, 9, 6, {glyph({9}, 1, 2, 1, 0, 1), glyph({}, 0, 1, 1, 0, 1)}}),
    [](const auto& info) { return std::string(info.param.label); });

// A target known to be blank is written without being read first: the
// pixels must be the very ones painting over a zeroed target gives otherwise,
// glyphs overlapping, clipped on every side and rounding onto one row; and
// they lie in the columns ink_columns() gives.
TEST(BlankTarget, PaintsWhatPaintingOverZeroesPaints) {
    const ColorTable colors = one_colour_in_argb();
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> byte(0, 255), size(1, 23);
    std::uniform_real_distribution<double> place(-6.0, 30.0);
    for (int trial = 0; trial < 400 * 3; ++trial) {
        const SpanWidth width_in_use(kEveryWidth[trial % 3]);
        std::vector<PlacedGlyph> glyphs;
        for (int g = 0; g < 6; ++g) {
            const int width = size(random), rows = size(random), pitch = width + (trial % 3);
            std::vector<std::uint8_t> bytes(std::size_t(pitch) * rows);
            for (auto& value : bytes) value = byte(random) < 90 ? 0 : std::uint8_t(byte(random));
            glyphs.push_back(glyph(std::move(bytes), width, rows, trial % 5 == 0 ? -pitch : pitch, 0,
                                   int(place(random)), place(random), place(random) / 4.0));
        }
        constexpr int kWidth = 32, kHeight = 28;
        std::vector<std::uint32_t> read_first(std::size_t(kWidth) * kHeight, 0), blank(read_first);
        const PixelTarget first{reinterpret_cast<std::uint8_t*>(read_first.data()), kWidth, kHeight, kWidth * 4};
        const PixelTarget second{reinterpret_cast<std::uint8_t*>(blank.data()), kWidth, kHeight, kWidth * 4};
        paint_glyphs(first, glyphs, colors, kArgb, true, 14, 0.25, false);
        paint_glyphs(second, glyphs, colors, kArgb, true, 14, 0.25, true);
        ASSERT_EQ(read_first, blank) << "trial " << trial;
        // Every column written lies where ink_columns() says the glyphs land.
        const lumo::shaping::PaintedColumns columns = lumo::shaping::ink_columns(glyphs, true, 0.25);
        for (std::size_t i = 0; i < blank.size(); ++i)
            if (blank[i] != 0) ASSERT_TRUE(int(i % kWidth) >= columns.left && int(i % kWidth) < columns.right);
    }
}

// Rows of coverage of any length, with long empty stretches, painted over a
// blank target and over pixels already there: each pixel takes the colour at
// its coverage, and coverage 0 leaves it as it was.
TEST(CoverageRows, EveryPixelIsItsCoverageOrLeftAsItWas) {
    const ColorTable colors = one_colour_in_argb();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), length(1, 90), offset(-5, 5);
    for (int trial = 0; trial < 600 * 3; ++trial) {
        const SpanWidth width_in_use(kEveryWidth[trial % 3]);
        const int width = length(random), rows = 3, x = offset(random), y = offset(random) / 2;
        std::vector<std::uint8_t> coverage(std::size_t(width) * rows);
        // Stretches of zeros long enough to fill whole 16-pixel steps, and scattered ink.
        for (std::size_t i = 0; i < coverage.size(); ++i)
            coverage[i] = (i / 20) % 2 == 0 || byte(random) < 100 ? 0 : std::uint8_t(byte(random));
        constexpr int kWidth = 96, kHeight = 6;
        for (const bool blank : {true, false}) {
            std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight, blank ? 0u : 0x80102030u);
            const std::vector<std::uint32_t> before = pixels;
            const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), kWidth, kHeight, kWidth * 4};
            ASSERT_TRUE(lumo::shaping::paint_coverage(target, coverage.data(), width, width, rows, x, y, colors, kArgb,
                                                      blank));
            for (int ty = 0; ty < kHeight; ++ty)
                for (int tx = 0; tx < kWidth; ++tx) {
                    const int cx = tx - x, cy = ty - y;
                    const bool inside = cx >= 0 && cx < width && cy >= 0 && cy < rows;
                    const std::uint8_t value = inside ? coverage[std::size_t(cy) * width + cx] : 0;
                    const std::uint32_t expected = value != 0 ? colors[value] : before[std::size_t(ty) * kWidth + tx];
                    ASSERT_EQ(pixels[std::size_t(ty) * kWidth + tx], expected)
                        << "trial " << trial << " blank " << blank << " at " << tx << "," << ty;
                }
        }
    }
}

}  // namespace
