// The glyph cache entries a changing line keeps natively: they answer only
// in the context and for the cache state they were learned in.
#include <gtest/gtest.h>

#include <string>

#include "font/dynamic_glyphs.h"

namespace {

using lumo::font::DynamicGlyphContext;
using lumo::font::DynamicGlyphs;
using lumo::font::ViewStamp;

constexpr ViewStamp kCache{0x1000, 7};
constexpr ViewStamp kCacheAfterWrite{0x1000, 8};

DynamicGlyphContext white24() { return {24, {255, 255, 255}, 1, 1, 0.15, "regular"}; }

TEST(DynamicGlyphs, AnswersWhatWasReadOrWrittenWhileTheCacheStaysAsTheEngineLeftIt) {
    DynamicGlyphs<std::string> memo;
    memo.begin(white24(), kCache);
    EXPECT_EQ(memo.find(U'S', kCache), nullptr);
    memo.learn_read(U'S', kCache, kCache, "S entry");
    memo.learn_write(U'1', kCache, kCacheAfterWrite, "1 entry");
    // The engine's own write moved the cache on; both entries still answer.
    ASSERT_NE(memo.find(U'S', kCacheAfterWrite), nullptr);
    EXPECT_EQ(*memo.find(U'S', kCacheAfterWrite), "S entry");
    EXPECT_EQ(*memo.find(U'1', kCacheAfterWrite), "1 entry");
    // The next line in the same context finds them.
    memo.begin(white24(), kCacheAfterWrite);
    EXPECT_EQ(*memo.find(U'1', kCacheAfterWrite), "1 entry");
}

TEST(DynamicGlyphs, ForgetsEverythingWhenTheCacheChangedOrIsAnotherOrTheContextDiffers) {
    DynamicGlyphs<std::string> memo;
    memo.begin(white24(), kCache);
    memo.learn_read(U'S', kCache, kCache, "S entry");
    EXPECT_EQ(memo.find(U'S', {0x1000, 9}), nullptr) << "the host changed the cache";
    memo.learn_read(U'S', {0x1000, 9}, {0x1000, 9}, "S entry");
    EXPECT_EQ(memo.find(U'S', {0x2000, 9}), nullptr) << "the host put another cache in its place";

    memo.begin(white24(), kCache);
    memo.learn_read(U'S', kCache, kCache, "S entry");
    DynamicGlyphContext red = white24();
    red.colour = {255, 0, 0};
    memo.begin(red, kCache);
    EXPECT_EQ(memo.find(U'S', kCache), nullptr) << "another colour is another key";
}

TEST(DynamicGlyphs, LearnsNothingFromACacheThatChangedDuringTheLookupOrCannotBeFollowed) {
    DynamicGlyphs<std::string> memo;
    memo.begin(white24(), kCache);
    memo.learn_read(U'S', kCache, {0x1000, 8}, "S entry");  // host code ran during the lookup
    EXPECT_EQ(memo.find(U'S', {0x1000, 8}), nullptr);
    memo.begin(white24(), ViewStamp{});  // one of the host's own containers
    memo.learn_read(U'S', ViewStamp{}, ViewStamp{}, "S entry");
    EXPECT_EQ(memo.find(U'S', ViewStamp{}), nullptr);
    memo.learn_write(U'T', ViewStamp{}, ViewStamp{}, "T entry");
    EXPECT_EQ(memo.find(U'T', ViewStamp{}), nullptr);
}

}  // namespace
