// Which installed family draws for a family that is not installed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "font/family_substitutes.h"
#include "index/text_rules.h"

namespace {

using namespace lumo::font;

struct SubstituteCase {
    const char* label;
    std::string_view asked;
    std::vector<std::string> installed;  // lower-case family names
    std::string_view expected;
};

class Substitutes : public ::testing::TestWithParam<SubstituteCase> {};

TEST_P(Substitutes, FirstInstalledChoice) {
    const SubstituteCase& c = GetParam();
    const std::set<std::string, std::less<>> installed(c.installed.begin(), c.installed.end());
    std::vector<std::string> asked_about;
    const std::string chosen = substitute_family(c.asked, [&](std::string_view family) {
        asked_about.emplace_back(family);
        return installed.count(family) > 0;
    });
    EXPECT_EQ(chosen, c.expected);
    for (const std::string& family : asked_about) EXPECT_EQ(family, lumo::index::lower_text(family));
}

const std::vector<std::string> kEverything = {"liberation sans", "arimo", "liberation serif", "tinos",
                                              "liberation mono", "cousine", "dejavu sans", "noto sans",
                                              "carlito", "caladea", "liberation sans narrow"};

INSTANTIATE_TEST_SUITE_P(
    MetricTwins, Substitutes,
    ::testing::Values(
        SubstituteCase{"Arial", "Arial", kEverything, "Liberation Sans"},
        SubstituteCase{"HelveticaLowerCase", "helvetica", kEverything, "Liberation Sans"},
        SubstituteCase{"ArialWithoutLiberation", "Arial", {"arimo", "dejavu sans"}, "Arimo"},
        SubstituteCase{"TimesNewRoman", "Times New Roman", kEverything, "Liberation Serif"},
        SubstituteCase{"TimesNewRomanOtherBlanks", "  TimesNew  roman", kEverything, "Liberation Serif"},
        SubstituteCase{"Times", "Times", {"tinos", "noto sans"}, "Tinos"},
        SubstituteCase{"CourierNew", "Courier New", kEverything, "Liberation Mono"},
        SubstituteCase{"Courier", "COURIER", {"cousine"}, "Cousine"},
        SubstituteCase{"ArialNarrow", "Arial Narrow", kEverything, "Liberation Sans Narrow"},
        SubstituteCase{"Calibri", "Calibri", kEverything, "Carlito"},
        SubstituteCase{"Cambria", "Cambria", kEverything, "Caladea"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    DefaultSans, Substitutes,
    ::testing::Values(
        SubstituteCase{"TwinMissing", "Arial", {"dejavu sans", "noto sans"}, "DejaVu Sans"},
        SubstituteCase{"Typo", "Noto Snas", kEverything, "DejaVu Sans"},
        SubstituteCase{"OnlyNoto", "Courier New", {"noto sans", "liberation serif"}, "Noto Sans"},
        // A serif family missing is not drawn with a serif twin of another family.
        SubstituteCase{"OtherFamilysTwinOnly", "Arial", {"liberation serif"}, ""},
        SubstituteCase{"NothingInstalled", "Times", {}, ""},
        SubstituteCase{"EmptyName", "", {"dejavu sans"}, "DejaVu Sans"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FirstRegularFace, SkipsStyledFacesAndKeepsIndexOrder) {
    const std::vector<std::string> faces = {"zed sans bold", "abc serif-italic", "mono regular", "abc sans"};
    EXPECT_EQ(first_regular_face(faces), "mono regular");
    const std::vector<std::string> unsuffixed = {"  ", "beta sans", "alpha sans"};
    EXPECT_EQ(first_regular_face(unsuffixed), "beta sans");
}

TEST(FirstRegularFace, NoneWithoutRegularFaces) {
    const std::vector<std::string> faces = {"x bold", "y-italic"};
    EXPECT_EQ(first_regular_face(faces), "");
    EXPECT_EQ(first_regular_face({}), "");
}

}  // namespace
