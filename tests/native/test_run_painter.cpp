// A run painted from its strip of coverage gives the pixels, and reports the
// columns and rows, that painting its glyphs one by one gives: real words of
// a real font, on blank and inked targets, at every baseline, clipped on
// every side.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "real_fonts.h"
#include "shaping/glyph_painter.h"
#include "shaping/harfbuzz_font.h"
#include "shaping/run_layout.h"
#include "shaping/run_painter.h"

namespace {

using namespace lumo::shaping;

constexpr PixelFormat kArgb{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {0, 0, 0, 0}};

RunLayout lay_out(const HarfBuzzFont& font, FT_Face face, const std::u32string& text, bool anti_aliased) {
    std::vector<std::uint32_t> code_points(text.begin(), text.end());
    RunLayout layout;
    RasterOptions options;
    options.anti_aliased = anti_aliased;
    EXPECT_FALSE(layout_run(font, face, code_points, 24, options, layout));
    return layout;
}

TEST(RunStrip, PaintsWhatTheGlyphsPaint) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
    FontLoadError error;
    auto font = HarfBuzzFont::load(lumo::test::kDejaVuSans, 0, error);
    ASSERT_TRUE(font);
    auto face = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 24);
    ASSERT_TRUE(face.get());
    const ColorTable colors = color_table(kArgb, 200, 90, 30);
    std::mt19937 random(7);
    for (const std::u32string& word : {std::u32string(U"fjord"), std::u32string(U"AVATAR"), std::u32string(U"jiffy"),
                                       std::u32string(U"Te\u0301le\u0301"), std::u32string(U"ÅÉÎ")}) {
        for (bool anti_aliased : {true, false}) {
            const RunLayout layout = lay_out(*font, face.get(), word, anti_aliased);
            ASSERT_FALSE(layout.empty);
            auto strip = make_coverage_strip(layout, anti_aliased);
            ASSERT_TRUE(strip);
            RunLayout with_strip = layout;
            with_strip.painted_before.strip = strip;
            for (int trial = 0; trial < 40; ++trial) {
                const int width = layout.surface_width - (trial % 4 == 3 ? 7 : 0);
                const int height = 10 + static_cast<int>(random() % 40);
                const int baseline = static_cast<int>(random() % 50) - 5;
                const bool blank = trial % 2 == 0;
                std::vector<std::uint32_t> by_glyphs(static_cast<std::size_t>(width) * height, 0u);
                if (!blank)
                    for (auto& pixel : by_glyphs) pixel = random() % 3 == 0 ? 0x80102030u : 0u;
                std::vector<std::uint32_t> by_strip = by_glyphs;
                const PixelTarget glyph_target{reinterpret_cast<std::uint8_t*>(by_glyphs.data()), width, height,
                                               width * 4};
                const PixelTarget strip_target{reinterpret_cast<std::uint8_t*>(by_strip.data()), width, height,
                                               width * 4};
                const PaintedColumns expected = paint_glyphs(glyph_target, layout.glyphs, colors, kArgb,
                                                             anti_aliased, baseline, layout.start_x, blank);
                const PaintedColumns painted =
                    paint_run(strip_target, with_strip, colors, kArgb, anti_aliased, baseline, blank);
                ASSERT_EQ(by_strip, by_glyphs) << "trial " << trial << " baseline " << baseline;
                if (expected.left <= expected.right) ASSERT_EQ(painted.right, expected.right) << "trial " << trial;
            }
            // The rows the glyphs ink, asked with and without the strip, for
            // baselines above, at and below its lowest and targets that cut
            // the run at the top, the bottom or not at all.
            for (int baseline = strip->lowest_baseline - 3; baseline < strip->lowest_baseline + 30; ++baseline) {
                for (int height : {1, 5, strip->rows, strip->rows + 3, 40, 80}) {
                    const PaintedRows expected = painted_rows(layout.glyphs, anti_aliased, baseline, height);
                    const PaintedRows found = run_painted_rows(with_strip, anti_aliased, baseline, height);
                    const bool none = expected.first >= expected.end;
                    ASSERT_EQ(found.first >= found.end, none) << "baseline " << baseline << " height " << height;
                    if (!none) {
                        ASSERT_EQ(found.first, expected.first) << "baseline " << baseline << " height " << height;
                        ASSERT_EQ(found.end, expected.end) << "baseline " << baseline << " height " << height;
                    }
                }
            }
        }
    }
}

TEST(RunStrip, IsMadeWhenARunIsPaintedAgainAndNotForColourGlyphs) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
    FontLoadError error;
    auto font = HarfBuzzFont::load(lumo::test::kDejaVuSans, 0, error);
    auto face = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 24);
    const RunLayout layout = lay_out(*font, face.get(), U"again", true);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.surface_width) * 40, 0u);
    const PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), layout.surface_width, 40,
                             layout.surface_width * 4};
    const ColorTable colors = color_table(kArgb, 255, 255, 255);
    paint_run(target, layout, colors, kArgb, true, 30, true);
    EXPECT_FALSE(layout.painted_before.strip);
    paint_run(target, layout, colors, kArgb, true, 30, true);
    EXPECT_TRUE(layout.painted_before.strip);
    RunLayout coloured = layout;
    EXPECT_FALSE(coloured.painted_before.strip);  // a copy may change its glyphs: it starts afresh
    auto bitmap = std::make_shared<GlyphBitmap>(*coloured.glyphs.front().bitmap);
    bitmap->colour = true;
    coloured.glyphs.front().bitmap = bitmap;
    EXPECT_FALSE(make_coverage_strip(coloured, true));
}

}  // namespace
