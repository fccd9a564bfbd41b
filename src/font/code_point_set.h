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

struct CodePointRange {
    std::uint32_t first;
    std::uint32_t last;  // inclusive

    bool operator==(const CodePointRange&) const = default;
};

class CodePointSet {
public:
    CodePointSet() = default;

    /// Builds the set from code points in any order; duplicates are allowed.
    static CodePointSet from_code_points(std::vector<std::uint32_t> code_points);

    bool contains(std::uint32_t code_point) const;
    /// Number of code points in the set.
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::span<const CodePointRange> ranges() const { return ranges_; }
    /// Heap bytes held by the set.
    std::size_t memory_bytes() const { return ranges_.capacity() * sizeof(CodePointRange); }

    /// A byte string that `deserialize` turns back into the same set.
    std::string serialize() const;
    /// The set `serialize` wrote; nullopt for bytes it did not write
    /// (ranges out of order, overlapping, or beyond U+10FFFF).
    static std::optional<CodePointSet> deserialize(std::string_view bytes);

    bool operator==(const CodePointSet& other) const { return ranges_ == other.ranges_; }

private:
    std::vector<CodePointRange> ranges_;
    std::size_t size_ = 0;
};

}  // namespace lumo::font
