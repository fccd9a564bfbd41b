// The inline markup of a line: colour tags (^0 ... ^9, ^a, ^r) and face tags
// (<bold={ ... }>), told apart from the characters that are drawn. One lexer
// for everything that reads a line: rendering and the debug report.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace lumo::render {

enum class MarkupKind {
    character,   // a character of the text: `code`
    colour_tag,  // "^" and a palette key, or "^r" for the call's colour: the key is `code`
    face_open,   // "<word={": the face word is text[word_start, word_end)
    face_close,  // "}>"
};

struct MarkupToken {
    MarkupKind kind = MarkupKind::character;
    std::size_t start = 0;  // where the token begins in the text
    std::size_t end = 0;    // one past its last character
    char32_t code = 0;
    std::size_t word_start = 0;
    std::size_t word_end = 0;
};

/// Reads a line token by token. Anything that does not complete a tag is a
/// character: a "^" before a key the palette does not hold, a "<" with no
/// "={" within reach (kMaxFaceTagReach characters), a lone "}".
class MarkupLexer {
public:
    /// `is_palette_key` answers whether a character names a palette colour;
    /// it is asked when a "^" is met, so a palette the host changes is followed.
    /// An empty `is_palette_key` reads text without markup: every character
    /// is a character, tags included (player names, chat lines).
    MarkupLexer(std::u32string_view text, std::function<bool(char32_t)> is_palette_key);

    /// The next token, or false at the end of the text.
    bool next(MarkupToken& token);

    /// Where the next token begins; `skip_to` moves there past characters
    /// the caller took as plain characters itself.
    std::size_t position() const { return at_; }
    void skip_to(std::size_t at) { at_ = at; }

private:
    std::u32string_view text_;
    std::function<bool(char32_t)> is_palette_key_;
    std::size_t at_ = 0;
};

/// Whether `code` can begin a tag ("^", "<", or the "}" of "}>"): every
/// other character the lexer reads is a character.
inline bool may_begin_tag(char32_t code) { return code == U'^' || code == U'<' || code == U'}'; }

/// Whether a line is ASCII with no character that can begin or end a tag: the
/// lines drawn character by character from the glyph cache.
bool is_plain_ascii(std::u32string_view text);

}  // namespace lumo::render
