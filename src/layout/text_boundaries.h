// Where a caret may stand and where words begin and end: the grapheme cluster
// and word boundaries of Unicode text segmentation (UAX #29) as libunibreak
// implements them.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace lumo::layout {

/// One flag per character of `text` and one for its end: whether a grapheme
/// cluster boundary stands before that position. The first and last flags
/// are true ("क्षि", "👨‍👩‍👧", "🇯🇵" and "e\u0301" have none inside).
std::vector<bool> grapheme_boundaries(std::u32string_view text);

/// One flag per character of `text` and one for its end: whether a word
/// boundary stands before that position. The first and last flags are true.
std::vector<bool> word_boundaries(std::u32string_view text);

/// The segment between two neighbouring boundaries (flags as above, one more
/// than the characters) that holds the character at `position`; at the end,
/// the last segment. A text without characters gives (0, 0).
std::pair<std::size_t, std::size_t> segment_around(const std::vector<bool>& boundaries, std::size_t position);

}  // namespace lumo::layout
