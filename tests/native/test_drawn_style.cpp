// How a file draws a face word: a variable font's axes first, imitation for
// what they cannot draw, and the synthetic decision for other fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shaping/drawn_style.h"

namespace {

using namespace lumo::shaping;

constexpr Tag tag_of(const char (&text)[5]) {
    return (Tag(static_cast<unsigned char>(text[0])) << 24) | (Tag(static_cast<unsigned char>(text[1])) << 16) |
           (Tag(static_cast<unsigned char>(text[2])) << 8) | Tag(static_cast<unsigned char>(text[3]));
}

struct FakeQuestions final : StyleQuestions {
    bool lacks = true, needed = true;
    lumo::engine::SyntheticStyle asked{true, true};
    std::vector<std::string> questions;

    bool lacks_face_file() override {
        questions.push_back("lacks");
        return lacks;
    }
    bool synthetic_needed() override {
        questions.push_back("needed");
        return needed;
    }
    lumo::engine::SyntheticStyle asked_effects() override {
        questions.push_back("asked");
        return asked;
    }
};

FontVariations weight_axis_only() {
    FontVariations variations;
    variations.axes.push_back({tag_of("wght"), 100.0f, 400.0f, 900.0f});
    return variations;
}

TEST(DrawnStyle, AVariableFontDrawsBoldOnItsWeightAxisAndImitatesTheSlantItLacks) {
    const FontVariations variations = weight_axis_only();
    FakeQuestions questions;
    const DrawnStyle style = decide_drawn_style(true, "bold italic", &variations, true, questions);
    ASSERT_EQ(style.face_settings.size(), 1u);
    EXPECT_EQ(style.face_settings[0].tag, tag_of("wght"));
    EXPECT_FLOAT_EQ(style.face_settings[0].value, 700.0f);
    EXPECT_FALSE(style.synthetic_bold);
    EXPECT_TRUE(style.synthetic_italic);
}

TEST(DrawnStyle, TheFamilysOwnVariableFileIsNotMovedOffItsDefault) {
    const FontVariations variations = weight_axis_only();
    FakeQuestions questions;
    questions.lacks = false;
    questions.needed = false;
    const DrawnStyle style = decide_drawn_style(true, "bold", &variations, true, questions);
    EXPECT_TRUE(style.face_settings.empty());
    EXPECT_FALSE(style.synthetic_bold);
    EXPECT_EQ(questions.questions, (std::vector<std::string>{"lacks", "needed"}));
}

TEST(DrawnStyle, WithoutStylingCallsNothingIsImitatedNorAsked) {
    const FontVariations variations = weight_axis_only();
    FakeQuestions questions;
    const DrawnStyle axes_only = decide_drawn_style(true, "bold italic", &variations, false, questions);
    EXPECT_EQ(axes_only.face_settings.size(), 1u);
    EXPECT_FALSE(axes_only.synthetic_italic);
    questions.questions.clear();
    const DrawnStyle plain = decide_drawn_style(true, "bold", nullptr, false, questions);
    EXPECT_FALSE(plain.synthetic_bold);
    EXPECT_TRUE(questions.questions.empty());
}

struct StaticCase {
    const char* label;
    bool face_given;
    bool needed;
    lumo::engine::SyntheticStyle asked;
    bool bold, italic;
};

class StaticFont : public ::testing::TestWithParam<StaticCase> {};

TEST_P(StaticFont, ImitatedExactlyWhenTheDecisionAsks) {
    const StaticCase& c = GetParam();
    FakeQuestions questions;
    questions.needed = c.needed;
    questions.asked = c.asked;
    const DrawnStyle style = decide_drawn_style(c.face_given, std::nullopt, nullptr, true, questions);
    EXPECT_TRUE(style.face_settings.empty());
    EXPECT_EQ(style.synthetic_bold, c.bold);
    EXPECT_EQ(style.synthetic_italic, c.italic);
}

INSTANTIATE_TEST_SUITE_P(
    Decisions, StaticFont,
    ::testing::Values(StaticCase{"Bold", true, true, {true, false}, true, false},
                      StaticCase{"BoldItalic", true, true, {true, true}, true, true},
                      StaticCase{"FamilyHasTheFile", true, false, {true, true}, false, false},
                      StaticCase{"NoFaceWord", false, true, {true, true}, false, false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
