// Which drawn blocks an object keeps: the oldest make way for the newest
// until both the count and the byte limit hold, and the newest always stays.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/limits.h"
#include "layout/kept_blocks.h"

namespace {

using lumo::kMaxCachedBlockBytes;
using lumo::kMaxCachedBlocks;
using lumo::layout::blocks_to_drop;

TEST(KeptBlocks, ABlockPastTheByteLimitOnItsOwnIsNotKept) {
    EXPECT_TRUE(lumo::layout::block_may_be_kept(kMaxCachedBlockBytes));
    EXPECT_FALSE(lumo::layout::block_may_be_kept(kMaxCachedBlockBytes + 1));
}

TEST(KeptBlocks, TheOldestGoUntilTheCountAndBytesHold) {
    std::vector<std::int64_t> sizes(kMaxCachedBlocks, 100);
    EXPECT_EQ(blocks_to_drop(sizes, 100 * kMaxCachedBlocks, kMaxCachedBlocks - 1), 0u);
    sizes.push_back(100);  // one past the count
    EXPECT_EQ(blocks_to_drop(sizes, 100 * (kMaxCachedBlocks + 1), kMaxCachedBlocks), 1u);
    // Bytes: a new block of half the limit pushes out the oldest until the rest fit.
    const std::int64_t half = kMaxCachedBlockBytes / 2;
    const std::vector<std::int64_t> big = {half, half / 2, half / 2, half};
    EXPECT_EQ(blocks_to_drop(big, 2 * half + half, 3), 1u);
    EXPECT_EQ(blocks_to_drop(big, 3 * half, 3), 1u);
    EXPECT_EQ(blocks_to_drop(big, 3 * half + 1, 3), 2u);
}

TEST(KeptBlocks, TheNewBlockAndThoseAfterItStay) {
    const std::vector<std::int64_t> sizes = {10, kMaxCachedBlockBytes, 10};
    EXPECT_EQ(blocks_to_drop(sizes, kMaxCachedBlockBytes + 20, 1), 1u);
    EXPECT_EQ(blocks_to_drop(sizes, kMaxCachedBlockBytes + 20, 0), 0u);
    EXPECT_EQ(blocks_to_drop(sizes, kMaxCachedBlockBytes * 4, 3), 3u);  // no new block among them
}

}  // namespace
