// The inline markup lexer over fuzzed lines: tokens must cover the text in
// order without gaps, tags must be the characters they claim, and a face word
// must lie inside its tag.
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "render/markup.h"

using lumo::fuzz::require;
using lumo::render::MarkupKind;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Mostly markup characters, so that tags are met often.
    static constexpr char32_t kAlphabet[] = {U'^', U'<', U'=', U'{', U'}', U'>', U'/', U'r', U'1', U'a', U' ', U'\u05d0'};
    std::u32string line;
    for (std::size_t i = 0; i < size; ++i) line += kAlphabet[data[i] % (sizeof kAlphabet / sizeof kAlphabet[0])];
    lumo::render::MarkupLexer lexer(line, [](char32_t key) { return key == U'1'; });
    lumo::render::MarkupToken token;
    std::size_t covered = 0;
    while (lexer.next(token)) {
        require(token.start == covered && token.end > token.start && token.end <= line.size(), "tokens leave a gap");
        covered = token.end;
        switch (token.kind) {
        case MarkupKind::character: require(token.end == token.start + 1, "a character token is not one character"); break;
        case MarkupKind::colour_tag: require(line[token.start] == U'^' && token.end == token.start + 2, "a bad colour tag"); break;
        case MarkupKind::face_close: require(line[token.start] == U'}' && line[token.start + 1] == U'>', "a bad closing tag"); break;
        case MarkupKind::face_open:
            require(line[token.start] == U'<' && token.word_start >= token.start && token.word_end + 2 == token.end &&
                        token.word_start <= token.word_end && line[token.word_end] == U'=' && line[token.word_end + 1] == U'{',
                    "a face word outside its tag");
            break;
        }
    }
    require(covered == line.size(), "the tokens stop short of the end");
    return 0;
}
