// The debug report's labels: font source, synthetic effects, render path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/debug_labels.h"

namespace {

using namespace lumo::diagnostics;

struct FakeSources final : SourceQuestions {
    bool primary = false, fallback = false, emoji = false;
    std::vector<std::string> asked;
    bool is_primary() override { return note("primary", primary); }
    bool is_fallback() override { return note("fallback", fallback); }
    bool is_emoji_font() override { return note("emoji", emoji); }
    bool note(const char* what, bool answer) {
        asked.emplace_back(what);
        return answer;
    }
};

TEST(FontSourceLabel, FirstMatchWinsInTheReportsOrder) {
    FakeSources both;
    both.primary = both.fallback = true;  // primary and fallback are one family
    EXPECT_EQ(font_source_label(font_source_of(true, both)), "PRIMARY");
    EXPECT_EQ(both.asked, std::vector<std::string>{"primary"});

    FakeSources fallback;
    fallback.fallback = fallback.emoji = true;
    EXPECT_EQ(font_source_label(font_source_of(true, fallback)), "FALLBACK");

    FakeSources emoji;
    emoji.emoji = true;
    EXPECT_EQ(font_source_label(font_source_of(true, emoji)), "EMOJI");

    FakeSources other;
    EXPECT_EQ(font_source_label(font_source_of(true, other)), "INTL");
    EXPECT_EQ(other.asked, (std::vector<std::string>{"primary", "fallback", "emoji"}));
}

TEST(FontSourceLabel, NoFontChosenIsMissingWithoutAQuestion) {
    FakeSources sources;
    sources.primary = true;
    EXPECT_EQ(font_source_label(font_source_of(false, sources)), "MISSING");
    EXPECT_TRUE(sources.asked.empty());
}

TEST(SyntheticLabel, NamesTheEffects) {
    EXPECT_EQ(synthetic_label(true, true), "BOLD+ITALIC");
    EXPECT_EQ(synthetic_label(true, false), "BOLD");
    EXPECT_EQ(synthetic_label(false, true), "ITALIC");
    EXPECT_EQ(synthetic_label(false, false), "NONE");
}

struct RenderPathCase {
    const char* label;
    bool chosen, colour;
    FontSource source;
    int group;
    const char* expected;
};

class RenderPath : public ::testing::TestWithParam<RenderPathCase> {};

TEST_P(RenderPath, ColourThenLegacyEmojiThenTheScript) {
    const RenderPathCase& c = GetParam();
    EXPECT_EQ(render_path_label(c.chosen, c.colour, c.source, c.group), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, RenderPath,
    ::testing::Values(RenderPathCase{"ColourEmojiFont", true, true, FontSource::emoji, 7, "COLOR"},
                      RenderPathCase{"ColourScriptFont", true, true, FontSource::international, 2, "COLOR"},
                      RenderPathCase{"MonochromeEmojiFont", true, false, FontSource::emoji, 7, "LEGACY"},
                      RenderPathCase{"Arabic", true, false, FontSource::international, 2, "SHAPED"},
                      RenderPathCase{"Latin", true, false, FontSource::primary, 7, "SIMPLE"},
                      RenderPathCase{"ArabicWithoutFont", false, false, FontSource::missing, 2, "SHAPED"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

namespace {

using namespace lumo::diagnostics;

TEST(EntryLabels, ATagIsLabelledTagWithoutScriptFontOrRenderPath) {
    const EntryLabels tag = tag_labels();
    EXPECT_EQ(tag.hex, "TAG");
    EXPECT_EQ(tag.category, "TAG");
    EXPECT_EQ(tag.script, "-");
    EXPECT_EQ(tag.font_source, "TAG");
    EXPECT_EQ(tag.ttc_index, -1);
    EXPECT_FALSE(tag.has_glyph);
    EXPECT_EQ(tag.synthetic, "NONE");
    EXPECT_EQ(tag.render_path, "-");
    EXPECT_TRUE(tag.is_tag);
}

TEST(EntryLabels, ACharacterIsLabelledByItsCodeCategoryScriptFontAndStyle) {
    CharacterFacts arabic;
    arabic.code = U'\u0628';
    arabic.font_chosen = true;
    arabic.source = FontSource::international;
    arabic.ttc_index = 2;
    arabic.covered = true;
    arabic.synthetic_bold = true;
    const EntryLabels labels = character_labels(arabic);
    EXPECT_EQ(labels.hex, "U+0628");
    EXPECT_EQ(labels.category, "Lo");
    EXPECT_EQ(labels.script, "Arabic");
    EXPECT_EQ(labels.font_source, "INTL");
    EXPECT_EQ(labels.ttc_index, 2);
    EXPECT_TRUE(labels.has_glyph);
    EXPECT_EQ(labels.synthetic, "BOLD");
    EXPECT_EQ(labels.render_path, "SHAPED");
    EXPECT_FALSE(labels.is_tag);
}

TEST(EntryLabels, ColourGlyphsCountOnlyForAFontChosen) {
    CharacterFacts missing;
    missing.code = 0x1F600;
    missing.colour_glyphs = true;  // asked of no font: the path is the script's
    EXPECT_EQ(character_labels(missing).font_source, "MISSING");
    EXPECT_NE(character_labels(missing).render_path, "COLOR");
    CharacterFacts emoji = missing;
    emoji.font_chosen = true;
    emoji.source = FontSource::emoji;
    EXPECT_EQ(character_labels(emoji).render_path, "COLOR");
    emoji.colour_glyphs = false;
    EXPECT_EQ(character_labels(emoji).render_path, "LEGACY");
}

}  // namespace
