// Preparing runs once their font is known: layouts kept per face under what
// shapes them, prepared runs of empty and inked layouts, and where emoji runs
// stand on their line.
#include <gtest/gtest.h>

#include <cmath>

#include "prepared_lines.h"
#include "shaping/run_preparation.h"

namespace {

using namespace lumo;
using namespace lumo::shaping;

struct DejaVu {
    DejaVu() {
        FontLoadError error;
        font = HarfBuzzFont::load(test::kDejaVuSans, 0, error);
        test::SizedFace opened = test::open_sized_face(test::kDejaVuSans, 24);
        library = std::move(opened.library);
        face.face = std::move(opened.face);
        face.pixel_size = 24;
    }
    bool ready() const { return font && face.face; }
    std::shared_ptr<const RunLayout> lay_out(std::u32string_view text, ShapingDirection direction = ShapingDirection::from_script,
                                             std::u32string_view key = {}, const ShapingOptions& shaping = {}) {
        std::shared_ptr<const RunLayout> layout;
        const std::vector<std::uint32_t> code_points(text.begin(), text.end());
        EXPECT_FALSE(find_or_lay_out(*font, face, code_points, 24, {}, direction, shaping, key, layout));
        return layout;
    }
    std::unique_ptr<HarfBuzzFont> font;
    base::FtLibraryPtr library;  // declared before the face: released after it
    SizedFace face;
};

TEST(FindOrLayOut, KeepsOneLayoutPerTextDirectionAndShaping) {
    DejaVu dejavu;
    if (!dejavu.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    const auto first = dejavu.lay_out(U"office");
    ASSERT_TRUE(first);
    EXPECT_EQ(dejavu.lay_out(U"office"), first);
    EXPECT_EQ(dejavu.face.layouts.size(), 1u);
    EXPECT_NE(dejavu.lay_out(U"office", ShapingDirection::right_to_left), first);
    // Without ligatures: another shaping, another key, another layout.
    const FeatureSetting no_ligatures[] = {{HB_TAG('l', 'i', 'g', 'a'), 0}};
    const auto plain = dejavu.lay_out(U"office", ShapingDirection::from_script, U"-liga", {no_ligatures, {}, {}});
    EXPECT_NE(plain, first);
    EXPECT_GT(plain->glyphs.size(), first->glyphs.size());
    EXPECT_EQ(dejavu.face.layouts.size(), 3u);
    EXPECT_GT(dejavu.face.glyphs.size(), 0u);
}

TEST(RunOfLayout, AnEmptyLayoutIsAnEmptyRunAsWideAsItsAdvance) {
    DejaVu dejavu;
    if (!dejavu.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    auto face = std::make_shared<SizedFace>();
    RasterOptions options;
    options.anti_aliased = false;
    const auto word = dejavu.lay_out(U"Ink");
    PreparedRun run = run_of_layout(word, face, options, 20, 36, {1, 2, 3});
    EXPECT_EQ(run.layout, word);
    EXPECT_EQ(run.width, word->surface_width);
    EXPECT_EQ(run.advance, word->total_advance);
    EXPECT_EQ(run.rgb, (std::array<std::uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(run.face, face);
    EXPECT_FALSE(run.anti_aliased);
    EXPECT_EQ(run.baseline, 20);
    EXPECT_EQ(run.height, 36);

    auto nothing = std::make_shared<RunLayout>();
    nothing->logical_width = 7;
    run = run_of_layout(nothing, face, options, 20, 36, {1, 2, 3});
    EXPECT_FALSE(run.layout);
    EXPECT_EQ(run.width, 7);
    EXPECT_EQ(run.advance, 7);
    EXPECT_EQ(run.rgb, (std::array<std::uint8_t, 3>{}));
}

TEST(EmojiBaseline, LowersOntoTheLineOrHangsFromItsTopAndKeepsAllInk) {
    DejaVu dejavu;
    if (!dejavu.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    const auto tall = dejavu.lay_out(U"Åg");
    const InkReach ink = ink_reach(*tall);
    const int above = int(std::ceil(ink.above)), below = int(std::ceil(ink.below));
    // On the baseline, lifted by a tenth of the size (2 rows of 24).
    EXPECT_EQ(emoji_baseline(*dejavu.font, *tall, {true, 0.1}, 30, 60, 24.0), 30 - 2);
    // From the top by the font's ascent.
    hb_font_extents_t extents{};
    hb_font_get_h_extents(dejavu.font->font(), &extents);
    const int ascent = int(extents.ascender * 24.0 / dejavu.font->upem() + 0.5);
    EXPECT_EQ(emoji_baseline(*dejavu.font, *tall, {false, 0.1}, 30, 60, 24.0), std::max(ascent, above));
    // Raised when the ink would leave the bottom, lowered when it would leave the top.
    EXPECT_EQ(emoji_baseline(*dejavu.font, *tall, {true, 0.0}, 30, 32, 24.0), 32 - below);
    EXPECT_EQ(emoji_baseline(*dejavu.font, *tall, {true, 0.5}, 10, 60, 24.0), above);
}

}  // namespace

namespace {

TEST(LegacyEmojiDrop, LowersOntoTheBaselineLessTheLiftAndNeverAboveTheTop) {
    using lumo::shaping::legacy_emoji_drop;
    // A 24 px line with its baseline 22 rows down; the emoji font's own ascent is 20.
    EXPECT_EQ(legacy_emoji_drop({true, 0.0}, 22, 20, 24.0), 2);
    EXPECT_EQ(legacy_emoji_drop({true, 0.05}, 22, 20, 24.0), 1);   // lifted by int(1.2) rows
    EXPECT_EQ(legacy_emoji_drop({true, -0.25}, 22, 20, 24.0), 8);  // a negative offset lowers further
    EXPECT_EQ(legacy_emoji_drop({true, 0.5}, 22, 20, 24.0), 0);    // never above the line's top
    EXPECT_EQ(legacy_emoji_drop({true, 0.0}, 22, 30, 24.0), 0);
    EXPECT_EQ(legacy_emoji_drop({false, -0.25}, 22, 20, 24.0), 0); // hung from the top as drawn
}

}  // namespace
