// Text blocks over fuzzed text and wrap lengths, measured at 10 pixels a
// character: every character comes back in exactly one line, lines of more
// than one word fit the wrap length, and the line each carries for drawing
// holds the characters it shows, markup in force included.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "layout/line_breaks.h"
#include "layout/text_block.h"
#include "render/markup.h"

using lumo::fuzz::require;

namespace {

bool is_key(char32_t key) { return key == U'1'; }

/// The characters a line for drawing shows.
std::u32string characters_of(std::u32string_view markup) {
    lumo::render::MarkupLexer lexer(markup, is_key);
    lumo::render::MarkupToken token;
    std::u32string shown;
    while (lexer.next(token))
        if (token.kind == lumo::render::MarkupKind::character) shown += token.code;
    return shown;
}

class TenPixels final : public lumo::layout::LineWidths {
public:
    long width(std::u32string_view markup, bool) override { return static_cast<long>(characters_of(markup).size()) * 10; }
};

bool separates(char32_t code) { return code == U'\n' || code == U'\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static constexpr char32_t kAlphabet[] = {U'a', U'b', U' ', U' ', U'\n', U'\r', U'^', U'1', U'r', U'<', U'=', U'{',
                                             U'}', U'>', U'-', U'.', U'\u4f60', U'\u05d0', U'\u3001', U'\u00a0'};
    const long wraplength = data[0] % 64;
    std::u32string text;
    for (std::size_t i = 1; i < size; ++i) text += kAlphabet[data[i] % (sizeof kAlphabet / sizeof kAlphabet[0])];
    TenPixels widths;
    const auto lines = lumo::layout::break_into_lines(text, lumo::layout::Direction::from_text, wraplength, widths, is_key);

    // The paragraphs' characters, as the lines must give them back.
    const std::u32string typed = characters_of(text);
    std::vector<std::u32string> paragraphs(1);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (!separates(typed[i])) {
            paragraphs.back() += typed[i];
            continue;
        }
        if (typed[i] == U'\r' && i + 1 < typed.size() && typed[i + 1] == U'\n') ++i;
        paragraphs.emplace_back();
    }
    std::size_t next_line = 0;
    for (const std::u32string& paragraph : paragraphs) {
        const std::vector<bool> allowed = lumo::layout::break_opportunities(paragraph);
        std::size_t at = 0;
        do {
            require(next_line < lines.size(), "a paragraph has too few lines");
            const auto& line = lines[next_line++];
            require(paragraph.compare(at, line.visible.size(), line.visible) == 0, "a line shows other characters");
            std::u32string shown = line.visible;
            while (!shown.empty() && lumo::layout::is_trailing_space(shown.back())) shown.pop_back();
            require(characters_of(line.markup) == shown, "a line draws other characters than it shows");
            // Wider than the wrap length only when it ends at its first break opportunity.
            if (wraplength > 0 && static_cast<long>(shown.size()) * 10 > wraplength) {
                for (std::size_t k = at; k + 1 < at + line.visible.size(); ++k)
                    require(!allowed[k], "a line wider than the wrap length could have ended sooner");
            }
            at += line.visible.size();
        } while (at < paragraph.size());
    }
    require(next_line == lines.size(), "more lines than the paragraphs hold");
    return 0;
}
