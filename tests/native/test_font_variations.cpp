// Variable fonts: the axes and named instances read from a real variable
// font, face words as axis values, and the coordinates a run is drawn at.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "real_fonts.h"
#include "shaping/face_axes.h"
#include "shaping/font_variations.h"
#include "shaping/harfbuzz_font.h"

namespace {

using lumo::shaping::AxisSetting;
using lumo::shaping::FontVariations;
using lumo::shaping::Tag;
using lumo::shaping::VariationRequest;

constexpr const char* kInter = "/usr/share/fonts/truetype/inter-vf/Inter.var.ttf";            // wght, slnt
constexpr const char* kInterRoman = "/usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf";  // wght only

constexpr Tag tag(const char (&text)[5]) {
    return static_cast<Tag>(text[0]) << 24 | static_cast<Tag>(text[1]) << 16 | static_cast<Tag>(text[2]) << 8 |
           static_cast<Tag>(text[3]);
}

FontVariations variations_of(const char* path) {
    lumo::shaping::FontLoadError error;
    auto font = lumo::shaping::HarfBuzzFont::load(path, -1, error);
    EXPECT_TRUE(font) << path << ": " << error.message;
    return font ? font->variations() : FontVariations{};
}

#define SKIP_WITHOUT(path) \
    if (!lumo::test::font_installed(path)) GTEST_SKIP() << path << " is not installed (fonts-inter-variable)"

/// A font with italic and width axes, as the face-word rules see it.
FontVariations italic_and_width_axes() {
    FontVariations font;
    font.axes = {{tag("wght"), 300, 400, 700}, {tag("ital"), 0, 0, 1}, {tag("wdth"), 50, 100, 200}};
    return font;
}

std::vector<float> coordinates_of(const FontVariations& font, std::vector<AxisSetting> face,
                                  const VariationRequest& request, bool* found = nullptr) {
    bool instance_found = false;
    std::vector<float> coordinates = lumo::shaping::design_coordinates(font, face, request, instance_found);
    if (found != nullptr) *found = instance_found;
    return coordinates;
}

TEST(FontVariations, AreReadFromFvarAndName) {
    SKIP_WITHOUT(kInter);
    const FontVariations inter = variations_of(kInter);
    ASSERT_EQ(inter.axes.size(), 2u);
    EXPECT_EQ(inter.axes[0].tag, tag("wght"));
    EXPECT_EQ(inter.axes[0].minimum, 100.0f);
    EXPECT_EQ(inter.axes[0].default_value, 400.0f);
    EXPECT_EQ(inter.axes[0].maximum, 900.0f);
    EXPECT_EQ(inter.axes[1].tag, tag("slnt"));
    EXPECT_EQ(inter.axes[1].minimum, -10.0f);
    EXPECT_EQ(inter.instances.size(), 18u);
    const auto* semibold_italic = inter.instance_named("semibold italic");
    ASSERT_NE(semibold_italic, nullptr);
    EXPECT_EQ(semibold_italic->name, "Semi Bold Italic");
    EXPECT_EQ(semibold_italic->coordinates, (std::vector<float>{600, -10}));
    EXPECT_NE(inter.instance_named("Extra-Bold"), nullptr);
    EXPECT_EQ(inter.instance_named("Ultra Wide"), nullptr);
}

TEST(FontVariations, AreEmptyForAStaticFont) {
    SKIP_WITHOUT(lumo::test::kDejaVuSans);
    EXPECT_FALSE(variations_of(lumo::test::kDejaVuSans).is_variable());
}

TEST(DesignCoordinates, ClampToTheAxesAndDropTheDefaults) {
    const FontVariations font = italic_and_width_axes();
    EXPECT_TRUE(coordinates_of(font, {}, {}).empty());
    // Back at the defaults, or only axes the font lacks: drawn as without variations.
    EXPECT_TRUE(coordinates_of(font, {}, {{{tag("wght"), 400}, {tag("opsz"), 12}}, ""}).empty());
    EXPECT_EQ(coordinates_of(font, {}, {{{tag("wght"), 1000}, {tag("wdth"), 10}}, ""}),
              (std::vector<float>{700, 0, 50}));
    // The call's values come after the face word's; a later value of a tag wins.
    EXPECT_EQ(coordinates_of(font, {{tag("wght"), 700}, {tag("ital"), 1}}, {{{tag("wght"), 350}}, ""}),
              (std::vector<float>{350, 1, 100}));
    EXPECT_EQ(coordinates_of(font, {}, {{{tag("wdth"), 75}, {tag("wdth"), 125}}, ""}), (std::vector<float>{400, 0, 125}));
}

TEST(DesignCoordinates, TakeANamedInstanceTheFontHas) {
    SKIP_WITHOUT(kInter);
    const FontVariations inter = variations_of(kInter);
    bool found = false;
    EXPECT_EQ(coordinates_of(inter, {{tag("wght"), 900}}, {{}, "Light Italic"}, &found),
              (std::vector<float>{300, -10}));
    EXPECT_TRUE(found);
    // An instance the font lacks leaves the face word's axes.
    EXPECT_EQ(coordinates_of(inter, {{tag("wght"), 900}}, {{}, "Condensed"}, &found), (std::vector<float>{900, 0}));
    EXPECT_FALSE(found);
}

TEST(FaceWords, ReadTheUsualStyleNames) {
    const auto style = lumo::shaping::parse_face_word("SemiBold_Italic");
    ASSERT_TRUE(style);
    EXPECT_EQ(style->weight, 600.0f);
    EXPECT_TRUE(style->italic);
    EXPECT_FALSE(style->width);
    EXPECT_EQ(lumo::shaping::parse_face_word("extra-condensed bold")->width, 62.5f);
    EXPECT_EQ(lumo::shaping::parse_face_word("bolditalic")->weight, 700.0f);
    EXPECT_EQ(lumo::shaping::parse_face_word("Black")->weight, 900.0f);
    EXPECT_EQ(lumo::shaping::parse_face_word("light")->weight, 300.0f);
    for (const char* word : {"", "caption", "bold light", "condensed expanded", "boldx", "bold2"})
        EXPECT_FALSE(lumo::shaping::parse_face_word(word)) << word;
}

TEST(FaceAxes, PreferTheFontsNamedInstance) {
    SKIP_WITHOUT(kInter);
    const auto bold = lumo::shaping::face_axes(variations_of(kInter), "bold");
    EXPECT_EQ(bold.settings, (std::vector<AxisSetting>{{tag("wght"), 700}, {tag("slnt"), 0}}));
    EXPECT_TRUE(bold.weight_drawn && bold.italic_drawn);
    const auto italic = lumo::shaping::face_axes(variations_of(kInter), "medium italic");
    EXPECT_EQ(italic.settings, (std::vector<AxisSetting>{{tag("wght"), 500}, {tag("slnt"), -10}}));
}

TEST(FaceAxes, DrawWhatTheAxesAllowAndLeaveTheRest) {
    SKIP_WITHOUT(kInterRoman);
    // Inter's upright file has a weight axis and no slant: the slant is left to imitation.
    const auto bold_italic = lumo::shaping::face_axes(variations_of(kInterRoman), "bold italic");
    EXPECT_EQ(bold_italic.settings, (std::vector<AxisSetting>{{tag("wght"), 700}}));
    EXPECT_TRUE(bold_italic.weight_drawn);
    EXPECT_FALSE(bold_italic.italic_drawn);
    EXPECT_TRUE(lumo::shaping::face_axes(variations_of(kInterRoman), "condensed").settings.empty());
}

TEST(FaceAxes, UseItalicAndWidthAxes) {
    const auto drawn = lumo::shaping::face_axes(italic_and_width_axes(), "italic condensed");
    EXPECT_EQ(drawn.settings, (std::vector<AxisSetting>{{tag("ital"), 1}, {tag("wdth"), 75}}));
    EXPECT_TRUE(drawn.italic_drawn);
    EXPECT_FALSE(drawn.weight_drawn);

    FontVariations leaning_left;
    leaning_left.axes = {{tag("slnt"), 0, 0, 12}};
    EXPECT_FALSE(lumo::shaping::face_axes(leaning_left, "italic").italic_drawn);
    FontVariations slanted;
    slanted.axes = {{tag("slnt"), -15, 0, 0}};
    EXPECT_EQ(lumo::shaping::face_axes(slanted, "oblique").settings, (std::vector<AxisSetting>{{tag("slnt"), -15}}));
}

TEST(FaceAxes, LeaveTheRegularFaceAtTheDefault) {
    FontVariations light_default;
    light_default.axes = {{tag("wght"), 100, 300, 900}};
    light_default.instances = {{"Regular", {400}}};
    for (const char* word : {"regular", "Normal", "book"})
        EXPECT_TRUE(lumo::shaping::face_axes(light_default, word).settings.empty()) << word;
    EXPECT_TRUE(lumo::shaping::face_axes(FontVariations{}, "bold").settings.empty());
}

}  // namespace
