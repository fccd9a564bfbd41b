// Lexing a line's inline markup.
#include "render/markup.h"

#include <algorithm>
#include <utility>

#include "base/limits.h"

namespace lumo::render {

MarkupLexer::MarkupLexer(std::u32string_view text, std::function<bool(char32_t)> is_palette_key)
    : text_(text), is_palette_key_(std::move(is_palette_key)) {}

bool MarkupLexer::next(MarkupToken& token) {
    if (at_ >= text_.size()) return false;
    token = MarkupToken{};
    token.start = at_;
    const char32_t ch = text_[at_];
    const bool has_next = at_ + 1 < text_.size();
    if (!is_palette_key_) {
        token.code = ch;
        at_ += 1;
    } else if (ch == U'^' && has_next && (text_[at_ + 1] == U'r' || is_palette_key_(text_[at_ + 1]))) {
        token.kind = MarkupKind::colour_tag;
        token.code = text_[at_ + 1];
        at_ += 2;
    } else if (ch == U'<') {
        // "={" may start at most kMaxFaceTagReach characters after the "<".
        const std::size_t reach = at_ + static_cast<std::size_t>(kMaxFaceTagReach);
        std::size_t open_at = text_.size();
        for (std::size_t j = at_; j + 1 < text_.size() && j <= reach; ++j)
            if (text_[j] == U'=' && text_[j + 1] == U'{') {
                open_at = j;
                break;
            }
        if (open_at == text_.size()) {
            token.code = ch;
            at_ += 1;
        } else {
            token.kind = MarkupKind::face_open;
            const std::size_t word_start = has_next && text_[at_ + 1] == U'/' ? at_ + 2 : at_ + 1;
            token.word_start = std::min(word_start, open_at);
            token.word_end = open_at;
            at_ = open_at + 2;
        }
    } else if (ch == U'}' && has_next && text_[at_ + 1] == U'>') {
        token.kind = MarkupKind::face_close;
        at_ += 2;
    } else {
        token.code = ch;
        at_ += 1;
    }
    token.end = at_;
    return true;
}

bool is_plain_ascii(std::u32string_view text) {
    for (char32_t code : text) {
        if (code > 127 || may_begin_tag(code)) return false;
    }
    return true;
}

}  // namespace lumo::render
