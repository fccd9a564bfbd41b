// Building, querying and the byte form of code-point sets. The byte form is
// what a pickled set carries, so reading it back trusts nothing.
#include "font/code_point_set.h"

#include <algorithm>
#include <iterator>

namespace lumo::font {
namespace {

// Byte form, all integers little-endian: the magic "LCPS", one version byte,
// the range count (u32), then each range as first and last code point (u32).
constexpr std::string_view kMagic = "LCPS";
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::size_t kHeaderSize = kMagic.size() + 1 + 4;
constexpr std::size_t kRangeBytes = 8;

void append_u32_le(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t load_u32_le(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

/// Whether `ranges` are valid, sorted, and neither overlap nor touch.
bool is_canonical(const std::vector<CodePointRange>& ranges) {
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (ranges[i].first > ranges[i].last || ranges[i].last > kMaxCodePoint) return false;
        if (i > 0 && ranges[i].first <= ranges[i - 1].last + 1) return false;
    }
    return true;
}

/// Appends `range` to sorted `ranges`, merging it into the last one when they touch.
void append_merging(std::vector<CodePointRange>& ranges, CodePointRange range) {
    if (!ranges.empty() && range.first <= ranges.back().last + 1) {
        ranges.back().last = std::max(ranges.back().last, range.last);
    } else {
        ranges.push_back(range);
    }
}

}  // namespace

CodePointSet::CodePointSet(std::vector<CodePointRange> canonical_ranges) : ranges_(std::move(canonical_ranges)) {
    ranges_.shrink_to_fit();
    for (const CodePointRange& range : ranges_) size_ += std::size_t{range.last - range.first} + 1;
}

CodePointSet CodePointSet::from_code_points(std::vector<std::uint32_t> code_points) {
    std::sort(code_points.begin(), code_points.end());
    std::vector<CodePointRange> ranges;
    for (std::uint32_t code_point : code_points) {
        if (code_point > kMaxCodePoint) break;  // sorted: the rest are beyond Unicode too
        append_merging(ranges, {code_point, code_point});
    }
    return CodePointSet(std::move(ranges));
}

CodePointSet CodePointSet::from_ranges(std::vector<CodePointRange> ranges) {
    // A character map walked in order already gives canonical ranges: keep them.
    if (is_canonical(ranges)) return CodePointSet(std::move(ranges));
    std::erase_if(ranges, [](const CodePointRange& r) { return r.first > r.last || r.first > kMaxCodePoint; });
    std::sort(ranges.begin(), ranges.end(),
              [](const CodePointRange& a, const CodePointRange& b) { return a.first < b.first; });
    std::vector<CodePointRange> merged;
    for (CodePointRange range : ranges) append_merging(merged, {range.first, std::min(range.last, kMaxCodePoint)});
    return CodePointSet(std::move(merged));
}

bool CodePointSet::contains(std::uint32_t code_point) const {
    auto after = std::upper_bound(ranges_.begin(), ranges_.end(), code_point,
                                  [](std::uint32_t value, const CodePointRange& r) { return value < r.first; });
    return after != ranges_.begin() && code_point <= std::prev(after)->last;
}

std::string CodePointSet::serialize() const {
    std::string out;
    out.reserve(kHeaderSize + ranges_.size() * kRangeBytes);
    out.append(kMagic);
    out.push_back(static_cast<char>(kFormatVersion));
    append_u32_le(out, static_cast<std::uint32_t>(ranges_.size()));
    for (const CodePointRange& range : ranges_) {
        append_u32_le(out, range.first);
        append_u32_le(out, range.last);
    }
    return out;
}

std::optional<CodePointSet> CodePointSet::deserialize(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    if (static_cast<std::uint8_t>(bytes[kMagic.size()]) != kFormatVersion) return std::nullopt;
    const std::uint32_t count = load_u32_le(bytes, kMagic.size() + 1);
    // Checked before the length so that a forged count cannot make us reserve much.
    if (count > kMaxCodePointRanges || bytes.size() - kHeaderSize != std::size_t{count} * kRangeBytes)
        return std::nullopt;

    std::vector<CodePointRange> ranges;
    ranges.reserve(count);
    for (std::size_t at = kHeaderSize; at < bytes.size(); at += kRangeBytes)
        ranges.push_back({load_u32_le(bytes, at), load_u32_le(bytes, at + 4)});
    // Only the canonical form is accepted, so equal sets always have equal bytes.
    if (!is_canonical(ranges)) return std::nullopt;
    return CodePointSet(std::move(ranges));
}

std::uint64_t CodePointSet::content_hash() const {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const CodePointRange& range : ranges_) {
        for (std::uint32_t value : {range.first, range.last}) hash = (hash ^ value) * 0x100000001b3ull;
    }
    return hash;
}

namespace {

std::string counted(std::size_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::string CodePointSet::description() const {
    return "<CodePointSet " + counted(size(), "code point", "code points") + " in " +
           counted(ranges_.size(), "range", "ranges") + ">";
}

}  // namespace lumo::font
