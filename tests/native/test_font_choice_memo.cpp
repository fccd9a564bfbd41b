// The font choices remembered across lines answer only while the best-path
// cache and the fields the choice reads are the ones they were learned under.
#include <gtest/gtest.h>

#include <string>

#include "font/font_choice_memo.h"

namespace {

using namespace lumo::font;

using Memo = ChoiceMemo<std::string>;

const ChoiceSources kSources{0x1000, 3, 7, 0x10, 0x20, 0x30, 0x40};

bool same_word(const std::string& known, const std::string& asked) { return known == asked; }

/// A memo that numbered "regular" (slot 0) and remembered one choice for 'A'.
Memo memo_with_one_choice() {
    Memo memo;
    memo.follow(kSources);
    memo.face_slot("regular", same_word);
    memo.remember(kSources, U'A', 0, true, Presentation::by_default, "DejaVuSans.ttf");
    return memo;
}

TEST(ChoiceMemo, AnswersEachChoiceUnderItsCharacterFaceAndSettings) {
    Memo memo = memo_with_one_choice();
    memo.face_slot("bold", same_word);
    memo.remember(kSources, U'A', 1, true, Presentation::by_default, "DejaVuSans-Bold.ttf");
    memo.remember(kSources, U'A', 0, false, Presentation::by_default, "legacy.ttf");
    memo.remember(kSources, U'A', 0, true, Presentation::emoji, "emoji.ttf");

    auto path_of = [&](int face, bool modern_font, Presentation presentation) {
        const std::string* path = memo.find(U'A', face, modern_font, presentation);
        return path != nullptr ? *path : std::string("(none)");
    };
    EXPECT_EQ(path_of(0, true, Presentation::by_default), "DejaVuSans.ttf");
    EXPECT_EQ(path_of(1, true, Presentation::by_default), "DejaVuSans-Bold.ttf");
    EXPECT_EQ(path_of(0, false, Presentation::by_default), "legacy.ttf");
    EXPECT_EQ(path_of(0, true, Presentation::emoji), "emoji.ttf");
    EXPECT_EQ(path_of(0, true, Presentation::text), "(none)");
    EXPECT_EQ(memo.find(U'B', 0, true, Presentation::by_default), nullptr);
}

TEST(ChoiceMemo, KeepsTheFirstPathRememberedUnderAKey) {
    Memo memo = memo_with_one_choice();
    memo.remember(kSources, U'A', 0, true, Presentation::by_default, "other.ttf");
    EXPECT_EQ(*memo.find(U'A', 0, true, Presentation::by_default), "DejaVuSans.ttf");
}

struct SourcesCase {
    const char* label;
    ChoiceSources now;
    bool kept;
};

class FollowedSources : public ::testing::TestWithParam<SourcesCase> {};

TEST_P(FollowedSources, StartAfreshWhenAnythingTheChoiceReadChanged) {
    Memo memo = memo_with_one_choice();
    memo.follow(GetParam().now);
    EXPECT_EQ(memo.find(U'A', 0, true, Presentation::by_default) != nullptr, GetParam().kept);
}

ChoiceSources with(ChoiceSources sources, std::uintptr_t ChoiceSources::* field, std::uintptr_t value) {
    sources.*field = value;
    return sources;
}

INSTANTIATE_TEST_SUITE_P(
    ChoiceMemo, FollowedSources,
    ::testing::Values(SourcesCase{"unchanged", kSources, true},
                      SourcesCase{"cache_written_by_host", {0x1000, 3, 8, 0x10, 0x20, 0x30, 0x40}, false},
                      SourcesCase{"cache_grew", {0x1000, 4, 7, 0x10, 0x20, 0x30, 0x40}, false},
                      SourcesCase{"host_container", {0x1000, -1, 0, 0x10, 0x20, 0x30, 0x40}, false},
                      SourcesCase{"other_cache", with(kSources, &ChoiceSources::path_cache, 0x2000), false},
                      SourcesCase{"primary_name", with(kSources, &ChoiceSources::primary_name, 0x11), false},
                      SourcesCase{"fallback_name", with(kSources, &ChoiceSources::fallback_name, 0x21), false},
                      SourcesCase{"emoji_path", with(kSources, &ChoiceSources::emoji_path, 0x31), false},
                      SourcesCase{"intl_font_paths", with(kSources, &ChoiceSources::intl_font_paths, 0x41), false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ChoiceMemo, TheEnginesOwnWriteKeepsWhatItKnew) {
    Memo memo = memo_with_one_choice();
    // The engine's store gave the dict a new version and one more entry.
    const ChoiceSources after_store{0x1000, 4, 8, 0x10, 0x20, 0x30, 0x40};
    memo.remember(after_store, U'B', 0, true, Presentation::by_default, "DejaVuSans.ttf");
    memo.follow(after_store);
    EXPECT_NE(memo.find(U'A', 0, true, Presentation::by_default), nullptr);
    EXPECT_NE(memo.find(U'B', 0, true, Presentation::by_default), nullptr);
}

TEST(ChoiceMemo, AFieldReplacedWhileTheEngineStoredStartsAfresh) {
    Memo memo = memo_with_one_choice();
    memo.remember(with(kSources, &ChoiceSources::primary_name, 0x11), U'B', 0, true, Presentation::by_default, "x");
    EXPECT_EQ(memo.find(U'A', 0, true, Presentation::by_default), nullptr);
    EXPECT_NE(memo.find(U'B', 0, true, Presentation::by_default), nullptr);
}

TEST(ChoiceMemo, NeverAnswersForAHostContainerOrAnUnnumberedFace) {
    Memo memo;
    const ChoiceSources host_container{0x1000, -1, 0, 0x10, 0x20, 0x30, 0x40};
    memo.follow(host_container);
    memo.face_slot("regular", same_word);
    memo.remember(host_container, U'A', 0, true, Presentation::by_default, "x");
    EXPECT_EQ(memo.size(), 0u);
    memo.follow(kSources);
    memo.remember(kSources, U'A', -1, true, Presentation::by_default, "x");
    memo.remember(kSources, U'A', 5, true, Presentation::by_default, "x");
    EXPECT_EQ(memo.size(), 0u);
}

TEST(ChoiceMemo, EqualFaceWordsShareANumberUpToTheLimit) {
    Memo memo;
    EXPECT_EQ(memo.face_slot("regular", same_word), 0);
    EXPECT_EQ(memo.face_slot("bold", same_word), 1);
    EXPECT_EQ(memo.face_slot("regular", same_word), 0);
    for (std::size_t i = 2; i < lumo::kMaxRememberedFaces; ++i)
        EXPECT_EQ(memo.face_slot("face " + std::to_string(i), same_word), static_cast<int>(i));
    EXPECT_EQ(memo.face_slot("one face too many", same_word), -1);
    EXPECT_EQ(memo.face_slot("bold", same_word), 1);
}

TEST(ChoiceMemo, StartsAfreshRatherThanGrowPastItsLimit) {
    Memo memo;
    memo.follow(kSources);
    memo.face_slot("regular", same_word);
    for (char32_t code = 0; code < lumo::kMaxRememberedChoices; ++code)
        memo.remember(kSources, code, 0, true, Presentation::by_default, "x");
    EXPECT_EQ(memo.size(), lumo::kMaxRememberedChoices);
    memo.remember(kSources, 0x10FFFF, 0, true, Presentation::by_default, "x");
    EXPECT_EQ(memo.size(), 1u);
    EXPECT_EQ(memo.find(0, 0, true, Presentation::by_default), nullptr);
}

}  // namespace
