// CJK code pages to UTF-8 through the system's own tables (Windows has no iconv).
#ifdef _WIN32

#include "base/code_pages.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace lumo::base {
namespace {

UINT windows_code_page(CjkCodePage code_page) {
    switch (code_page) {
    case CjkCodePage::ShiftJis: return 932;
    case CjkCodePage::Gbk: return 936;
    case CjkCodePage::Big5: return 950;
    case CjkCodePage::Wansung: return 949;
    case CjkCodePage::Johab: return 1361;
    }
    return 0;
}

}  // namespace

std::optional<std::string> decode_cjk_code_page(CjkCodePage code_page, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return std::string();
    if (bytes.size() > 1u << 24) return std::nullopt;
    const auto* input = reinterpret_cast<const char*>(bytes.data());
    const int input_length = static_cast<int>(bytes.size());
    const UINT from = windows_code_page(code_page);
    // Invalid or cut-short sequences fail the conversion, as they do through iconv.
    const int wide_length = ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, input, input_length, nullptr, 0);
    if (wide_length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    ::MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, input, input_length, wide.data(), wide_length);
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace lumo::base

#endif  // _WIN32
