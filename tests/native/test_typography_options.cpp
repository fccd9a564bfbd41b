// Reading the typography options: feature and axis settings in HarfBuzz's
// syntax and one by one, BCP 47 language tags, and what each refuses.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "base/limits.h"
#include "shaping/typography_options.h"

namespace {

using lumo::shaping::FeatureSetting;
using lumo::shaping::Tag;
using lumo::shaping::VariationRequest;

constexpr Tag tag(const char (&text)[5]) {
    return static_cast<Tag>(text[0]) << 24 | static_cast<Tag>(text[1]) << 16 | static_cast<Tag>(text[2]) << 8 |
           static_cast<Tag>(text[3]);
}

std::vector<FeatureSetting> features_of(std::string_view text) {
    std::vector<FeatureSetting> features;
    EXPECT_EQ(lumo::shaping::parse_features(text, features), "") << text;
    return features;
}

std::string refusal_of_features(std::string_view text) {
    std::vector<FeatureSetting> features;
    return lumo::shaping::parse_features(text, features);
}

TEST(FeatureSyntax, ReadsHarfBuzzsForms) {
    EXPECT_EQ(features_of("-liga,+tnum,ss01=2, kern=off , 'cv01'=on,aalt=0,smcp"),
              (std::vector<FeatureSetting>{{tag("liga"), 0},
                                           {tag("tnum"), 1},
                                           {tag("ss01"), 2},
                                           {tag("kern"), 0},
                                           {tag("cv01"), 1},
                                           {tag("aalt"), 0},
                                           {tag("smcp"), 1}}));
    // Short tags are padded with blanks; an empty text and a trailing comma add nothing.
    EXPECT_EQ(features_of("cv1,"), (std::vector<FeatureSetting>{{tag("cv1 "), 1}}));
    EXPECT_TRUE(features_of("").empty());
    EXPECT_EQ(features_of("liga=4294967295").front().value, 4294967295u);
}

struct Refusal {
    const char* text;
    const char* message;
};

class RefusedFeatures : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedFeatures, NameWhatIsWrong) {
    EXPECT_EQ(refusal_of_features(GetParam().text), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedFeatures,
    testing::Values(
        Refusal{"li ga", "features: 'li ga' is not a feature setting (use tag, +tag, -tag or tag=value, such as "
                         "'-liga,+tnum,ss01=2')"},
        Refusal{"liga,toolong", "features: 'toolong' is not a feature setting (use tag, +tag, -tag or tag=value, "
                                "such as '-liga,+tnum,ss01=2')"},
        Refusal{"kern=-1", "features: 'kern=-1' is not a feature setting (use tag, +tag, -tag or tag=value, such "
                           "as '-liga,+tnum,ss01=2')"},
        Refusal{"liga=4294967296", "features: 'liga=4294967296' is not a feature setting (use tag, +tag, -tag or "
                                   "tag=value, such as '-liga,+tnum,ss01=2')"},
        Refusal{"l@ga", "features: 'l@ga' is not a feature setting (use tag, +tag, -tag or tag=value, such as "
                        "'-liga,+tnum,ss01=2')"},
        Refusal{"=1", "features: '=1' is not a feature setting (use tag, +tag, -tag or tag=value, such as "
                      "'-liga,+tnum,ss01=2')"},
        Refusal{"'lig'", "features: '\\'lig\\'' is not a feature setting (use tag, +tag, -tag or tag=value, such as "
                         "'-liga,+tnum,ss01=2')"},
        Refusal{"liga[3:5]", "features: 'liga[3:5]' gives a range, which is not supported: a feature applies to "
                             "all the text"},
        Refusal{"li\x01" "a", "features: 'li\\x01a' is not a feature setting (use tag, +tag, -tag or tag=value, such "
                           "as '-liga,+tnum,ss01=2')"}));

TEST(FeatureSyntax, LimitsTextAndSettings) {
    EXPECT_EQ(refusal_of_features(std::string(lumo::kMaxTypographyTextLength + 1, 'a')),
              "features: the text is longer than 4096 characters");
    std::string many;
    for (std::size_t i = 0; i <= lumo::kMaxTypographySettings; ++i) many += "liga,";
    EXPECT_EQ(refusal_of_features(many), "features: more than 256 settings");
}

TEST(FeatureMapping, TakesPrintableTagsAndThirtyTwoBitValues) {
    std::vector<FeatureSetting> features;
    EXPECT_EQ(lumo::shaping::add_feature("liga", 0, features), "");
    EXPECT_EQ(lumo::shaping::add_feature("c@1", 3, features), "");
    EXPECT_EQ(features, (std::vector<FeatureSetting>{{tag("liga"), 0}, {tag("c@1 "), 3}}));
    EXPECT_EQ(lumo::shaping::add_feature("toolong", 1, features),
              "features: 'toolong' is not an OpenType feature tag (1 to 4 printable characters)");
    EXPECT_EQ(lumo::shaping::add_feature("", 1, features),
              "features: '' is not an OpenType feature tag (1 to 4 printable characters)");
    EXPECT_EQ(lumo::shaping::add_feature("l ga", 1, features),
              "features: 'l ga' is not an OpenType feature tag (1 to 4 printable characters)");
    EXPECT_EQ(lumo::shaping::add_feature("kern", -1, features),
              "features: the value of 'kern' must be 0 to 4294967295, not -1");
    EXPECT_EQ(lumo::shaping::add_feature("kern", 1LL << 32, features),
              "features: the value of 'kern' must be 0 to 4294967295, not 4294967296");
    EXPECT_EQ(features.size(), 2u);
}

TEST(Tags, ReadBackWithoutPadding) {
    EXPECT_EQ(lumo::shaping::tag_text(tag("wght")), "wght");
    EXPECT_EQ(lumo::shaping::tag_text(*lumo::shaping::tag_of("cv1")), "cv1");
    EXPECT_FALSE(lumo::shaping::tag_of("\xc3\xa9"));  // not ASCII
}

class LanguageTags : public testing::TestWithParam<std::pair<const char*, bool>> {};

TEST_P(LanguageTags, FollowBcp47Syntax) {
    EXPECT_EQ(lumo::shaping::is_well_formed_language_tag(GetParam().first), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, LanguageTags,
    testing::Values(std::pair{"sr", true}, std::pair{"bg", true}, std::pair{"zh-Hant", true},
                    std::pair{"zh-Hant-TW", true}, std::pair{"sr-Latn-RS", true}, std::pair{"es-419", true},
                    std::pair{"de-CH-1996", true}, std::pair{"sl-rozaj-biske", true}, std::pair{"zh-yue-HK", true},
                    std::pair{"en-US-u-ca-gregory", true}, std::pair{"en-a-bbb-x-a-ccc", true},
                    std::pair{"x-whatever", true}, std::pair{"i-klingon", true}, std::pair{"EN-gb-OED", true},
                    std::pair{"tlh", true}, std::pair{"de-1901", true},
                    // Refused: separators, lengths, orders and characters BCP 47 does not allow.
                    std::pair{"en_US", false}, std::pair{"", false}, std::pair{"e", false}, std::pair{"x", false},
                    std::pair{"englishes-US", false}, std::pair{"en--US", false}, std::pair{"en-", false},
                    std::pair{"-en", false}, std::pair{"en-US-u", false}, std::pair{"en-x", false},
                    std::pair{"123", false}, std::pair{"en-US-Latn", false}, std::pair{"fr-FR-a", false},
                    std::pair{"en US", false}, std::pair{"zh-Hant-TW-TW", false}, std::pair{"i-foo", false}));

TEST(Language, IsKeptLowerCasedAndEmptyMeansGuessed) {
    std::string language = "old";
    EXPECT_EQ(lumo::shaping::parse_language("zh-Hant", language), "");
    EXPECT_EQ(language, "zh-hant");
    EXPECT_EQ(lumo::shaping::parse_language("", language), "");
    EXPECT_EQ(language, "");
    EXPECT_EQ(lumo::shaping::parse_language("en_US", language),
              "language: 'en_US' is not a BCP 47 language tag (such as 'sr', 'zh-Hant' or 'pt-BR')");
}

TEST(Variations, ReadAxisSettingsOrAnInstanceName) {
    VariationRequest axes;
    EXPECT_EQ(lumo::shaping::parse_variations("wght=650, wdth = 87.5,slnt=-10,opsz=1e1", axes), "");
    EXPECT_EQ(axes.axes, (std::vector<lumo::shaping::AxisSetting>{
                             {tag("wght"), 650.0f}, {tag("wdth"), 87.5f}, {tag("slnt"), -10.0f}, {tag("opsz"), 10.0f}}));
    EXPECT_TRUE(axes.instance.empty());

    VariationRequest named;
    EXPECT_EQ(lumo::shaping::parse_variations("  SemiBold Condensed ", named), "");
    EXPECT_EQ(named.instance, "SemiBold Condensed");
    EXPECT_TRUE(named.axes.empty());

    VariationRequest none;
    EXPECT_EQ(lumo::shaping::parse_variations("", none), "");
    EXPECT_TRUE(none.empty());
}

TEST(Variations, RefuseWhatIsNotANumberOrATag) {
    for (const char* text : {"wght=bold", "wght=nan", "wght=inf", "wght=", "=700", "wght=700,wdth", "wght==1"}) {
        VariationRequest request;
        EXPECT_EQ(lumo::shaping::parse_variations(text, request).rfind("variations: '", 0), 0u) << text;
    }
    VariationRequest request;
    EXPECT_EQ(lumo::shaping::parse_variations("wght=700,wdth=bad", request),
              "variations: 'wdth=bad' is not an axis setting (use tag=value, such as 'wght=650,wdth=87.5')");
    EXPECT_EQ(lumo::shaping::add_axis("wght", std::numeric_limits<double>::quiet_NaN(), request),
              "variations: the value of 'wght' must be a finite number");
    EXPECT_EQ(lumo::shaping::add_axis("width", 100, request),
              "variations: 'width' is not an OpenType axis tag (1 to 4 printable characters)");
    // Values far past any axis are kept finite; the axis clamps them.
    EXPECT_EQ(lumo::shaping::add_axis("wght", 1e300, request), "");
    EXPECT_EQ(request.axes.back().value, 1e9f);
}

}  // namespace
