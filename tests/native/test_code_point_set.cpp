// Code-point sets: building from loose input, membership at range edges, and
// a byte form that round-trips and refuses anything it did not write.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "font/code_point_set.h"

namespace {

using lumo::font::CodePointRange;
using lumo::font::CodePointSet;
using Ranges = std::vector<CodePointRange>;

Ranges ranges_of(const CodePointSet& set) { return Ranges(set.ranges().begin(), set.ranges().end()); }

struct BuildCase {
    const char* label;
    std::vector<std::uint32_t> code_points;
    Ranges expected;
};

void PrintTo(const BuildCase& c, std::ostream* out) { *out << c.label; }

class FromCodePoints : public ::testing::TestWithParam<BuildCase> {};

TEST_P(FromCodePoints, GivesSortedMergedRanges) {
    const CodePointSet set = CodePointSet::from_code_points(GetParam().code_points);
    EXPECT_EQ(ranges_of(set), GetParam().expected);
    std::size_t expected_size = 0;
    for (const CodePointRange& range : GetParam().expected) expected_size += range.last - range.first + 1;
    EXPECT_EQ(set.size(), expected_size);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FromCodePoints,
    ::testing::Values(BuildCase{"Empty", {}, {}},
                      BuildCase{"Unsorted", {0x43, 0x41}, {{0x41, 0x41}, {0x43, 0x43}}},
                      BuildCase{"AdjacentMerge", {0x42, 0x41, 0x43}, {{0x41, 0x43}}},
                      BuildCase{"Duplicates", {0x41, 0x41, 0x42, 0x42}, {{0x41, 0x42}}},
                      BuildCase{"EdgesOfUnicode", {0x10FFFF, 0}, {{0, 0}, {0x10FFFF, 0x10FFFF}}},
                      BuildCase{"BeyondUnicodeDropped", {0x110000, 0xFFFFFFFF, 0x41}, {{0x41, 0x41}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CodePointSetFromRanges, MergesOverlapsClampsAndDropsInverted) {
    const CodePointSet set = CodePointSet::from_ranges(
        {{0x100, 0x1FF}, {0x41, 0x5A}, {0x50, 0x60}, {0x61, 0x61}, {0x300, 0x2FF}, {0x10FFF0, 0xFFFFFFFF}});
    EXPECT_EQ(ranges_of(set), (Ranges{{0x41, 0x61}, {0x100, 0x1FF}, {0x10FFF0, 0x10FFFF}}));
    EXPECT_EQ(set.size(), 0x21u + 0x100u + 0x10u);
}

TEST(CodePointSetContains, AnswersAtEveryRangeEdge) {
    const CodePointSet set = CodePointSet::from_ranges({{0x41, 0x5A}, {0x4E00, 0x9FFF}, {0x10FFFF, 0x10FFFF}});
    for (std::uint32_t inside : {0x41u, 0x4Du, 0x5Au, 0x4E00u, 0x9FFFu, 0x10FFFFu}) EXPECT_TRUE(set.contains(inside)) << inside;
    for (std::uint32_t outside : {0u, 0x40u, 0x5Bu, 0x4DFFu, 0xA000u, 0x10FFFEu, 0x110000u, 0xFFFFFFFFu})
        EXPECT_FALSE(set.contains(outside)) << outside;
    EXPECT_FALSE(CodePointSet{}.contains(0));
}

TEST(CodePointSetSerialize, RoundTripsKeepingEquality) {
    const std::vector<CodePointSet> sets = {
        CodePointSet{},
        CodePointSet::from_code_points({0x41}),
        CodePointSet::from_ranges({{0, 0x7F}, {0x4E00, 0x9FFF}, {0x20000, 0x2A6DF}, {0x10FFFF, 0x10FFFF}}),
    };
    for (const CodePointSet& set : sets) {
        const std::optional<CodePointSet> back = CodePointSet::deserialize(set.serialize());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, set);
        EXPECT_EQ(back->size(), set.size());
    }
    EXPECT_NE(CodePointSet::from_code_points({0x41}), CodePointSet::from_code_points({0x42}));
}

// Byte strings built by hand: header, count, then (first, last) pairs.
std::string u32_le(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

std::string encoded(const Ranges& ranges, std::uint32_t count, std::string header = std::string("LCPS\x01", 5)) {
    std::string out = header + u32_le(count);
    for (const CodePointRange& range : ranges) out += u32_le(range.first) + u32_le(range.last);
    return out;
}

struct MalformedCase {
    const char* label;
    std::string bytes;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.label; }

class DeserializeRefuses : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(DeserializeRefuses, MalformedBytes) { EXPECT_FALSE(CodePointSet::deserialize(GetParam().bytes).has_value()); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DeserializeRefuses,
    ::testing::Values(
        MalformedCase{"Empty", ""}, MalformedCase{"HeaderCut", std::string("LCPS\x01\x00\x00", 7)},
        MalformedCase{"WrongMagic", encoded({}, 0, std::string("LCPX\x01", 5))},
        MalformedCase{"FutureVersion", encoded({}, 0, std::string("LCPS\x02", 5))},
        MalformedCase{"CountBeyondBytes", encoded({{1, 2}}, 2)},
        MalformedCase{"TrailingByte", encoded({{1, 2}}, 1) + "x"},
        MalformedCase{"CountClaimsEverything", encoded({}, 0xFFFFFFFF)},
        MalformedCase{"Inverted", encoded({{5, 4}}, 1)},
        MalformedCase{"BeyondUnicode", encoded({{0x10FFFF, 0x110000}}, 1)},
        MalformedCase{"Unsorted", encoded({{10, 20}, {1, 2}}, 2)},
        MalformedCase{"Overlapping", encoded({{1, 10}, {10, 20}}, 2)},
        MalformedCase{"Adjacent", encoded({{1, 10}, {11, 20}}, 2)}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace

TEST(CodePointSetHash, FollowsContentNotHowTheSetWasMade) {
    const CodePointSet made_from_points = CodePointSet::from_code_points({0x41, 0x42, 0x43, 0x5D0});
    const CodePointSet made_from_ranges = CodePointSet::from_ranges({{0x41, 0x43}, {0x5D0, 0x5D0}});
    EXPECT_EQ(made_from_points.content_hash(), made_from_ranges.content_hash());
    EXPECT_NE(made_from_points.content_hash(), CodePointSet::from_code_points({0x41, 0x42, 0x43}).content_hash());
    EXPECT_NE(CodePointSet().content_hash(), CodePointSet::from_code_points({0}).content_hash());
}

namespace {

TEST(CodePointSetDescription, CountsCodePointsAndRangesInWords) {
    EXPECT_EQ(lumo::font::CodePointSet::from_code_points({'a', 'b', 'c', 'x', 'z'}).description(),
              "<CodePointSet 5 code points in 3 ranges>");
    EXPECT_EQ(lumo::font::CodePointSet::from_code_points({'a'}).description(), "<CodePointSet 1 code point in 1 range>");
    EXPECT_EQ(lumo::font::CodePointSet().description(), "<CodePointSet 0 code points in 0 ranges>");
}

}  // namespace
