// Which drawn blocks an object keeps; see kept_blocks.h.
#include "layout/kept_blocks.h"

#include "base/limits.h"

namespace lumo::layout {

bool block_may_be_kept(std::int64_t bytes) { return bytes <= kMaxCachedBlockBytes; }

std::size_t blocks_to_drop(std::span<const std::int64_t> bytes_in_order, std::int64_t total,
                           std::size_t new_position) {
    std::size_t dropped = 0;
    while ((bytes_in_order.size() - dropped > kMaxCachedBlocks || total > kMaxCachedBlockBytes) &&
           dropped < new_position && dropped < bytes_in_order.size())
        total -= bytes_in_order[dropped++];
    return dropped;
}

}  // namespace lumo::layout
