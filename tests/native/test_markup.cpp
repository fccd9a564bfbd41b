// The inline markup lexer: colour and face tags told apart from the characters
// around them, and everything that does not complete a tag left as text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/limits.h"
#include "render/markup.h"

namespace {

using lumo::render::MarkupKind;
using lumo::render::MarkupLexer;
using lumo::render::MarkupToken;

/// The tokens of `text` written out: characters as themselves, tags in brackets.
std::u32string lexed(std::u32string_view text) {
    MarkupLexer lexer(text, [](char32_t key) { return key >= U'0' && key <= U'9'; });
    MarkupToken token;
    std::u32string out;
    std::size_t expected_start = 0;
    while (lexer.next(token)) {
        EXPECT_EQ(token.start, expected_start);  // the tokens cover the text, in order
        expected_start = token.end;
        switch (token.kind) {
        case MarkupKind::character: out += token.code; break;
        case MarkupKind::colour_tag: out += U"[c"; out += token.code; out += U"]"; break;
        case MarkupKind::face_open:
            out += U"[f:";
            out += text.substr(token.word_start, token.word_end - token.word_start);
            out += U"]";
            break;
        case MarkupKind::face_close: out += U"[/f]"; break;
        }
    }
    EXPECT_EQ(expected_start, text.size());
    return out;
}

TEST(Markup, ColourTagsNeedAPaletteKeyOrR) {
    EXPECT_EQ(lexed(U"a^1b^rc"), U"a[c1]b[cr]c");
    EXPECT_EQ(lexed(U"a^xb^"), U"a^xb^");  // not a palette key; a "^" at the very end
}

TEST(Markup, FaceTagsOpenWithinReachAndCloseWithBraceAngle) {
    EXPECT_EQ(lexed(U"<bold={Hi}> there"), U"[f:bold]Hi[/f] there");
    EXPECT_EQ(lexed(U"</italic={x}>"), U"[f:italic]x[/f]");  // a slash after "<" is not part of the word
    EXPECT_EQ(lexed(U"a < b } c"), U"a < b } c");
}

TEST(Markup, ADistantOpeningIsText) {
    const std::u32string within = U"<" + std::u32string(lumo::kMaxFaceTagReach - 1, U'w') + U"={x";
    const std::u32string beyond = U"<" + std::u32string(lumo::kMaxFaceTagReach, U'w') + U"={x";
    EXPECT_EQ(lexed(within)[1], U'f');
    EXPECT_EQ(lexed(beyond), beyond);
}

}  // namespace

TEST(Markup, PlainAsciiExcludesTagCharactersAndNonAscii) {
    EXPECT_TRUE(lumo::render::is_plain_ascii(U"Score: 1024 {ok > 3 ~"));
    EXPECT_TRUE(lumo::render::is_plain_ascii(U""));
    EXPECT_FALSE(lumo::render::is_plain_ascii(U"a^1b"));
    EXPECT_FALSE(lumo::render::is_plain_ascii(U"<bold={x"));
    EXPECT_FALSE(lumo::render::is_plain_ascii(U"x}"));
    EXPECT_FALSE(lumo::render::is_plain_ascii(U"caf\u00e9"));
    EXPECT_FALSE(lumo::render::is_plain_ascii(U"\u007f\u0080"));
}
