// Laying out shaped runs of real fonts: advances as HarfBuzz gives them, joined
// and right-to-left scripts, ink left of the origin, empty and hostile runs.
#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "real_fonts.h"
#include "shaping/glyph_painter.h"
#include "shaping/run_layout.h"
#include "base/limits.h"

namespace {

using lumo::shaping::FontLoadError;
using lumo::shaping::HarfBuzzFont;
using lumo::shaping::layout_run;
using lumo::shaping::RunLayout;

std::vector<std::uint32_t> code_points(std::u32string_view text) { return {text.begin(), text.end()}; }

/// A run's two fonts, HarfBuzz's and FreeType's, from one file at one size.
struct RunFonts {
    std::unique_ptr<HarfBuzzFont> shaper;
    lumo::test::SizedFace raster;
    int pixel_size = 0;

    RunLayout lay_out(std::u32string_view text, lumo::shaping::LayoutError expected_error = {}) const {
        RunLayout layout;
        EXPECT_EQ(layout_run(*shaper, raster.get(), code_points(text), pixel_size, {}, layout), expected_error);
        return layout;
    }
};

/// Opens `path` at `pixel_size`, or skips the test when the font is not installed.
#define OPEN_RUN_FONTS_OR_SKIP(fonts, path, size)                                          \
    if (!lumo::test::font_installed(path)) GTEST_SKIP() << path << " is not installed"; \
    RunFonts fonts = open_run_fonts(path, size);                                           \
    ASSERT_TRUE(fonts.shaper && fonts.raster.face)

RunFonts open_run_fonts(const char* path, int pixel_size) {
    FontLoadError error;
    return {HarfBuzzFont::load(path, -1, error), lumo::test::open_sized_face(path, pixel_size), pixel_size};
}

// Expected values from `hb-shape --no-glyph-names --output-format=json` on
// DejaVu Sans (2048 units per em): the advances summed, × size / 2048, + 0.5, truncated.
struct AdvanceCase {
    const char* label;
    std::u32string_view text;
    int pixel_size;
    int total_advance;
    double second_glyph_x;  // first glyph's advance in pixels, kerning included
};
void PrintTo(const AdvanceCase& c, std::ostream* out) { *out << c.label; }

class LatinAdvance : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(LatinAdvance, IsHarfBuzzsAdvanceRoundedToPixels) {
    const AdvanceCase& c = GetParam();
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kDejaVuSans, c.pixel_size);
    const RunLayout layout = fonts.lay_out(c.text);
    EXPECT_FALSE(layout.empty);
    ASSERT_EQ(layout.glyphs.size(), c.text.size());
    EXPECT_EQ(layout.total_advance, c.total_advance);
    EXPECT_EQ(layout.logical_width, c.total_advance);
    EXPECT_DOUBLE_EQ(layout.glyphs[1].glyph_x, c.second_glyph_x);
}

INSTANTIATE_TEST_SUITE_P(DejaVuSans, LatinAdvance,
                         ::testing::Values(AdvanceCase{"Hello24", U"Hello", 24, 61, 1540 * 24 / 2048.0},
                                           AdvanceCase{"Hello13RoundsUp", U"Hello", 13, 33, 1540 * 13 / 2048.0},
                                           AdvanceCase{"KernedType24", U"Type", 24, 55, 932 * 24 / 2048.0},
                                           AdvanceCase{"Jo48", U"jo", 48, 43, 569 * 48 / 2048.0}),
                         [](const auto& info) { return std::string(info.param.label); });

struct RightToLeftCase {
    const char* label;
    const char* font_path;
    std::u32string_view word;
    int total_advance;  // at 32 pixels, from hb-shape
};
void PrintTo(const RightToLeftCase& c, std::ostream* out) { *out << c.label; }

class RightToLeftWord : public ::testing::TestWithParam<RightToLeftCase> {};

TEST_P(RightToLeftWord, IsLaidOutLastLetterFirst) {
    const RightToLeftCase& c = GetParam();
    OPEN_RUN_FONTS_OR_SKIP(fonts, c.font_path, 32);
    const RunLayout layout = fonts.lay_out(c.word);
    ASSERT_GE(layout.glyphs.size(), 2u);
    EXPECT_EQ(layout.total_advance, c.total_advance);
    EXPECT_EQ(layout.glyphs.front().cluster, c.word.size() - 1);
    EXPECT_EQ(layout.glyphs.back().cluster, 0u);
    for (std::size_t i = 1; i < layout.glyphs.size(); ++i) {
        EXPECT_LT(layout.glyphs[i].cluster, layout.glyphs[i - 1].cluster);
        EXPECT_GT(layout.glyphs[i].glyph_x, layout.glyphs[i - 1].glyph_x);
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, RightToLeftWord,
                         ::testing::Values(RightToLeftCase{"ArabicSalam", lumo::test::kNotoSansArabic,
                                                           U"\u0633\u0644\u0627\u0645", 60},
                                           RightToLeftCase{"HebrewShalom", lumo::test::kNotoSansHebrew,
                                                           U"\u05E9\u05DC\u05D5\u05DD", 71}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ArabicRun, JoinsLettersIntoOtherGlyphsThanTheirIsolatedForms) {
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kNotoSansArabic, 32);
    const std::u32string_view word = U"\u0633\u0644\u0627\u0645";  // seen lam alef meem
    const RunLayout joined = fonts.lay_out(word);
    // Lam and alef become one ligature; seen takes its initial form, drawn last (leftmost).
    EXPECT_LT(joined.glyphs.size(), word.size());
    const RunLayout isolated_seen = fonts.lay_out(word.substr(0, 1));
    ASSERT_EQ(isolated_seen.glyphs.size(), 1u);
    ASSERT_EQ(joined.glyphs.back().cluster, 0u);
    EXPECT_NE(joined.glyphs.back().glyph_id, isolated_seen.glyphs[0].glyph_id);
}

TEST(RunExtent, InkLeftOfTheOriginShiftsTheRunAndWidensItsSurface) {
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kDejaVuSans, 48);
    const RunLayout layout = fonts.lay_out(U"jo");  // the j's tail reaches left of the pen
    ASSERT_LT(layout.glyphs[0].bitmap->left, 0);
    EXPECT_DOUBLE_EQ(layout.start_x, -layout.glyphs[0].bitmap->left);
    EXPECT_EQ(layout.total_advance, 43);
    EXPECT_GT(layout.surface_width, layout.logical_width);

    // Painted with the shift, the tail's leftmost ink lands in column 0 instead of off the surface.
    std::vector<std::uint32_t> pixels(std::size_t(layout.surface_width) * 64, 0);
    const lumo::shaping::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), layout.surface_width, 64,
                                            std::ptrdiff_t(layout.surface_width) * 4};
    lumo::shaping::ColorTable opaque;
    for (unsigned alpha = 0; alpha < 256; ++alpha) opaque[alpha] = 0xFF000000u | alpha;
    const lumo::shaping::PixelFormat low_byte_alpha{{0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu}, {24, 16, 8, 0}, {}};
    lumo::shaping::paint_glyphs(target, layout.glyphs, opaque, low_byte_alpha, true, 48, layout.start_x);
    bool column_zero_inked = false;
    for (int row = 0; row < 64; ++row) column_zero_inked |= pixels[std::size_t(row) * layout.surface_width] != 0;
    EXPECT_TRUE(column_zero_inked);
}

