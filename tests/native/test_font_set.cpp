// The font set answers what it learned from a host cache only while that
// cache is the same one, unchanged since.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "font/font_set.h"

namespace {

using namespace lumo::font;

const ViewStamp kCache{0x1000, 7};
const ViewStamp kCacheChanged{0x1000, 9};
const ViewStamp kOtherCache{0x2000, 7};
const ViewStamp kHostContainer{};  // not a plain dict: never followed

using Names = ViewedMap<FamilyFaceKey, std::string, FontSetKeyHash>;

FamilyFaceKey family_face(const char* family, const char* face) { return {family, face, true}; }

TEST(ViewedMap, AnswersWhatItReadWhileTheCacheIsUnchanged) {
    Names names;
    names.learn_read(kCache, kCache, family_face("DejaVu Sans", "bold"), "DejaVuSans-Bold.ttf");
    const std::string* known = names.find(kCache, family_face("DejaVu Sans", "bold"));
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(*known, "DejaVuSans-Bold.ttf");
    EXPECT_EQ(names.find(kCache, family_face("DejaVu Sans", "italic")), nullptr);
}

struct StampCase {
    const char* label;
    ViewStamp asked;
};

class ChangedCache : public ::testing::TestWithParam<StampCase> {};

TEST_P(ChangedCache, ForgetsEverythingLearnedFromTheOldOne) {
    Names names;
    names.learn_read(kCache, kCache, family_face("Noto Sans", "regular"), "NotoSans-Regular.ttf");
    EXPECT_EQ(names.find(GetParam().asked, family_face("Noto Sans", "regular")), nullptr);
    EXPECT_EQ(names.size(), 0u);
    // Nor does it come back when the old cache is asked about again.
    EXPECT_EQ(names.find(kCache, family_face("Noto Sans", "regular")), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Stamps, ChangedCache,
                         ::testing::Values(StampCase{"EntryChanged", kCacheChanged},
                                           StampCase{"CacheReplaced", kOtherCache},
                                           StampCase{"HostContainer", kHostContainer}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ViewedMap, ACacheThatChangedDuringTheLookupTeachesNothing) {
    Names names;
    names.learn_read(kCache, kCacheChanged, family_face("Arial", ""), "arial.ttf");
    EXPECT_EQ(names.find(kCache, family_face("Arial", "")), nullptr);
    EXPECT_EQ(names.find(kCacheChanged, family_face("Arial", "")), nullptr);
}

TEST(ViewedMap, ItsOwnWritesKeepWhatItKnows) {
    Names names;
    names.learn_read(kCache, kCache, family_face("A", "x"), "a.ttf");
    names.learn_write(kCache, kCacheChanged, family_face("B", "x"), "b.ttf");
    ASSERT_NE(names.find(kCacheChanged, family_face("A", "x")), nullptr);
    ASSERT_NE(names.find(kCacheChanged, family_face("B", "x")), nullptr);
    // A write into a cache changed by someone else keeps only what was written.
    const ViewStamp later{0x1000, 20}, after_write{0x1000, 21};
    names.learn_write(later, after_write, family_face("C", "x"), "c.ttf");
    EXPECT_EQ(names.find(after_write, family_face("A", "x")), nullptr);
    EXPECT_NE(names.find(after_write, family_face("C", "x")), nullptr);
}

TEST(ViewedMap, AHostContainerIsNeverLearnedFrom) {
    Names names;
    names.learn_read(kHostContainer, kHostContainer, family_face("A", "x"), "a.ttf");
    names.learn_write(kHostContainer, kHostContainer, family_face("B", "x"), "b.ttf");
    EXPECT_EQ(names.size(), 0u);
    EXPECT_EQ(names.find(kHostContainer, family_face("A", "x")), nullptr);
}

TEST(FontSetKeys, KeysTellNoneFromEmptyText) {
    Names names;
    names.learn_read(kCache, kCache, FamilyFaceKey{"Arial", "", true}, "empty face");
    EXPECT_EQ(names.find(kCache, FamilyFaceKey{"Arial", "", false}), nullptr);
    ViewedMap<FontFileKey, int, FontSetKeyHash> files;
    files.learn_read(kCache, kCache, FontFileKey{"", 0, true}, 1);
    EXPECT_EQ(files.find(kCache, FontFileKey{"", 0, false}), nullptr);
    EXPECT_EQ(files.find(kCache, FontFileKey{"", -1, true}), nullptr);
    ASSERT_NE(files.find(kCache, FontFileKey{"", 0, true}), nullptr);
}

TEST(FontSetKeys, SizedFacesDifferByEachPart) {
    ViewedMap<SizedFaceKey, int, FontSetKeyHash> faces;
    const SizedFaceKey base{{"/fonts/Var.ttf", 0, true}, 24, "bold", {700.0f}};
    faces.learn_read(kCache, kCache, base, 1);
    for (SizedFaceKey other : {SizedFaceKey{{"/fonts/Var.ttf", 1, true}, 24, "bold", {700.0f}},
                               SizedFaceKey{{"/fonts/Var.ttf", 0, true}, 25, "bold", {700.0f}},
                               SizedFaceKey{{"/fonts/Var.ttf", 0, true}, 24, "Bold", {700.0f}},
                               SizedFaceKey{{"/fonts/Var.ttf", 0, true}, 24, "bold", {}},
                               SizedFaceKey{{"/fonts/Var.ttf", 0, true}, 24, "bold", {650.0f}}})
        EXPECT_EQ(faces.find(kCache, other), nullptr);
    EXPECT_NE(faces.find(kCache, base), nullptr);
}

TEST(ViewedMap, ForgottenValuesAreReleased) {
    ViewedMap<FamilyFaceKey, std::shared_ptr<int>, FontSetKeyHash> held;
    std::weak_ptr<int> watched;
    {
        auto value = std::make_shared<int>(5);
        watched = value;
        held.learn_read(kCache, kCache, family_face("A", "x"), value);
    }
    EXPECT_FALSE(watched.expired());
    held.find(kOtherCache, family_face("A", "x"));
    EXPECT_TRUE(watched.expired());
}

TEST(ViewedMap, ForgetIfDropsOnlyTheKeysItIsAsked) {
    ViewedMap<FontFileKey, int, FontSetKeyHash> files;
    files.learn_read(kCache, kCache, FontFileKey{"/a.ttf", 0, true}, 1);
    files.learn_read(kCache, kCache, FontFileKey{"/b.ttf", 0, true}, 2);
    files.forget_if([](const FontFileKey& key) { return key.path == "/a.ttf"; });
    EXPECT_EQ(files.find(kCache, FontFileKey{"/a.ttf", 0, true}), nullptr);
    EXPECT_NE(files.find(kCache, FontFileKey{"/b.ttf", 0, true}), nullptr);
}

TEST(FontSet, VisitsEveryHostValueItHolds) {
    FontSet<std::string> set;
    static const CodePointSet latin = CodePointSet::from_ranges({{0x20, 0x7E}});
    set.resolved_files.learn_read(kCache, kCache, family_face("A", "x"), "resolved");
    set.coverage.learn_read(kCache, kCache, FontFileKey{"/a.ttf", -1, true}, {"coverage", &latin});
    set.shaping_fonts.learn_read(kCache, kCache, FontFileKey{"/a.ttf", 0, true}, "harfbuzz");
    set.sized_faces.learn_read(kCache, kCache, SizedFaceKey{{"/a.ttf", 0, true}, 24, "", {}}, "face");
    set.metrics.learn_read(kCache, kCache, SizeFaceKey{24, "regular"}, {22.3, 27.9, "metrics"});
    std::vector<std::string> seen;
    set.each_host_value([&](const std::string& value) { seen.push_back(value); });
    EXPECT_EQ(seen, (std::vector<std::string>{"resolved", "coverage", "harfbuzz", "face", "metrics"}));
    set.clear();
    seen.clear();
    set.each_host_value([&](const std::string& value) { seen.push_back(value); });
    EXPECT_TRUE(seen.empty());
}

}  // namespace
