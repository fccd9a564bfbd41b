// Script groups at the edges of their blocks, and the names and render paths
// the debug report shows for them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "render/script_groups.h"

namespace {

using namespace lumo::render;

struct GroupCase {
    const char* label;
    std::uint32_t code;
    int group;
};

class ClassifyScript : public ::testing::TestWithParam<GroupCase> {};

TEST_P(ClassifyScript, FindsTheGroupOfTheBlock) { EXPECT_EQ(classify_script(GetParam().code), GetParam().group); }

INSTANTIATE_TEST_SUITE_P(
    Cases, ClassifyScript,
    ::testing::Values(GroupCase{"Space", 0x0020, 0}, GroupCase{"NoBreakSpace", 0x00A0, 0},
                      GroupCase{"TabIsNoSpace", 0x0009, 7}, GroupCase{"IdeographicSpaceIsNoSpace", 0x3000, 7},
                      GroupCase{"LatinA", 0x0041, 7}, GroupCase{"BeforeHebrew", 0x058F, 7},
                      GroupCase{"HebrewFirst", 0x0590, 1}, GroupCase{"HebrewLast", 0x05FF, 1},
                      GroupCase{"ArabicFirst", 0x0600, 2}, GroupCase{"ArabicExtendedLast", 0x08FF, 2},
                      GroupCase{"DevanagariFirst", 0x0900, 3}, GroupCase{"SinhalaLast", 0x0DFF, 3},
                      GroupCase{"ThaiFirst", 0x0E00, 4}, GroupCase{"LaoLast", 0x0EFF, 4},
                      GroupCase{"TibetanFirst", 0x0F00, 5}, GroupCase{"Myanmar", 0x1000, 5},
                      GroupCase{"MyanmarLast", 0x109F, 5}, GroupCase{"Georgian", 0x10A0, 7},
                      GroupCase{"BeforeKhmer", 0x177F, 7}, GroupCase{"KhmerFirst", 0x1780, 6},
                      GroupCase{"KhmerLast", 0x17FF, 6}, GroupCase{"Mongolian", 0x1800, 7},
                      GroupCase{"BeforePresentationFormsA", 0xFB4F, 7},
                      GroupCase{"PresentationFormsAFirst", 0xFB50, 2}, GroupCase{"PresentationFormsALast", 0xFDFF, 2},
                      GroupCase{"VariationSelector", 0xFE00, 7}, GroupCase{"PresentationFormsBFirst", 0xFE70, 2},
                      GroupCase{"ByteOrderMark", 0xFEFF, 2}, GroupCase{"FullwidthA", 0xFF21, 7},
                      GroupCase{"Emoji", 0x1F600, 7}, GroupCase{"BeyondUnicode", 0x110000, 7}),
    [](const auto& info) { return std::string(info.param.label); });

struct ReportCase {
    int group;
    std::string_view label;
    std::string_view render_path;
};

class ScriptReport : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ScriptReport, NamesTheGroupAndItsPath) {
    EXPECT_EQ(script_label(GetParam().group), GetParam().label);
    EXPECT_EQ(script_render_path(GetParam().group), GetParam().render_path);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, ScriptReport,
    ::testing::Values(ReportCase{-1, "Unknown", "SIMPLE"}, ReportCase{0, "Space", "SIMPLE"},
                      ReportCase{1, "Hebrew", "SHAPED"}, ReportCase{2, "Arabic", "SHAPED"},
                      ReportCase{3, "Indic", "SHAPED"}, ReportCase{4, "Thai", "SHAPED"},
                      ReportCase{5, "Tibetan", "SHAPED"}, ReportCase{6, "Khmer", "SHAPED"},
                      ReportCase{7, "Latin/CJK", "SIMPLE"}, ReportCase{8, "Unknown", "SIMPLE"}));

}  // namespace
