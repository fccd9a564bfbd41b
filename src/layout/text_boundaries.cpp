// Grapheme cluster and word boundaries through libunibreak.
#include "layout/text_boundaries.h"

#include <algorithm>
#include <mutex>

extern "C" {
#include <graphemebreak.h>
#include <wordbreak.h>
}

namespace lumo::layout {
namespace {

static_assert(sizeof(utf32_t) == sizeof(char32_t));

/// libunibreak's answers (one per character: may the text break after it?)
/// as flags before each position.
template <typename SetBreaks>
std::vector<bool> boundaries_before(std::u32string_view text, SetBreaks set_breaks, char allowed) {
    std::vector<bool> boundaries(text.size() + 1, false);
    boundaries.front() = boundaries.back() = true;
    if (text.empty()) return boundaries;
    std::vector<char> breaks(text.size());
    set_breaks(reinterpret_cast<const utf32_t*>(text.data()), text.size(), nullptr, breaks.data());
    for (std::size_t i = 0; i + 1 < text.size(); ++i) boundaries[i + 1] = breaks[i] == allowed;
    return boundaries;
}

/// Whether every position of `text` is a grapheme boundary: below U+0300
/// (where combining marks begin) only a carriage return before a line feed joins.
bool one_grapheme_per_character(std::u32string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x300) return false;
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') return false;
    }
    return true;
}

}  // namespace

std::vector<bool> grapheme_boundaries(std::u32string_view text) {
    if (one_grapheme_per_character(text)) return std::vector<bool>(text.size() + 1, true);
    static std::once_flag tables_ready;
    std::call_once(tables_ready, init_graphemebreak);
    return boundaries_before(text, set_graphemebreaks_utf32, GRAPHEMEBREAK_BREAK);
}

std::vector<bool> word_boundaries(std::u32string_view text) {
    static std::once_flag tables_ready;
    std::call_once(tables_ready, init_wordbreak);
    return boundaries_before(text, set_wordbreaks_utf32, WORDBREAK_BREAK);
}

std::pair<std::size_t, std::size_t> segment_around(const std::vector<bool>& boundaries, std::size_t position) {
    const std::size_t length = boundaries.empty() ? 0 : boundaries.size() - 1;
    if (length == 0) return {0, 0};
    position = std::min(position, length - 1);
    std::size_t start = position, end = position + 1;
    while (start > 0 && !boundaries[start]) --start;
    while (end < length && !boundaries[end]) ++end;
    return {start, end};
}

}  // namespace lumo::layout
