// Breaking text blocks into lines and placing them, with a fixed-width measure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "layout/line_breaks.h"
#include "layout/text_block.h"
#include "render/markup.h"

namespace {

using lumo::layout::Align;
using lumo::layout::BlockLine;
using lumo::layout::Direction;
using lumo::layout::LineExtent;

bool is_key(char32_t key) { return key == U'1' || key == U'2'; }

/// Every visible character 10 px wide; remembers what it measured.
class TenPixels final : public lumo::layout::LineWidths {
public:
    long width(std::u32string_view markup, bool) override {
        ++calls;
        lumo::render::MarkupLexer lexer(markup, is_key);
        lumo::render::MarkupToken token;
        long characters = 0;
        while (lexer.next(token)) characters += token.kind == lumo::render::MarkupKind::character;
        return characters * 10;
    }
    int calls = 0;
};

std::vector<BlockLine> lines_of(std::u32string_view text, long wraplength, Direction direction = Direction::left_to_right) {
    TenPixels widths;
    return lumo::layout::break_into_lines(text, direction, wraplength, widths, is_key);
}

std::vector<std::u32string> visible(const std::vector<BlockLine>& lines) {
    std::vector<std::u32string> out;
    for (const BlockLine& line : lines) out.push_back(line.visible);
    return out;
}

std::vector<std::u32string> markup(const std::vector<BlockLine>& lines) {
    std::vector<std::u32string> out;
    for (const BlockLine& line : lines) out.push_back(line.markup);
    return out;
}

TEST(TextBlock, WrapsAtSpacesKeepingEveryCharacterAndDroppingTrailingSpacesFromTheDrawnLine) {
    const auto lines = lines_of(U"The quick brown fox jumps", 100);
    EXPECT_EQ(visible(lines), (std::vector<std::u32string>{U"The quick ", U"brown fox ", U"jumps"}));
    EXPECT_EQ(markup(lines), (std::vector<std::u32string>{U"The quick", U"brown fox", U"jumps"}));
}

TEST(TextBlock, AWordWiderThanTheWrapLengthHasALineOfItsOwn) {
    EXPECT_EQ(visible(lines_of(U"a verylongword b c", 50)),
              (std::vector<std::u32string>{U"a ", U"verylongword ", U"b c"}));
}

TEST(TextBlock, NewlinesSeparateParagraphsAndNoWrapLengthMeansNoWrapping) {
    EXPECT_EQ(visible(lines_of(U"ab cd\ncd\r\nef\r\rgh", 0)),
              (std::vector<std::u32string>{U"ab cd", U"cd", U"ef", U"", U"gh"}));
    EXPECT_EQ(visible(lines_of(U"", 0)), (std::vector<std::u32string>{U""}));
    EXPECT_EQ(visible(lines_of(U"x\n", 40)), (std::vector<std::u32string>{U"x", U""}));
}

TEST(TextBlock, MarkupInForceStartsEachLine) {
    const auto lines = lines_of(U"^1red red <bold={bold bold}> plain ^rcall", 90);
    // The face tag comes first, then the colour tag; tags after a line's last
    // character change nothing on it and are left to the next line's start.
    EXPECT_EQ(markup(lines), (std::vector<std::u32string>{U"^1red red", U"<bold={^1bold bold", U"^1plain", U"call"}));
    EXPECT_EQ(markup(lines_of(U"<italic={^2aa bb}> cc", 30)),
              (std::vector<std::u32string>{U"<italic={^2aa", U"<italic={^2bb", U"^2cc"}));
}

TEST(TextBlock, LinesSayWhichCharactersTheyHoldAndDraw) {
    // Characters of "^1one two\r\nthree" without its tag: o n e ␣ t w o \r \n t h r e e.
    const auto lines = lines_of(U"^1one two\r\nthree", 50);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ((std::vector<std::size_t>{lines[0].first, lines[1].first, lines[2].first}),
              (std::vector<std::size_t>{0, 4, 9}));
    EXPECT_EQ((std::vector<std::size_t>{lines[0].shown, lines[1].shown, lines[2].shown}),
              (std::vector<std::size_t>{3, 3, 5}));
    EXPECT_EQ((std::vector<bool>{lines[0].wrapped, lines[1].wrapped, lines[2].wrapped}),
              (std::vector<bool>{true, false, false}));
    const auto characters = lumo::layout::typed_characters(U"^1one two\r\nthree", is_key);
    ASSERT_EQ(characters.size(), 14u);
    EXPECT_EQ(characters[0].start, 2u);
    EXPECT_EQ(characters[0].colour, std::optional<char32_t>(U'1'));
}

TEST(TextBlock, IdeographsBreakBetweenEachOther) {
    EXPECT_EQ(visible(lines_of(U"你好世界你好", 20)), (std::vector<std::u32string>{U"你好", U"世界", U"你好"}));
}

TEST(TextBlock, ParagraphDirectionComesFromTheFirstStrongCharacter) {
    const auto lines = lines_of(U"123 \u05E9\u05DC\u05D5\u05DD abc\n(abc) \u05D0", 0, Direction::from_text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].right_to_left);
    EXPECT_FALSE(lines[1].right_to_left);
    EXPECT_TRUE(lines_of(U"abc", 0, Direction::right_to_left)[0].right_to_left);
}

