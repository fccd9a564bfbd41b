// Decoding of the legacy CJK code pages of `name` records: part of the
// platform layer, since the conversion tables come with the system (the C
// library's iconv on POSIX systems).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumo::base {

/// The double-byte code pages that Windows and Macintosh name records use.
enum class CjkCodePage {
    ShiftJis,  // Windows code page 932
    Gbk,       // simplified Chinese, Windows code page 936
    Big5,      // traditional Chinese, Windows code page 950
    Wansung,   // Korean, Windows code page 949 (Unified Hangul Code)
    Johab,     // Korean, Johab
};

/// `bytes` in `code_page` as UTF-8; nullopt when a byte sequence is invalid
/// or cut short, or when the system cannot convert from that code page.
std::optional<std::string> decode_cjk_code_page(CjkCodePage code_page, std::span<const std::uint8_t> bytes);

}  // namespace lumo::base
