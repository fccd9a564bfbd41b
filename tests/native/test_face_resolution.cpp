// Which file serves a family in a face word: own files, the disk, the index
// and its stand-ins.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "font/face_resolution.h"

namespace {

using namespace lumo::font;

/// An index of face names (numbered by their order) and aliases.
struct FakeIndex final : FaceIndex {
    std::string family;
    std::string face = "regular";
    std::vector<std::string> faces;
    std::map<std::string, std::string> aliases;
    bool primary_file = false, fallback_file = false, on_disk = false;
    std::vector<std::string> looked_up;

    bool primary_record_names_family() override { return primary_file; }
    bool fallback_record_names_family() override { return fallback_file; }
    bool family_exists_on_disk() override { return on_disk; }
    std::string lower_family() override {
        std::string lower = family;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }
    std::string face_text() override { return face; }
    int record_of(std::string_view face_name) override {
        looked_up.emplace_back(face_name);
        for (std::size_t i = 0; i < faces.size(); ++i)
            if (faces[i] == face_name) return static_cast<int>(i);
        return -1;
    }
    std::optional<std::string> alias_of(std::string_view short_name) override {
        const auto found = aliases.find(std::string(short_name));
        if (found == aliases.end()) return std::nullopt;
        return found->second;
    }
    std::vector<std::string> face_names() override { return faces; }

    /// The face name of the record chosen, or the source's name.
    std::string chosen() {
        const FaceFile file = choose_face_file(*this);
        switch (file.source) {
        case FaceSource::primary_record: return "<primary file>";
        case FaceSource::fallback_record: return "<fallback file>";
        case FaceSource::file_on_disk: return "<on disk>";
        case FaceSource::unresolved: return "<itself>";
        case FaceSource::stand_in: return faces.at(static_cast<std::size_t>(file.record)) + " for " + family;
        case FaceSource::index: break;
        }
        return faces.at(static_cast<std::size_t>(file.record));
    }
};

struct ResolutionCase {
    const char* label;
    std::string family, face;
    std::vector<std::string> faces;
    std::map<std::string, std::string> aliases;
    std::string expected;
};

class FaceChoice : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(FaceChoice, FindsTheFaceFile) {
    const ResolutionCase& c = GetParam();
    FakeIndex index;
    index.family = c.family;
    index.face = c.face;
    index.faces = c.faces;
    index.aliases = c.aliases;
    EXPECT_EQ(index.chosen(), c.expected);
}

const std::vector<std::string> kArial = {"arial", "arial bold"};
const std::vector<std::string> kRoboto = {"roboto regular", "roboto bold", "roboto-italic"};
const std::map<std::string, std::string> kRobotoAlias = {{"roboto", "roboto regular"}};

INSTANTIATE_TEST_SUITE_P(
    Index, FaceChoice,
    ::testing::Values(
        ResolutionCase{"BoldFile", "Arial", "bold", kArial, {}, "arial bold"},
        ResolutionCase{"RegularFallsToTheFamily", "Arial", "regular", kArial, {}, "arial"},
        ResolutionCase{"EmptyFaceIsTheFamily", "Arial", "", kArial, {}, "arial"},
        ResolutionCase{"CapitalFaceWordNeverMatches", "Arial", "Bold", kArial, {}, "arial"},
        ResolutionCase{"HyphenSpelling", "Roboto", "italic", kRoboto, kRobotoAlias, "roboto-italic"},
        ResolutionCase{"AliasGivesTheDefaultFace", "Roboto", "semibold", kRoboto, kRobotoAlias, "roboto regular"},
        ResolutionCase{"BlankSpellingFirst", "Roboto", "bold", {"roboto-bold", "roboto bold"}, {}, "roboto bold"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    StandIns, FaceChoice,
    ::testing::Values(
        ResolutionCase{"MetricTwin", "Arial", "bold", {"dejavu sans", "liberation sans", "liberation sans bold"}, {},
                       "liberation sans bold for Arial"},
        ResolutionCase{"DefaultSans", "Unknown Family", "regular", {"noto sans", "dejavu sans"}, {},
                       "dejavu sans for Unknown Family"},
        ResolutionCase{"FirstRegularFace", "Unknown", "regular", {"mono bold", "mono regular"}, {},
                       "mono regular for Unknown"},
        ResolutionCase{"EmptyIndex", "Unknown", "regular", {}, {}, "<itself>"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FaceChoiceOrder, OwnFilesAndTheDiskComeBeforeTheIndex) {
    FakeIndex index;
    index.family = "Arial";
    index.faces = kArial;
    index.on_disk = true;
    EXPECT_EQ(index.chosen(), "<on disk>");
    index.fallback_file = true;
    EXPECT_EQ(index.chosen(), "<fallback file>");
    index.primary_file = true;
    EXPECT_EQ(index.chosen(), "<primary file>");
    EXPECT_TRUE(index.looked_up.empty());
}

TEST(FaceChoiceOrder, TheFaceIsTriedInTwoSpellingsStrippedThenTheFamily) {
    FakeIndex index;
    index.family = "Noto Sans";
    index.face = " bold ";
    EXPECT_EQ(index.chosen(), "<itself>");
    ASSERT_GE(index.looked_up.size(), 3u);
    EXPECT_EQ(index.looked_up[0], "noto sans  bold");
    EXPECT_EQ(index.looked_up[1], "noto sans- bold");
    EXPECT_EQ(index.looked_up[2], "noto sans");
}

}  // namespace