TEST(TextBlock, FewMeasurementsPerLine) {
    TenPixels widths;
    std::u32string text;
    for (int i = 0; i < 60; ++i) text += U"word ";
    const auto lines = lumo::layout::break_into_lines(text, Direction::left_to_right, 200, widths, is_key);
    EXPECT_EQ(lines.size(), 15u);
    EXPECT_LE(widths.calls, 4 * 15);
}

/// Each visible character as wide as `width_of` says; counts the characters it measured.
class WidthsOf final : public lumo::layout::LineWidths {
public:
    explicit WidthsOf(long (*width_of)(char32_t)) : width_of_(width_of) {}
    long width(std::u32string_view markup, bool) override {
        ++calls;
        lumo::render::MarkupLexer lexer(markup, is_key);
        lumo::render::MarkupToken token;
        long width = 0;
        while (lexer.next(token)) {
            if (token.kind != lumo::render::MarkupKind::character) continue;
            width += width_of_(token.code);
            ++measured_characters;
        }
        return width;
    }
    int calls = 0;
    long measured_characters = 0;

private:
    long (*width_of_)(char32_t);
};

/// The lines a walk word by word makes: each as many words as fit, or one.
std::vector<std::u32string> walked_lines(const std::u32string& words, long wraplength, long (*width_of)(char32_t)) {
    std::vector<std::u32string> lines;
    std::u32string line;
    long width = 0;  // of `line` without its trailing space
    std::size_t start = 0;
    while (start < words.size()) {
        std::size_t space = words.find(U' ', start);
        const std::size_t end = space == std::u32string::npos ? words.size() : space + 1;
        const std::u32string word = words.substr(start, end - start);
        long word_width = 0;
        for (char32_t c : word) word_width += c == U' ' ? 0 : width_of(c);
        const long space_width = line.empty() ? 0 : width_of(U' ');
        if (!line.empty() && width + space_width + word_width > wraplength) {
            lines.push_back(line);
            line.clear();
            width = 0;
        }
        width += (line.empty() ? 0 : width_of(U' ')) + word_width;
        line += word;
        start = end;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST(TextBlock, ALongParagraphIsMeasuredAboutTwiceNotShapedWholeForAGuess) {
    WidthsOf widths([](char32_t) { return 10L; });
    std::u32string text;
    for (int i = 0; i < 400; ++i) text += i % 3 ? U"word " : U"longer ";
    const auto lines = lumo::layout::break_into_lines(text, Direction::left_to_right, 330, widths, is_key);
    EXPECT_EQ(visible(lines), walked_lines(text, 330, [](char32_t) { return 10L; }));
    // Each line measured about twice (it fits, one word more does not), and a
    // short sample: not the whole paragraph once more.
    EXPECT_LE(widths.measured_characters, static_cast<long>(2.3 * static_cast<double>(text.size())));
}

TEST(TextBlock, WidthsThatChangeAlongTheParagraphBreakAsAWalkWouldInFewMeasurements) {
    // Narrow characters first (a poor guess for the rest), then wide ones, then narrow again.
    constexpr auto width_of = [](char32_t c) -> long { return c == U'w' ? 40 : c == U' ' ? 5 : 2; };
    std::u32string text;
    for (int i = 0; i < 30; ++i) text += U"aaaa ";
    for (int i = 0; i < 30; ++i) text += U"ww ";
    for (int i = 0; i < 60; ++i) text += U"aa ";
    WidthsOf widths(width_of);
    const auto lines = lumo::layout::break_into_lines(text, Direction::left_to_right, 200, widths, is_key);
    EXPECT_EQ(visible(lines), walked_lines(text, 200, width_of));
    EXPECT_LE(widths.calls, 10 * static_cast<int>(lines.size()));
}

TEST(TextBlock, LinesAreAlignedAndStackedWithRoomForTheirInk) {
    const std::vector<LineExtent> extents{{100, -3, 30}, {60, 0, 40}};
    const std::vector<BlockLine> lines{{U"", U"", false}, {U"", U"", true}};
    auto block = lumo::layout::place_lines(extents, lines, Align::right, 0, 20, 1.5);
    EXPECT_EQ(block.width, 100);
    EXPECT_EQ(block.x, (std::vector<long>{0, 40}));
    EXPECT_EQ(block.y, (std::vector<long>{3, 33}));  // 30 apart, moved down for the marks above the first line
    EXPECT_EQ(block.height, 3 + 30 + 40);
    block = lumo::layout::place_lines(extents, lines, Align::center, 140, 20, 1.0);
    EXPECT_EQ(block.width, 140);
    EXPECT_EQ(block.x, (std::vector<long>{20, 40}));
    block = lumo::layout::place_lines(extents, lines, Align::start, 140, 20, 1.0);
    EXPECT_EQ(block.width, 100);  // start: as wide as the widest line
    EXPECT_EQ(block.x, (std::vector<long>{0, 40}));  // the right-to-left line to the right
}

TEST(LineBreaks, SpacesAndIdeographsOfferBreaksButNotInsideWords) {
    const std::vector<bool> allowed = lumo::layout::break_opportunities(U"ab cd你好");
    EXPECT_EQ(allowed, (std::vector<bool>{false, false, true, false, true, true, true}));
    EXPECT_TRUE(lumo::layout::is_trailing_space(U' '));
    EXPECT_FALSE(lumo::layout::is_trailing_space(0xA0));
}

}  // namespace

/// Cuts lines into runs as the renderer does (spaces and no-break spaces
/// apart from the rest, zero-width spaces not drawn) and rounds each run's
/// advance: the widths of a line's parts add up only where a space starts a
/// run. Keeps the lines it measured, as the renderer's block lines do, and
/// counts the characters of those it measured afresh.
class RoundedRuns final : public lumo::layout::LineWidths {
public:
    explicit RoundedRuns(bool adds_up) : adds_up_(adds_up) {}
    long width(std::u32string_view markup, bool right_to_left) override {
        const lumo::layout::LineAdvance line = *runs_of(markup);
        (void)right_to_left;
        return std::max(1L, line.total) + line.last_reach;
    }
    std::optional<lumo::layout::LineAdvance> advance(std::u32string_view markup, bool) override {
        if (!adds_up_) return std::nullopt;
        return runs_of(markup);
    }
    long measured_characters = 0;

private:
    static bool is_space(char32_t code) { return code == U' ' || code == 0xA0; }

    std::optional<lumo::layout::LineAdvance> runs_of(std::u32string_view markup) {
        auto [known, fresh] = measured_.try_emplace(std::u32string(markup));
        if (!fresh) return known->second;
        lumo::layout::LineAdvance& line = known->second;
        double run = 0;
        std::optional<bool> run_of_spaces;
        for (char32_t code : markup) {
            if (code == 0x200B) continue;
            ++measured_characters;
            if (run_of_spaces && *run_of_spaces != is_space(code)) {
                line.total += std::lround(run);
                ++line.runs;
                run = 0;
            }
            run_of_spaces = is_space(code);
            run += is_space(code) ? 4.4 : 7.3;
        }
        if (run_of_spaces) {
            line.total += std::lround(run);
            ++line.runs;
            line.last_reach = *run_of_spaces ? 0 : 1;
        }
        return line;
    }

    bool adds_up_;
    std::map<std::u32string, lumo::layout::LineAdvance> measured_;
};

TEST(TextBlock, LinesMeasuredFromTheirPartsBreakAsLinesMeasuredWhole) {
    // Words, runs of spaces, no-break spaces and zero-width spaces, where a
    // part's width rounded alone differs from its share of the line.
    std::u32string text;
    const std::u32string words[] = {U"ab", U"cde", U"f", U"ghij", U"k\u00A0l", U"mn\u200B", U"o  ", U"x\u00A0", U"pq",
                                    U"\u200B", U"rs"};
    for (int i = 0; i < 120; ++i) text += words[(i * 7) % 11] + U" ";
    long measured_whole = 0, measured_from_parts = 0;
    for (long wraplength = 20; wraplength < 200; ++wraplength) {
        RoundedRuns whole(false), from_parts(true);
        const auto expected = lumo::layout::break_into_lines(text, Direction::left_to_right, wraplength, whole, is_key);
        const auto lines = lumo::layout::break_into_lines(text, Direction::left_to_right, wraplength, from_parts, is_key);
        EXPECT_EQ(visible(lines), visible(expected)) << wraplength;
        measured_whole += whole.measured_characters;
        measured_from_parts += from_parts.measured_characters;
    }
    EXPECT_LT(measured_from_parts * 5, measured_whole * 4);
}
