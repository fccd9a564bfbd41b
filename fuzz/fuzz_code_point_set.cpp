// The byte form of a code-point set, which a pickle may carry from anywhere:
// deserialize must refuse what serialize would not write, and what it
// accepts must come back byte for byte. The same input, read as ranges,
// also goes through from_ranges, whose result must be canonical.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "font/code_point_set.h"
#include "fuzz_checks.h"

namespace {

using lumo::font::CodePointRange;
using lumo::font::CodePointSet;
using lumo::fuzz::require;

void check_canonical(const CodePointSet& set) {
    std::size_t counted = 0;
    const auto ranges = set.ranges();
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        require(ranges[i].first <= ranges[i].last && ranges[i].last <= lumo::font::kMaxCodePoint,
                "a range is inverted or beyond Unicode");
        require(i == 0 || ranges[i].first > ranges[i - 1].last + 1, "ranges overlap, touch or are out of order");
        require(set.contains(ranges[i].first) && set.contains(ranges[i].last), "a range's ends are not members");
        require(ranges[i].first == 0 || !set.contains(ranges[i].first - 1), "the code point before a range is a member");
        counted += std::size_t{ranges[i].last - ranges[i].first} + 1;
    }
    require(counted == set.size(), "size() disagrees with the ranges");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto set = CodePointSet::deserialize(bytes)) {
        check_canonical(*set);
        require(set->serialize() == bytes, "an accepted byte form does not serialize back to itself");
    }

    std::vector<CodePointRange> ranges(size / 8);
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        std::memcpy(&ranges[i].first, data + 8 * i, 4);
        std::memcpy(&ranges[i].last, data + 8 * i + 4, 4);
    }
    const CodePointSet built = CodePointSet::from_ranges(ranges);
    check_canonical(built);
    for (const CodePointRange& range : ranges) {
        if (range.first > range.last || range.first > lumo::font::kMaxCodePoint) continue;
        require(built.contains(range.first), "a given range's first code point is missing");
        require(built.contains(std::min(range.last, lumo::font::kMaxCodePoint)), "a given range's last code point is missing");
    }
    auto again = CodePointSet::deserialize(built.serialize());
    require(again && *again == built, "a built set does not survive its byte form");
    return 0;
}