TEST(RunExtent, EmptyTextIsAnEmptyRunOnePixelWide) {
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kDejaVuSans, 24);
    const RunLayout layout = fonts.lay_out(U"");
    EXPECT_TRUE(layout.empty);
    EXPECT_TRUE(layout.glyphs.empty());
    EXPECT_EQ(std::tie(layout.total_advance, layout.logical_width, layout.surface_width), std::make_tuple(0, 1, 1));
}

TEST(RunLimits, OverlongTextFailsBeforeShaping) {
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kDejaVuSans, 24);
    const std::u32string text(lumo::kMaxRunCodePoints + 1, U'a');
    EXPECT_TRUE(fonts.lay_out(text, {lumo::shaping::LayoutError::Kind::run_too_large}).glyphs.empty());
}

TEST(RunLimits, GlyphTooLargeToRenderFailsTheRunAndLeavesItEmpty) {
    OPEN_RUN_FONTS_OR_SKIP(fonts, lumo::test::kDejaVuSans, 60000);
    const RunLayout layout = fonts.lay_out(U"aW", {lumo::shaping::LayoutError::Kind::glyph, FT_Err_Raster_Overflow});
    EXPECT_TRUE(layout.empty);
    EXPECT_TRUE(layout.glyphs.empty());
}

struct LoadCase {
    const char* label;
    const char* path;
    int face_index;
    int error_number;  // 0 for success or a font HarfBuzz cannot use
    bool loads;
};
void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.label; }

class HarfBuzzFontLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(HarfBuzzFontLoad, ReportsWhyAFontCannotBeUsed) {
    const LoadCase& c = GetParam();
    if (c.loads && !lumo::test::font_installed(c.path)) GTEST_SKIP() << c.path << " is not installed";
    FontLoadError error;
    const auto font = HarfBuzzFont::load(c.path, c.face_index, error);
    EXPECT_EQ(font != nullptr, c.loads) << error.message;
    EXPECT_EQ(error.error_number, c.error_number);
    if (font) EXPECT_EQ(font->upem(), 2048u);
    if (!font) EXPECT_FALSE(error.message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, HarfBuzzFontLoad,
    ::testing::Values(LoadCase{"SingleFontIndexMinusOne", lumo::test::kDejaVuSans, -1, 0, true},
                      LoadCase{"SingleFontIndexZero", lumo::test::kDejaVuSans, 0, 0, true},
                      LoadCase{"IndexPastTheFile", lumo::test::kDejaVuSans, 1, 0, false},
                      LoadCase{"MissingFile", "/nonexistent/lumo/font.ttf", 0, ENOENT, false},
                      LoadCase{"Directory", "/usr", 0, EISDIR, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(HarfBuzzFontBytes, GarbageMakesNoUsableFace) {
    FontLoadError error;
    std::vector<std::uint8_t> garbage(4096, 0x5A);
    EXPECT_EQ(HarfBuzzFont::from_bytes(std::move(garbage), 0, error), nullptr);
    EXPECT_EQ(error.error_number, 0);
    EXPECT_FALSE(error.message.empty());
}

}  // namespace

TEST(RunExtent, InkReachTakesTheHighestTopAndLowestBottomWithOffsets) {
    auto bitmap = [](int top, int rows) {
        auto made = std::make_shared<lumo::shaping::GlyphBitmap>();
        made->top = top;
        made->rows = rows;
        return made;
    };
    RunLayout layout;
    layout.glyphs.push_back({bitmap(10, 12), 0.0, 0.0});   // 10 above, 2 below
    layout.glyphs.push_back({bitmap(4, 4), 5.0, 8.0});     // a mark lifted by 8: 12 above
    layout.glyphs.push_back({bitmap(3, 9), 9.0, -1.0});    // 2 above, 7 below
    const lumo::shaping::InkReach reach = lumo::shaping::ink_reach(layout);
    EXPECT_DOUBLE_EQ(reach.above, 12.0);
    EXPECT_DOUBLE_EQ(reach.below, 7.0);
    EXPECT_DOUBLE_EQ(lumo::shaping::ink_reach(RunLayout{}).above, 0.0);
}
