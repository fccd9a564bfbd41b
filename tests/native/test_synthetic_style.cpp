// When a face word is imitated: the word is in the table and the file drawn
// is not the family's own file for the face.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "font/synthetic_style.h"

namespace {

using namespace lumo::font;

struct Family {
    std::string face_file, regular_file;
};

/// Families as file names; the file drawn as a name too.
struct FakeFiles final : FamilyFiles {
    std::array<Family, 3> families;
    std::string drawn;
    std::vector<int> resolved;  // families asked about, in order

    const Family& family(FamilyRole role) {
        resolved.push_back(static_cast<int>(role));
        return families[static_cast<std::size_t>(role)];
    }
    bool has_own_face_file(FamilyRole role) override {
        const Family& f = family(role);
        return f.face_file != f.regular_file;
    }
    bool draws_face_file(FamilyRole role) override { return drawn == family(role).face_file; }
    bool draws_regular_file(FamilyRole role) override { return drawn == family(role).regular_file; }
};

const Family kWithBoldFile{"sans-bold.ttf", "sans.ttf"};
const Family kRegularOnly{"sans.ttf", "sans.ttf"};
const Family kSerifRegularOnly{"serif.ttf", "serif.ttf"};
const Family kSerifWithBoldFile{"serif-bold.ttf", "serif.ttf"};

struct DecisionCase {
    const char* label;
    Family primary, fallback;
    std::string drawn;
    bool expected;
};

class DrawnFile : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(DrawnFile, ImitatedWhenNotTheFamilysOwnFile) {
    const DecisionCase& c = GetParam();
    FakeFiles files;
    files.families = {c.primary, c.fallback, Family{}};
    files.drawn = c.drawn;
    EXPECT_EQ(needs_synthesis(true, true, false, files), c.expected);
    EXPECT_EQ(lacks_face_file(files), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, DrawnFile,
    ::testing::Values(
        // A primary family with a bold file: neither of its files is emboldened.
        DecisionCase{"PrimaryBoldFile", kWithBoldFile, kSerifRegularOnly, "sans-bold.ttf", false},
        DecisionCase{"PrimaryRegularBesideItsBoldFile", kWithBoldFile, kSerifRegularOnly, "sans.ttf", false},
        DecisionCase{"NoFamilyHasABoldFile", kRegularOnly, kSerifRegularOnly, "sans.ttf", true},
        DecisionCase{"NoBoldFileAnyOtherFile", kRegularOnly, kSerifRegularOnly, "symbols.ttf", true},
        DecisionCase{"FallbackBoldFile", kRegularOnly, kSerifWithBoldFile, "serif-bold.ttf", false},
        DecisionCase{"FallbackRegularBesideItsBoldFile", kRegularOnly, kSerifWithBoldFile, "serif.ttf", false},
        DecisionCase{"PrimaryRegularWhenOnlyTheFallbackHasBold", kRegularOnly, kSerifWithBoldFile, "sans.ttf", true},
        DecisionCase{"ScriptFontWhenBothHaveBold", kWithBoldFile, kSerifWithBoldFile, "thai.ttf", true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SyntheticDecision, AWordOutsideTheTableIsNeverImitatedNorAskedAbout) {
    FakeFiles files;
    files.families = {kRegularOnly, kSerifRegularOnly, kRegularOnly};
    files.drawn = "symbols.ttf";
    EXPECT_FALSE(needs_synthesis(false, true, false, files));
    EXPECT_FALSE(needs_synthesis(false, false, true, files));
    EXPECT_TRUE(files.resolved.empty());
}

TEST(SyntheticDecision, TheFallbackIsAskedAboutOnlyWhenThePrimaryDoesNotDecide) {
    FakeFiles files;
    files.families = {kWithBoldFile, kSerifRegularOnly, Family{}};
    files.drawn = "sans-bold.ttf";
    EXPECT_FALSE(lacks_face_file(files));
    for (int role : files.resolved) EXPECT_EQ(role, static_cast<int>(FamilyRole::primary));
}

TEST(SyntheticDecision, WithoutAFileDrawnTheNamedFamilyDecides) {
    FakeFiles files;
    files.families = {kWithBoldFile, kSerifWithBoldFile, kRegularOnly};
    EXPECT_TRUE(needs_synthesis(true, false, true, files));
    files.families[2] = kWithBoldFile;
    EXPECT_FALSE(needs_synthesis(true, false, true, files));
    // No file and no name: nothing to imitate.
    EXPECT_FALSE(needs_synthesis(true, false, false, files));
}

}  // namespace
