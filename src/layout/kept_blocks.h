// Which drawn blocks an object keeps: at most kMaxCachedBlocks of them and
// kMaxCachedBlockBytes of pixels, the oldest making way for the newest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumo::layout {

/// Whether a block of `bytes` pixel bytes may be kept at all.
bool block_may_be_kept(std::int64_t bytes);

/// How many of the oldest kept blocks are dropped once a new one is kept:
/// `bytes_in_order` are the kept blocks' sizes, oldest first, the new one
/// among them at `new_position`; `total` the bytes they hold together. The
/// oldest go until both limits hold, but never the new block nor any after it.
std::size_t blocks_to_drop(std::span<const std::int64_t> bytes_in_order, std::int64_t total,
                           std::size_t new_position);

}  // namespace lumo::layout
