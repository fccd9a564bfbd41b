// Lower-casing and stripping must give exactly what the host's str.lower() and
// str.strip() give, on well-formed text and on bytes that are not UTF-8 at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "crc32.h"
#include "host_unicode_digests.h"
#include "index/text_rules.h"

namespace {

using namespace lumo::index;
using lumo::test::crc32;
using namespace lumo::test;

struct TextCase {
    const char* label;
    std::string_view input;
    std::string_view expected;
};

/// Test names come from a label: the inputs hold blanks and non-ASCII bytes.
template <typename Case>
std::string label_of(const ::testing::TestParamInfo<Case>& info) {
    return info.param.label;
}

class LowerText : public ::testing::TestWithParam<TextCase> {};

TEST_P(LowerText, EqualsHostLowerCasing) { EXPECT_EQ(lower_text(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, LowerText,
    ::testing::Values(
        TextCase{"Ascii", "Noto Sans-BOLD 2", "noto sans-bold 2"},
        TextCase{"AccentedLatin", "\xC3\x89" "COLE \xC5\xB8", "\xC3\xA9" "cole \xC3\xBF"},
        TextCase{"DottedCapitalIGrowsToTwoCodePoints", "\xC4\xB0stanbul", "i\xCC\x87stanbul"},
        TextCase{"Cherokee", "\xE1\x8F\xB0\xE1\x8E\xA0", "\xE1\x8F\xB8\xEA\xAD\xB0"},
        TextCase{"DeseretOutsideTheBasicPlane", "\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},
        TextCase{"SigmaAloneIsNotFinal", "\xCE\xA3", "\xCF\x83"},
        TextCase{"SigmaEndingAWord", "\xCE\x9F\xCE\x94\xCE\xA5\xCE\xA3\xCE\xA3\xCE\x95\xCE\xA5\xCE\xA3",
                 "\xCE\xBF\xCE\xB4\xCF\x85\xCF\x83\xCF\x83\xCE\xB5\xCF\x85\xCF\x82"},
        TextCase{"SigmaBeforeABlank", "\xCE\x91\xCE\xA3 \xCE\x92", "\xCE\xB1\xCF\x82 \xCE\xB2"},
        TextCase{"SigmaAfterADigitOnly", "1\xCE\xA3", "1\xCF\x83"},
        TextCase{"SigmaSeesThroughAQuoteAfterIt", "\xCE\x91\xCE\xA3'\xCE\x92", "\xCE\xB1\xCF\x83'\xCE\xB2"},
        TextCase{"SigmaSeesThroughAMarkBeforeIt", "\xCE\x91\xCC\x81\xCE\xA3", "\xCE\xB1\xCC\x81\xCF\x82"},
        TextCase{"LoneSurrogatePassesThrough", "\xED\xA0\x80" "AB\xED\xBF\xBF", "\xED\xA0\x80" "ab\xED\xBF\xBF"},
        TextCase{"SurrogateIsNotCased", "\xED\xB2\x80\xCE\xA3", "\xED\xB2\x80\xCF\x83"},
        TextCase{"InvalidBytesPassThrough", "\xFF" "AB\xC0\xAF\xF5", "\xFF" "ab\xC0\xAF\xF5"},
        TextCase{"TruncatedSequenceAtTheEnd", "Z\xE3\x80", "z\xE3\x80"},
        TextCase{"TruncatedSequenceBeforeALetter", "\xF0\x9F\x98Z", "\xF0\x9F\x98z"},
        TextCase{"InvalidByteBreaksSigmaContext", "\xCE\x91\xFF\xCE\xA3", "\xCE\xB1\xFF\xCF\x83"}),
    label_of<TextCase>);

class StripText : public ::testing::TestWithParam<TextCase> {};

TEST_P(StripText, EqualsHostStripping) { EXPECT_EQ(strip_text(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, StripText,
    ::testing::Values(
        TextCase{"AsciiBlanksAndControls", " \t\n\v\f\r Arial \x1C\x1F ", "Arial"},
        TextCase{"InnerBlanksStay", "  Times  New Roman  ", "Times  New Roman"},
        TextCase{"OnlyWhiteSpace", " \xE3\x80\x80\xC2\x85 ", ""},
        TextCase{"IdeographicSpaceAndNextLine", "\xE3\x80\x80" "Font\xC2\x85", "Font"},
        TextCase{"NoBreakAndLineSeparator", "\xC2\xA0" "Font\xE2\x80\xA8", "Font"},
        TextCase{"ZeroWidthSpaceIsNotWhiteSpace", "\xE2\x80\x8B" "Font\xEF\xBB\xBF", "\xE2\x80\x8B" "Font\xEF\xBB\xBF"},
        TextCase{"StrayContinuationIsNotNoBreakSpace", "A \xA0", "A \xA0"},
        TextCase{"TruncatedSpaceIsKept", "\xE3\x80" "A\xE3\x80", "\xE3\x80" "A\xE3\x80"},
        TextCase{"LoneSurrogateIsKept", " \xED\xA0\x80 ", "\xED\xA0\x80"}),
    label_of<TextCase>);

struct DropCase {
    const char* label;
    std::string_view input;
    std::size_t code_points;
    std::size_t dropped;
    std::string_view kept;
};

class CodePoints : public ::testing::TestWithParam<DropCase> {};

TEST_P(CodePoints, CountAndDropByUnits) {
    const DropCase& c = GetParam();
    EXPECT_EQ(code_point_count(c.input), c.code_points);
    EXPECT_EQ(drop_last_code_points(c.input, c.dropped), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePoints,
    ::testing::Values(DropCase{"NothingDropped", "Arial", 5, 0, "Arial"},
                      DropCase{"OneToFourBytes", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", 4, 2, "a\xC3\xA9"},
                      DropCase{"MoreThanTheText", "ab", 2, 3, ""},
                      DropCase{"LoneSurrogateIsOne", "x\xED\xA0\x80", 2, 1, "x"},
                      DropCase{"TruncatedSequenceIsOneUnitPerByte", "Ab\xE3\x80", 4, 1, "Ab\xE3"},
                      DropCase{"LeadWithTooManyContinuations", "\xC3\xA9\xA9", 2, 1, "\xC3\xA9"}),
    label_of<DropCase>);

TEST(EndsWith, AsciiSuffixIgnoringCase) {
    EXPECT_TRUE(ends_with_ascii_nocase("NotoSans.TTF", ".ttf"));
    EXPECT_TRUE(ends_with_ascii_nocase("x.TtC", ".ttc"));
    EXPECT_FALSE(ends_with_ascii_nocase("ttf", ".ttf"));
    EXPECT_FALSE(ends_with_ascii_nocase("font.ttf.bak", ".ttf"));
    EXPECT_TRUE(ends_with("a bold", " bold"));
    EXPECT_FALSE(ends_with("a Bold", " bold"));
}

// Every code point, alone and around a capital sigma, against digests of the
// host's results, which the build takes from the interpreter it generated the
// tables from.
struct ExhaustiveProbe {
    const char* label;
    std::string (*apply)(std::string_view one_code_point);
    std::uint32_t host_digest;
};

std::string encode(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
    } else if (cp < 0x10000) {
        out += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                static_cast<char>(0x80 | (cp & 0x3F))};
    } else {
        out += {static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    }
    return out;
}

class EveryCodePoint : public ::testing::TestWithParam<ExhaustiveProbe> {};

TEST_P(EveryCodePoint, MatchesTheHost) {
    std::uint32_t digest = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        digest = crc32(digest, GetParam().apply(encode(cp)));
        digest = crc32(digest, "\xFF");  // closes each result; never part of UTF-8
    }
    EXPECT_EQ(digest, GetParam().host_digest);
}

INSTANTIATE_TEST_SUITE_P(
    Probes, EveryCodePoint,
    ::testing::Values(
        ExhaustiveProbe{"Lower", [](std::string_view x) { return lower_text(x); }, kLowerDigest},
        ExhaustiveProbe{"LowerBeforeSigma",
                        [](std::string_view x) { return lower_text("A" + std::string(x) + "\xCE\xA3"); }, kLowerBeforeSigmaDigest},
        ExhaustiveProbe{"LowerAfterSigma",
                        [](std::string_view x) { return lower_text("A\xCE\xA3" + std::string(x)); }, kLowerAfterSigmaDigest},
        ExhaustiveProbe{"Strip", [](std::string_view x) { return std::string(strip_text(x)); }, kStripDigest}),
    label_of<ExhaustiveProbe>);

}  // namespace
