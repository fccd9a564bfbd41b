// CJK code pages to UTF-8 through iconv. A conversion descriptor is opened per
// call: these records are rare, and nothing shared means nothing to lock.
#ifndef _WIN32

#include "base/code_pages.h"

#include <cerrno>
#include <iconv.h>

namespace lumo::base {
namespace {

/// iconv's names for a code page, preferred first: the Windows superset where
/// the C library has it, the older standard otherwise.
struct IconvNames {
    const char* preferred;
    const char* fallback;
};

IconvNames iconv_names(CjkCodePage code_page) {
    switch (code_page) {
        case CjkCodePage::ShiftJis: return {"CP932", nullptr};
        case CjkCodePage::Gbk: return {"CP936", nullptr};
        case CjkCodePage::Big5: return {"CP950", "BIG5"};
        case CjkCodePage::Wansung: return {"CP949", nullptr};
        case CjkCodePage::Johab: return {"JOHAB", nullptr};
    }
    return {nullptr, nullptr};
}

/// Owns one iconv descriptor that converts from a code page to UTF-8.
class IconvDescriptor {
public:
    explicit IconvDescriptor(IconvNames from) {
        if (from.preferred != nullptr) handle_ = ::iconv_open("UTF-8", from.preferred);
        if (!is_open() && from.fallback != nullptr) handle_ = ::iconv_open("UTF-8", from.fallback);
    }
    ~IconvDescriptor() {
        if (is_open()) ::iconv_close(handle_);
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;

    bool is_open() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_ = reinterpret_cast<iconv_t>(-1);
};

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

/// Runs one iconv step, growing `out` while iconv reports it full; `used`
/// counts the bytes written so far. A null `input` flushes the shift state.
bool convert_step(iconv_t descriptor, char** input, std::size_t* input_left, std::string& out, std::size_t& used) {
    for (;;) {
        char* out_cursor = out.data() + used;
        std::size_t out_left = out.size() - used;
        std::size_t result = ::iconv(descriptor, input, input_left, &out_cursor, &out_left);
        used = out.size() - out_left;
        if (result != kFailed) return true;
        if (errno != E2BIG) return false;  // EILSEQ: invalid sequence; EINVAL: cut short
        out.resize(out.size() * 2);
    }
}

}  // namespace

std::optional<std::string> decode_cjk_code_page(CjkCodePage code_page, std::span<const std::uint8_t> bytes) {
    IconvDescriptor descriptor(iconv_names(code_page));
    if (!descriptor.is_open()) return std::nullopt;

    // iconv takes a non-const input pointer but does not write through it.
    char* input = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t input_left = bytes.size();
    std::string out(bytes.size() * 2 + 16, '\0');
    std::size_t used = 0;
    if (!convert_step(descriptor.get(), &input, &input_left, out, used)) return std::nullopt;
    if (!convert_step(descriptor.get(), nullptr, nullptr, out, used)) return std::nullopt;
    out.resize(used);
    return out;
}

}  // namespace lumo::base

#endif  // _WIN32
