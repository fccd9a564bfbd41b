// Name records decoded by platform, encoding and language: the Unicode forms,
// the Macintosh scripts and their Roman variants, the CJK code pages, and the
// ill-formed bytes that must be refused rather than guessed at.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "index/name_decoding.h"
#include "sfnt_builder.h"

namespace {

using lumo::index::decode_name_record;
using lumo::test::Bytes;
using lumo::test::bytes_of;
using lumo::test::utf16be;

struct DecodeCase {
    const char* label;
    std::uint16_t platform_id;
    std::uint16_t encoding_id;
    std::uint16_t language_id;
    Bytes bytes;
    std::optional<std::string> expected;  // nullopt: the record cannot be decoded
};

void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.label; }

class DecodeNameRecord : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeNameRecord, GivesTheTextOrRefusesTheBytes) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decode_name_record(c.platform_id, c.encoding_id, c.language_id, c.bytes), c.expected);
}

std::string case_name(const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.label; }

Bytes raw(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

const std::u16string kMathA = u"\U0001D538";  // outside the BMP: a surrogate pair

INSTANTIATE_TEST_SUITE_P(Unicode, DecodeNameRecord, ::testing::Values(
    DecodeCase{"UnicodeBmp", 0, 3, 0, utf16be(u"Aé字"), "Aé字"},
    DecodeCase{"UnicodeFullRepertoire", 0, 4, 0, utf16be(kMathA), "\U0001D538"},
    DecodeCase{"UnicodeAnyEncodingIsUtf16", 0, 9, 0, utf16be(u"Sans"), "Sans"},
    DecodeCase{"WindowsUnicodeBmp", 3, 1, 0x409, utf16be(u"DejaVu Sans"), "DejaVu Sans"},
    DecodeCase{"WindowsSymbol", 3, 0, 0x409, utf16be(u"Symbol"), "Symbol"},
    DecodeCase{"WindowsUcs4PairCombines", 3, 10, 0x409, utf16be(u"x" + kMathA), "x\U0001D538"},
    DecodeCase{"IsoUtf16", 2, 1, 0, utf16be(u"Ω"), "Ω"},
    DecodeCase{"EmptyString", 3, 1, 0x409, Bytes{}, ""},
    DecodeCase{"OddLength", 3, 1, 0x409, raw({0x00, 0x41, 0x00}), std::nullopt},
    DecodeCase{"HighSurrogateAtEnd", 3, 1, 0x409, raw({0x00, 0x41, 0xD8, 0x35}), std::nullopt},
    DecodeCase{"HighSurrogateBeforeLetter", 0, 3, 0, raw({0xD8, 0x35, 0x00, 0x41}), std::nullopt},
    DecodeCase{"TwoHighSurrogates", 3, 10, 0x409, raw({0xD8, 0x35, 0xD8, 0x35}), std::nullopt},
    DecodeCase{"LoneLowSurrogate", 3, 1, 0x409, raw({0xDD, 0x38, 0x00, 0x41}), std::nullopt}),
    case_name);

// Byte 0xDC is '‹' in Mac Roman but a letter in several national variants.
INSTANTIATE_TEST_SUITE_P(Macintosh, DecodeNameRecord, ::testing::Values(
    DecodeCase{"RomanEnglish", 1, 0, 0, raw({'C', 'a', 'f', 0x8E, ' ', 0xDC, 0xF0}), "Café ‹\uF8FF"},
    DecodeCase{"RomanIcelandic", 1, 0, 15, raw({0xDC}), "Ð"},
    DecodeCase{"RomanTurkish", 1, 0, 17, raw({0xDC}), "İ"},
    DecodeCase{"RomanCroatian", 1, 0, 18, raw({0xA9}), "Š"},
    DecodeCase{"RomanPolishIsLatin2", 1, 0, 25, raw({0x81}), "Ā"},
    DecodeCase{"RomanAlbanianIsLatin2", 1, 0, 36, raw({0x81}), "Ā"},
    DecodeCase{"RomanSlovenianIsLatin2", 1, 0, 40, raw({0x81}), "Ā"},
    DecodeCase{"RomanRomanian", 1, 0, 37, raw({0xAE}), "Ă"},
    DecodeCase{"RomanOtherLanguage", 1, 0, 16, raw({0xDC}), "‹"},
    DecodeCase{"Greek", 1, 6, 14, raw({0xB6, 0xEC, 0xEC, 0xE8, 0xEE, 0xE9, 0xEB, 0xC0}), "Ελληνικά"},
    DecodeCase{"Cyrillic", 1, 7, 32, raw({0x8A, 0xE8, 0xF0, 0xE8, 0xEB, 0xEB, 0xE8, 0xF6, 0xE0}), "Кириллица"},
    DecodeCase{"CentralEuropean", 1, 29, 25, raw({0xFC, 0x97, 0x64, 0x90}), "Łódź"},
    DecodeCase{"TurkishScript", 1, 35, 17, raw({0xDC, 's', 't'}), "İst"},
    DecodeCase{"IcelandicScript", 1, 37, 15, raw({0xDE, 0x97, 0x72}), "Þór"},
    DecodeCase{"JapaneseShiftJis", 1, 1, 11, raw({0x93, 0xFA, 0x96, 0x7B}), "日本"},
    DecodeCase{"TraditionalChineseBig5", 1, 2, 19, raw({0xA4, 0xA4, 0xA4, 0xE5}), "中文"},
    DecodeCase{"KoreanWansung", 1, 3, 23, raw({0xC7, 0xD1, 0xB1, 0xB9}), "한국"},
    DecodeCase{"SimplifiedChineseGbk", 1, 25, 33, raw({0xD6, 0xD0, 0xCE, 0xC4}), "中文"},
    DecodeCase{"ArabicScriptUnsupported", 1, 4, 12, bytes_of("Naskh"), std::nullopt}),
    case_name);

INSTANTIATE_TEST_SUITE_P(WindowsCodePages, DecodeNameRecord, ::testing::Values(
    DecodeCase{"ShiftJis", 3, 2, 0x411,
               raw({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x83, 0x53, 0x83, 0x56, 0x83, 0x62, 0x83, 0x4E}),
               "日本語ゴシック"},
    DecodeCase{"ShiftJisHalfWidthKatakana", 3, 2, 0x411, raw({'A', 0xB1}), "Aｱ"},
    DecodeCase{"Prc", 3, 3, 0x804, raw({0xD6, 0xD0, 0xCE, 0xC4, 0xD7, 0xD6, 0xCC, 0xE5}), "中文字体"},
    DecodeCase{"Big5", 3, 4, 0x404, raw({0xA4, 0xA4, 0xA4, 0xE5, 0xA6, 0x72, 0xC5, 0xE9}), "中文字體"},
    DecodeCase{"Wansung", 3, 5, 0x412, raw({0xC7, 0xD1, 0xB1, 0xB9, 0xBE, 0xEE, 0x20, 0xB1, 0xDB, 0xB2, 0xC3}),
               "한국어 글꼴"},
    DecodeCase{"Johab", 3, 6, 0x412, raw({0xD0, 0x65, 0x8A, 0x82, 0xB4, 0xE1}), "한국어"},
    DecodeCase{"ShiftJisCutAfterLeadByte", 3, 2, 0x411, raw({'A', 0x93}), std::nullopt},
    DecodeCase{"ShiftJisUndefinedBytes", 3, 2, 0x411, raw({0xFF, 0xFF}), std::nullopt},
    DecodeCase{"Big5CutAfterLeadByte", 3, 4, 0x404, raw({0xA4}), std::nullopt},
    DecodeCase{"EmptyLegacyString", 3, 5, 0x412, Bytes{}, ""},
    DecodeCase{"UnassignedEncoding", 3, 7, 0x409, utf16be(u"Sans"), std::nullopt}),
    case_name);

INSTANTIATE_TEST_SUITE_P(IsoAndUnknown, DecodeNameRecord, ::testing::Values(
    DecodeCase{"IsoAscii", 2, 0, 0, bytes_of("Courier"), "Courier"},
    DecodeCase{"IsoAsciiHighByte", 2, 0, 0, raw({'C', 0xE9}), std::nullopt},
    DecodeCase{"IsoLatin1", 2, 2, 0, raw({'C', 'a', 'f', 0xE9}), "Café"},
    DecodeCase{"IsoUnassignedEncoding", 2, 3, 0, bytes_of("Sans"), std::nullopt},
    DecodeCase{"CustomPlatform", 4, 0, 0, bytes_of("Sans"), std::nullopt},
    DecodeCase{"UnassignedPlatform", 7, 1, 0, utf16be(u"Sans"), std::nullopt}),
    case_name);

}  // namespace
