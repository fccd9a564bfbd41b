// Chooses the decoder of a name record from its platform, encoding and
// language, the way the OpenType `name` table assigns them.
#include "index/name_decoding.h"

#include "base/code_pages.h"
#include "index/name_codecs.h"

namespace lumo::index {
namespace {

using base::CjkCodePage;

#include "index/mac_tables.inc"

constexpr std::uint16_t kPlatformUnicode = 0;
constexpr std::uint16_t kPlatformMacintosh = 1;
constexpr std::uint16_t kPlatformIso = 2;
constexpr std::uint16_t kPlatformWindows = 3;

/// The table of Mac Roman (encoding 0) for a Macintosh language: several
/// European languages store their names in a national variant of Mac Roman.
const char16_t (&mac_roman_variant(std::uint16_t language_id))[128] {
    switch (language_id) {
        case 15: return kMacIcelandHighHalf;   // Icelandic
        case 17: return kMacTurkishHighHalf;   // Turkish
        case 18: return kMacCroatianHighHalf;  // Croatian
        case 24: case 25: case 26: case 27: case 28:  // Lithuanian, Polish, Hungarian, Estonian, Latvian
        case 36: case 38: case 39: case 40:           // Albanian, Czech, Slovak, Slovenian
            return kMacLatin2HighHalf;
        case 37: return kMacRomanianHighHalf;  // Romanian
        default: return kMacRomanHighHalf;
    }
}

std::optional<std::string> decode_macintosh(std::uint16_t encoding_id, std::uint16_t language_id,
                                            std::span<const std::uint8_t> bytes) {
    switch (encoding_id) {
        case 0: return detail::decode_high_half_table(bytes, mac_roman_variant(language_id));
        case 1: return base::decode_cjk_code_page(CjkCodePage::ShiftJis, bytes);  // Japanese
        case 2: return base::decode_cjk_code_page(CjkCodePage::Big5, bytes);      // traditional Chinese
        case 3: return base::decode_cjk_code_page(CjkCodePage::Wansung, bytes);   // Korean
        case 6: return detail::decode_high_half_table(bytes, kMacGreekHighHalf);
        case 7: return detail::decode_high_half_table(bytes, kMacCyrillicHighHalf);
        case 25: return base::decode_cjk_code_page(CjkCodePage::Gbk, bytes);  // simplified Chinese
        case 29: return detail::decode_high_half_table(bytes, kMacLatin2HighHalf);    // Central European
        case 35: return detail::decode_high_half_table(bytes, kMacTurkishHighHalf);   // Turkish
        case 37: return detail::decode_high_half_table(bytes, kMacIcelandHighHalf);   // Icelandic
        default: return std::nullopt;
    }
}

std::optional<std::string> decode_iso(std::uint16_t encoding_id, std::span<const std::uint8_t> bytes) {
    switch (encoding_id) {
        case 0: return detail::decode_ascii(bytes);
        case 1: return detail::decode_utf16be(bytes);  // ISO 10646
        case 2: return detail::decode_latin1(bytes);   // ISO 8859-1
        default: return std::nullopt;
    }
}

std::optional<std::string> decode_windows(std::uint16_t encoding_id, std::span<const std::uint8_t> bytes) {
    switch (encoding_id) {
        case 0:   // Symbol fonts store their names in UTF-16 like Unicode ones
        case 1:   // Unicode BMP
        case 10:  // Unicode full repertoire
            return detail::decode_utf16be(bytes);
        case 2: return base::decode_cjk_code_page(CjkCodePage::ShiftJis, bytes);
        case 3: return base::decode_cjk_code_page(CjkCodePage::Gbk, bytes);  // PRC
        case 4: return base::decode_cjk_code_page(CjkCodePage::Big5, bytes);
        case 5: return base::decode_cjk_code_page(CjkCodePage::Wansung, bytes);
        case 6: return base::decode_cjk_code_page(CjkCodePage::Johab, bytes);
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> decode_name_record(std::uint16_t platform_id, std::uint16_t encoding_id,
                                              std::uint16_t language_id, std::span<const std::uint8_t> bytes) {
    switch (platform_id) {
        case kPlatformUnicode: return detail::decode_utf16be(bytes);  // every Unicode encoding is UTF-16BE here
        case kPlatformMacintosh: return decode_macintosh(encoding_id, language_id, bytes);
        case kPlatformIso: return decode_iso(encoding_id, bytes);
        case kPlatformWindows: return decode_windows(encoding_id, bytes);
        default: return std::nullopt;
    }
}

}  // namespace lumo::index
