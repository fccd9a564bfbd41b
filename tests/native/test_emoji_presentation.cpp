// Unicode's default emoji presentation, and what a text asks of a character.
#include <gtest/gtest.h>

#include "font/emoji_presentation.h"

namespace lumo::font {
namespace {

TEST(EmojiPresentation, FollowsUnicodesDefault) {
    for (char32_t text_by_default : {U'©', U'®', U'™', U'♥', U'♠', U'☺', U'✈', U'#', U'1', U'‼'})
        EXPECT_FALSE(has_emoji_presentation(text_by_default)) << static_cast<unsigned>(text_by_default);
    for (char32_t emoji_by_default : {U'😀', U'⌚', U'⌛', U'🚀', U'🦄', U'☕', U'🇯', U'🏻', U'🫠'})
        EXPECT_TRUE(has_emoji_presentation(emoji_by_default)) << static_cast<unsigned>(emoji_by_default);
    EXPECT_FALSE(has_emoji_presentation(U'a'));
    EXPECT_FALSE(has_emoji_presentation(0x10FFFF));
    EXPECT_FALSE(has_emoji_presentation(0));
}

TEST(EmojiPresentation, SelectorsAndSequencesAsk) {
    EXPECT_EQ(requested_presentation(U"©", 0), Presentation::by_default);
    EXPECT_EQ(requested_presentation(U"©\uFE0E", 0), Presentation::text);
    EXPECT_EQ(requested_presentation(U"©\uFE0F", 0), Presentation::emoji);
    EXPECT_EQ(requested_presentation(U"☝🏻", 0), Presentation::emoji);         // a skin tone follows
    EXPECT_EQ(requested_presentation(U"👁\u200D🗨", 0), Presentation::emoji);  // a joiner follows
    EXPECT_EQ(requested_presentation(U"👁\u200D🗨", 2), Presentation::emoji);  // a joiner precedes
    EXPECT_EQ(requested_presentation(U"a©b", 1), Presentation::by_default);
    EXPECT_EQ(requested_presentation(U"©", 5), Presentation::by_default);      // past the end
}

}  // namespace
}  // namespace lumo::font
