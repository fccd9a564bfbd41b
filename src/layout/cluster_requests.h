// What a host asks of a laid-out block's text and clusters, checked as plain
// values: indices of the text, reveal indices of any size, and the offset
// triples that move and fade clusters.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "layout/block_clusters.h"

namespace lumo::layout {

/// An index of the text the host gave: 0 to the text's `length`; nullopt outside it.
std::optional<std::size_t> index_within_text(long long index, std::size_t length);

/// "index 12 is outside the text (0 to 5)".
std::string index_outside_text_message(long long index, std::size_t length);

/// How many clusters a frame revealing the text up to `index` shows: none
/// at or before its start, all at or past its end. `overflow` says the
/// host's integer was below (-1) or above (1) every long long.
std::size_t clusters_revealed(const BlockClusters& clusters, std::size_t text_length, long long index,
                              int overflow);

enum class OffsetPart { dx, dy, alpha };

/// Whether a number of an offsets triple is allowed: a move finite and
/// within the largest extent a run may have, an alpha from 0 to 255.
bool offset_allowed(OffsetPart part, double value);

/// "offsets: dx must be a finite number of pixels within the limits": the
/// start of the message a number refused by offset_allowed() gets.
std::string offset_limit_message(OffsetPart part);

/// The shift an allowed triple asks for: whole pixels and alpha steps, rounded half away from zero.
ClusterShift shift_of(double dx, double dy, double alpha);

/// "offsets must give one (dx, dy, alpha) for each of the 3 clusters, not 2".
std::string offsets_count_message(std::size_t clusters, std::size_t given);

}  // namespace lumo::layout
