// Line break opportunities through libunibreak.
#include "layout/line_breaks.h"

#include <mutex>

extern "C" {
#include <linebreak.h>
}

namespace lumo::layout {

std::vector<bool> break_opportunities(std::u32string_view paragraph) {
    static std::once_flag tables_ready;
    std::call_once(tables_ready, init_linebreak);
    std::vector<bool> allowed(paragraph.size(), false);
    if (paragraph.empty()) return allowed;
    std::vector<char> breaks(paragraph.size());
    static_assert(sizeof(utf32_t) == sizeof(char32_t));
    set_linebreaks_utf32(reinterpret_cast<const utf32_t*>(paragraph.data()), paragraph.size(), nullptr, breaks.data());
    for (std::size_t i = 0; i < paragraph.size(); ++i)
        allowed[i] = breaks[i] == LINEBREAK_ALLOWBREAK || breaks[i] == LINEBREAK_MUSTBREAK;
    allowed.back() = true;
    return allowed;
}

bool is_trailing_space(char32_t code) {
    return code == U' ' || code == U'\t' || code == 0x1680 || (code >= 0x2000 && code <= 0x200A && code != 0x2007) ||
           code == 0x205F || code == 0x3000;
}

}  // namespace lumo::layout
