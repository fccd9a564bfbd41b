// A compact, immutable set of Unicode code points: what a face's character
// map covers, kept as sorted ranges so that a 45,000-character CJK face costs
// a few kilobytes and a membership test is a binary search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::font {

/// The last Unicode code point. Nothing above it is ever stored, which also
/// bounds what a hostile character map or a forged byte string can make us hold.
inline constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;
/// Most ranges a set can have: every other code point.
inline constexpr std::size_t kMaxCodePointRanges = (kMaxCodePoint + 1) / 2;

struct CodePointRange {
    std::uint32_t first;
    std::uint32_t last;  // inclusive

    bool operator==(const CodePointRange&) const = default;
};

class CodePointSet {
public:
    CodePointSet() = default;

    /// Builds the set from code points in any order; duplicates are allowed,
    /// code points above U+10FFFF are dropped.
    static CodePointSet from_code_points(std::vector<std::uint32_t> code_points);
    /// Builds the set from ranges in any order; overlapping and adjacent ranges
    /// merge, inverted ranges are dropped, and nothing above U+10FFFF is kept.
    /// Ranges that are already sorted and apart are taken over as they are.
    static CodePointSet from_ranges(std::vector<CodePointRange> ranges);

    bool contains(std::uint32_t code_point) const;
    /// Number of code points in the set.
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    /// Sorted, disjoint and never adjacent: two touching ranges are one.
    std::span<const CodePointRange> ranges() const { return ranges_; }
    /// Heap bytes held by the set.
    std::size_t memory_bytes() const { return ranges_.capacity() * sizeof(CodePointRange); }

    /// A byte string that `deserialize` turns back into the same set.
    std::string serialize() const;
    /// The set `serialize` wrote; nullopt for bytes it did not write (wrong
    /// header or length, ranges out of order, overlapping, adjacent, or beyond
    /// U+10FFFF). Safe on any input: the bytes may come from an untrusted pickle.
    static std::optional<CodePointSet> deserialize(std::string_view bytes);

    bool operator==(const CodePointSet& other) const { return ranges_ == other.ranges_; }
    /// A hash of the content (FNV-1a over the ranges): equal sets hash alike.
    std::uint64_t content_hash() const;
    /// "<CodePointSet 5 code points in 3 ranges>": what the set is, in a line.
    std::string description() const;

private:
    /// Takes ranges that are already sorted, apart and within Unicode.
    explicit CodePointSet(std::vector<CodePointRange> canonical_ranges);

    std::vector<CodePointRange> ranges_;
    std::size_t size_ = 0;
};

}  // namespace lumo::font
