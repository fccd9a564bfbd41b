// The inline markup lexer over fuzzed lines: tokens must cover the text in
// order without gaps, tags must be the characters they claim, and a face word
// must lie inside its tag. The segmenter's pieces must then cover the visible
// text, and cutting them by any levels must keep every character once.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "render/line_segmenter.h"
#include "render/markup.h"

using lumo::fuzz::require;
using lumo::render::MarkupKind;

namespace {

/// Fonts by character class, with "no font" for 'a'; faces by word length.
class FuzzHost final : public lumo::render::SegmentationHost {
public:
    bool is_palette_key(char32_t key) override { return key == U'1'; }
    int palette_colour(char32_t) override { return 1; }
    int call_colour() override { return 0; }
    int open_face(std::u32string_view word) override { return static_cast<int>(word.size() % 3) + 1; }
    int call_face() override { return 0; }
    int font_for(char32_t code, int face, lumo::font::Presentation) override {
        return static_cast<int>(code % 4) + face * 10;
    }
    int fallback_font(int face) override { return 100 + face; }
    int emoji_font() override { return 200; }
    bool same_font(int a, int b) override { return a % 10 == b % 10; }
    bool is_no_font(int font) override { return font % 4 == static_cast<int>(U'a' % 4); }
    bool emoji_draws_keycap() override { return true; }
};

void check_segments(const std::u32string& line, const std::uint8_t* data, std::size_t size) {
    FuzzHost host;
    const lumo::render::SegmentedLine segmented = lumo::render::segment_markup(line, host);
    require(segmented.visible.size() <= line.size(), "more visible characters than typed");
    std::size_t covered = 0;
    for (const lumo::render::LinePiece& piece : segmented.pieces) {
        require(piece.start == covered && piece.length > 0, "pieces leave a gap");
        covered += piece.length;
    }
    require(covered == segmented.visible.size(), "the pieces stop short of the end");
    std::vector<std::uint8_t> levels(segmented.visible.size());
    for (std::size_t i = 0; i < levels.size(); ++i) levels[i] = size == 0 ? 0 : data[i % size] % 4;
    std::vector<int> seen(segmented.visible.size(), 0);
    for (const lumo::render::LinePiece& run : lumo::render::cut_by_levels(segmented.pieces, levels)) {
        for (std::size_t i = run.start; i < run.start + run.length; ++i) {
            require(levels[i] == run.level, "a run holds two levels");
            ++seen[i];
        }
    }
    for (int count : seen) require(count == 1, "a character is lost or doubled by the cut");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Mostly markup characters, so that tags are met often.
    static constexpr char32_t kAlphabet[] = {U'^', U'<', U'=', U'{', U'}', U'>', U'/', U'r', U'1', U'a', U' ',
                                             U'\u05d0', U'\u0301', U'\u20e3', U'\ufe0f', U'#'};
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
    check_segments(line, data, size);
    return 0;
}
