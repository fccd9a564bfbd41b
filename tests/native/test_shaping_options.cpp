// Runs shaped with features, a language and variation coordinates, checked
// against what hb-shape gives for the same settings, and the layout cache
// keeping such runs apart from runs shaped with the defaults.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "real_fonts.h"
#include "shaping/font_variations.h"
#include "shaping/run_layout.h"
#include "shaping/run_layout_cache.h"

namespace {

using lumo::shaping::FeatureSetting;
using lumo::shaping::HarfBuzzFont;
using lumo::shaping::RunLayout;
using lumo::shaping::ShapingOptions;

constexpr const char* kNotoSans = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf";
constexpr const char* kNotoSansItalic = "/usr/share/fonts/truetype/noto/NotoSans-Italic.ttf";
constexpr const char* kInter = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf";

struct Fonts {
    std::unique_ptr<HarfBuzzFont> shaper;
    lumo::test::SizedFace raster;
};

#define OPEN_OR_SKIP(fonts, path, size)                                                    \
    if (!lumo::test::font_installed(path)) GTEST_SKIP() << path << " is not installed"; \
    lumo::shaping::FontLoadError load_error;                                               \
    Fonts fonts{HarfBuzzFont::load(path, -1, load_error), lumo::test::open_sized_face(path, size)}; \
    ASSERT_TRUE(fonts.shaper && fonts.raster.face)

std::vector<std::uint32_t> glyph_ids(const Fonts& fonts, std::u32string_view text, int size,
                                     const ShapingOptions& shaping, RunLayout* out = nullptr) {
    RunLayout layout;
    const std::vector<std::uint32_t> code_points(text.begin(), text.end());
    EXPECT_FALSE(lumo::shaping::layout_run(*fonts.shaper, fonts.raster.get(), code_points, size, {}, layout, nullptr,
                                           lumo::shaping::ShapingDirection::from_script, shaping));
    std::vector<std::uint32_t> ids;
    for (const auto& glyph : layout.glyphs) ids.push_back(glyph.glyph_id);
    if (out != nullptr) *out = layout;
    return ids;
}

// Glyph ids from `hb-shape --no-glyph-names` with and without the settings.
TEST(ShapingOptions, FeaturesTurnLigaturesOff) {
    OPEN_OR_SKIP(fonts, kNotoSans, 20);
    EXPECT_EQ(glyph_ids(fonts, U"office", 20, {}), (std::vector<std::uint32_t>{82, 1969, 70, 72}));
    const std::vector<FeatureSetting> no_ligatures = {{*lumo::shaping::tag_of("liga"), 0}};
    EXPECT_EQ(glyph_ids(fonts, U"office", 20, {no_ligatures, {}, {}}),
              (std::vector<std::uint32_t>{82, 73, 73, 76, 70, 72}));
}

TEST(ShapingOptions, LanguagePicksLocalForms) {
    OPEN_OR_SKIP(fonts, kNotoSansItalic, 20);
    EXPECT_EQ(glyph_ids(fonts, U"б", 20, {}), std::vector<std::uint32_t>{455});
    EXPECT_EQ(glyph_ids(fonts, U"б", 20, {{}, "ru", {}}), std::vector<std::uint32_t>{455});
    EXPECT_EQ(glyph_ids(fonts, U"б", 20, {{}, "sr", {}}), std::vector<std::uint32_t>{2411});
}

// hb-shape --variations=wght=N "Hamburg" on Inter (2816 units per em): the
// advances summed, x 64 / 2816, + 0.5, truncated.
TEST(ShapingOptions, CoordinatesSetTheWeightOfShapingAndOutlines) {
    OPEN_OR_SKIP(fonts, kInter, 64);
    RunLayout light, bold;
    const std::vector<float> thin = {100, 0}, black = {900, 0};
    ASSERT_EQ(lumo::shaping::set_design_coordinates(fonts.raster.get(), thin), 0);
    glyph_ids(fonts, U"Hamburg", 64, {{}, {}, thin}, &light);
    ASSERT_EQ(lumo::shaping::set_design_coordinates(fonts.raster.get(), black), 0);
    glyph_ids(fonts, U"Hamburg", 64, {{}, {}, black}, &bold);
    EXPECT_EQ(light.total_advance, 267);
    EXPECT_EQ(bold.total_advance, 296);
    const auto ink = [](const RunLayout& layout) {
        long inked = 0;
        for (const auto& glyph : layout.glyphs)
            for (std::uint8_t coverage : glyph.bitmap->bytes) inked += coverage;
        return inked;
    };
    EXPECT_GT(ink(bold), 2 * ink(light));
    // The same coordinates give the same sub-font; none gives the font itself.
    EXPECT_EQ(fonts.shaper->font_at(black), fonts.shaper->font_at(std::vector<float>{900, 0}));
    EXPECT_NE(fonts.shaper->font_at(black), fonts.shaper->font_at(thin));
    EXPECT_EQ(fonts.shaper->font_at({}), fonts.shaper->font());
}

TEST(RunLayoutCache, KeepsRunsOfOtherFeaturesAndLanguagesApart) {
    lumo::shaping::RunLayoutCache cache;
    const std::vector<std::uint32_t> text = {'f', 'i'};
    const std::vector<FeatureSetting> no_ligatures = {{*lumo::shaping::tag_of("liga"), 0}};
    const std::u32string plain = lumo::shaping::shaping_key_of({});
    const std::u32string unligated = lumo::shaping::shaping_key_of({no_ligatures, {}, {}});
    const std::u32string serbian = lumo::shaping::shaping_key_of({{}, "sr", {}});
    EXPECT_TRUE(plain.empty());
    auto layout = std::make_shared<RunLayout>();
    cache.store(text, {}, lumo::shaping::ShapingDirection::from_script, layout, unligated);
    EXPECT_EQ(cache.find(text, {}, lumo::shaping::ShapingDirection::from_script, unligated), layout);
    EXPECT_EQ(cache.find(text, {}, lumo::shaping::ShapingDirection::from_script, plain), nullptr);
    EXPECT_EQ(cache.find(text, {}, lumo::shaping::ShapingDirection::from_script, serbian), nullptr);
    // A text cannot pass for options: the key's length leads them.
    const std::vector<std::uint32_t> longer = {1, *lumo::shaping::tag_of("liga"), 0, 'f', 'i'};
    EXPECT_EQ(cache.find(longer, {}, lumo::shaping::ShapingDirection::from_script, plain), nullptr);
}

TEST(RunLayoutCache, KeepsRunsOfOtherDrawingOptionsAndDirectionsApart) {
    lumo::shaping::RunLayoutCache cache;
    const std::vector<std::uint32_t> text = {'a', 'b', 'c'}, prefix = {'a', 'b'};
    auto layout = std::make_shared<RunLayout>();
    lumo::shaping::RasterOptions bold;
    bold.synthetic_bold = true;
    cache.store(text, bold, lumo::shaping::ShapingDirection::right_to_left, layout);
    EXPECT_EQ(cache.find(text, bold, lumo::shaping::ShapingDirection::right_to_left), layout);
    EXPECT_EQ(cache.find(text, {}, lumo::shaping::ShapingDirection::right_to_left), nullptr);
    EXPECT_EQ(cache.find(text, bold, lumo::shaping::ShapingDirection::left_to_right), nullptr);
    EXPECT_EQ(cache.find(prefix, bold, lumo::shaping::ShapingDirection::right_to_left), nullptr);
    EXPECT_EQ(cache.size(), 1u);
}

}  // namespace
