// General categories and the character classes built on them must equal what
// the host's unicodedata says, for every code point.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "crc32.h"
#include "host_unicode_digests.h"
#include "render/char_categories.h"

namespace {

using namespace lumo::render;

struct CategoryCase {
    const char* label;
    std::uint32_t code;
    std::string_view category;
    bool dropped;
};

class GeneralCategory : public ::testing::TestWithParam<CategoryCase> {};

TEST_P(GeneralCategory, NamesTheCharacterAndWhetherALineDropsIt) {
    EXPECT_EQ(general_category(GetParam().code), GetParam().category);
    EXPECT_EQ(is_dropped_mark(GetParam().code), GetParam().dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeneralCategory,
    ::testing::Values(
        CategoryCase{"Tab", 0x0009, "Cc", true}, CategoryCase{"NextLine", 0x0085, "Cc", true},
        CategoryCase{"Space", 0x0020, "Zs", false}, CategoryCase{"NoBreakSpace", 0x00A0, "Zs", false},
        CategoryCase{"CapitalA", 0x0041, "Lu", false}, CategoryCase{"UnassignedGreek", 0x0378, "Cn", false},
        CategoryCase{"CombiningAcute", 0x0301, "Mn", false}, CategoryCase{"DevanagariVowelSign", 0x093E, "Mc", false},
        CategoryCase{"EnclosingCircle", 0x20DD, "Me", false}, CategoryCase{"ArabicLetterMark", 0x061C, "Cf", true},
        CategoryCase{"ZeroWidthSpace", 0x200B, "Cf", true}, CategoryCase{"ZeroWidthJoinerIsKept", 0x200D, "Cf", false},
        CategoryCase{"RightToLeftOverride", 0x202E, "Cf", true}, CategoryCase{"PopIsolate", 0x2069, "Cf", true},
        CategoryCase{"InhibitSymmetricSwappingIsKept", 0x206A, "Cf", false},
        CategoryCase{"ByteOrderMarkIsKept", 0xFEFF, "Cf", false}, CategoryCase{"LoneSurrogate", 0xDC00, "Cs", false},
        CategoryCase{"LastCodePoint", 0x10FFFF, "Cn", false}, CategoryCase{"BeyondUnicode", 0x110000, "Cn", false},
        CategoryCase{"LargestValue", 0xFFFFFFFF, "Cn", false}),
    [](const auto& info) { return std::string(info.param.label); });

// Every code point against digests of the host's answers, which the build
// takes from the interpreter it generated the tables from.
struct ExhaustiveProbe {
    const char* label;
    std::string_view (*apply)(std::uint32_t code);
    std::uint32_t host_digest;
};

std::string_view bit(bool value) { return value ? "1" : "0"; }

class CategoryOfEveryCodePoint : public ::testing::TestWithParam<ExhaustiveProbe> {};

TEST_P(CategoryOfEveryCodePoint, MatchesTheHost) {
    std::uint32_t digest = 0;
    for (std::uint32_t code = 0; code <= 0x10FFFF; ++code) digest = lumo::test::crc32(digest, GetParam().apply(code));
    EXPECT_EQ(digest, GetParam().host_digest);
}

INSTANTIATE_TEST_SUITE_P(
    Probes, CategoryOfEveryCodePoint,
    ::testing::Values(ExhaustiveProbe{"Category", general_category, lumo::test::kCategoryDigest},
                      ExhaustiveProbe{"Control", [](std::uint32_t c) { return bit(is_control(c)); }, lumo::test::kControlDigest},
                      ExhaustiveProbe{"Mark", [](std::uint32_t c) { return bit(is_mark(c)); }, lumo::test::kMarkDigest},
                      ExhaustiveProbe{"Format", [](std::uint32_t c) { return bit(is_format(c)); }, lumo::test::kFormatDigest},
                      ExhaustiveProbe{"DroppedMark", [](std::uint32_t c) { return bit(is_dropped_mark(c)); },
                                      lumo::test::kDroppedMarkDigest}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
