// Carets, hit tests, selections and motion over blocks of made-up runs: every
// glyph advance is known, so every answer is known.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "layout/block_carets.h"
#include "layout/text_boundaries.h"

namespace {

using lumo::layout::BlockCarets;
using lumo::layout::CaretCharacter;
using lumo::layout::CaretLine;
using lumo::layout::GlyphPlace;
using lumo::layout::PixelRect;
using lumo::layout::RunPlace;

/// The characters of `text`, each standing at its own index (no markup).
std::vector<CaretCharacter> characters_of(std::u32string_view text) {
    std::vector<CaretCharacter> characters;
    for (std::size_t i = 0; i < text.size(); ++i) characters.push_back({text[i], i, i + 1, text[i] != U'\n'});
    return characters;
}

struct TestRun {
    RunPlace place;
    std::vector<GlyphPlace> glyphs;
};

/// A run of characters [first, end) with one glyph per listed cluster, each
/// `advance` wide, drawn from `origin` left to right (clusters in that order).
TestRun run(std::size_t first, std::size_t end, std::uint8_t level, double origin, std::vector<std::size_t> clusters,
            std::vector<double> advances) {
    TestRun made;
    made.place.first = first;
    made.place.end = end;
    made.place.level = level;
    made.place.origin = origin;
    double pen = origin;
    for (std::size_t i = 0; i < clusters.size(); ++i) {
        made.glyphs.push_back({clusters[i], advances[i], pen, pen + advances[i]});
        pen += advances[i];
    }
    made.place.advance = pen - origin;
    return made;
}

CaretLine line(std::size_t first, std::size_t end, std::vector<TestRun> runs, bool right_to_left = false,
               long y = 0) {
    CaretLine made;
    made.first = first;
    made.end = end;
    made.y = y;
    made.height = 20;
    made.right_to_left = right_to_left;
    double left = 1e9, right = -1e9;
    for (TestRun& run : runs) {
        left = std::min(left, run.place.origin);
        right = std::max(right, run.place.origin + run.place.advance);
        run.place.first_glyph = made.glyphs.size();
        run.place.glyph_count = run.glyphs.size();
        made.glyphs.insert(made.glyphs.end(), run.glyphs.begin(), run.glyphs.end());
        made.runs.push_back(run.place);
    }
    if (runs.empty()) left = right = 0;
    made.start_edge = right_to_left ? right : left;
    made.end_edge = right_to_left ? left : right;
    return made;
}

std::vector<long> strong_carets(const BlockCarets& carets) {
    std::vector<long> xs;
    for (std::size_t i = 0; i <= carets.text_length(); ++i) xs.push_back(carets.caret(i).x);
    return xs;
}

std::vector<std::size_t> stops(const BlockCarets& carets) {
    std::vector<std::size_t> found{0};
    while (found.back() < carets.text_length()) found.push_back(carets.next_caret(found.back()));
    return found;
}

TEST(TextBoundaries, ClustersReadersSeeAsOneCharacterHaveNoBoundaryInside) {
    for (const std::u32string word : {U"\u0915\u094D\u0937\u093F", U"\U0001F468\u200D\U0001F469\u200D\U0001F467",
                                      U"\U0001F1EF\U0001F1F5", U"e\u0301", U"\r\n"}) {
        const std::vector<bool> boundaries = lumo::layout::grapheme_boundaries(word);
        EXPECT_EQ(std::count(boundaries.begin(), boundaries.end(), true), 2) << word.size();
    }
    EXPECT_EQ(lumo::layout::grapheme_boundaries(U"ab"), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(lumo::layout::grapheme_boundaries(U""), (std::vector<bool>{true}));
}

TEST(TextBoundaries, WordsAreSegmentsBetweenWordBoundaries) {
    const std::u32string text = U"hello, big world";
    const std::vector<bool> words = lumo::layout::word_boundaries(text);
    EXPECT_EQ(lumo::layout::segment_around(words, 2), (std::pair<std::size_t, std::size_t>{0, 5}));
    EXPECT_EQ(lumo::layout::segment_around(words, 5), (std::pair<std::size_t, std::size_t>{5, 6}));
    EXPECT_EQ(lumo::layout::segment_around(words, 12), (std::pair<std::size_t, std::size_t>{11, 16}));
    EXPECT_EQ(lumo::layout::segment_around(words, 99), (std::pair<std::size_t, std::size_t>{11, 16}));
}

TEST(BlockCarets, ALeftToRightLineHasItsCaretsAtThePenPositions) {
    const std::u32string text = U"abc";
    BlockCarets carets(characters_of(text), 3, {line(0, 3, {run(0, 3, 0, 0, {0, 1, 2}, {10, 12, 8})})});
    EXPECT_EQ(strong_carets(carets), (std::vector<long>{0, 10, 22, 30}));
    EXPECT_EQ(carets.caret(1), (PixelRect{10, 0, 1, 20}));
    EXPECT_EQ(carets.index_at(4, 5), 0u);
    EXPECT_EQ(carets.index_at(6, 5), 1u);
    EXPECT_EQ(carets.index_at(-50, 5), 0u);
    EXPECT_EQ(carets.index_at(500, 5), 3u);
    EXPECT_EQ(carets.selection(1, 3), (std::vector<PixelRect>{{10, 0, 20, 20}}));
    EXPECT_EQ(carets.selection(2, 2), std::vector<PixelRect>{});
}

TEST(BlockCarets, ALigatureIsSharedEvenlyByItsGraphemes) {
    // "ffi" drawn as one glyph of 30 pixels, then "x".
    BlockCarets carets(characters_of(U"ffix"), 4, {line(0, 4, {run(0, 4, 0, 0, {0, 3}, {30, 10})})});
    EXPECT_EQ(strong_carets(carets), (std::vector<long>{0, 10, 20, 30, 40}));
    EXPECT_EQ(carets.index_at(14, 5), 1u);
    EXPECT_EQ(carets.index_at(16, 5), 2u);
    EXPECT_EQ(stops(carets), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

TEST(BlockCarets, AGraphemeOfSeveralCharactersIsOneStepAndOneBox) {
    // "e" and a combining acute in one cluster, then "x".
    BlockCarets carets(characters_of(U"e\u0301x"), 3, {line(0, 3, {run(0, 3, 0, 0, {0, 0, 2}, {10, 0, 10})})});
    EXPECT_EQ(stops(carets), (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(carets.prev_caret(3), 2u);
    EXPECT_EQ(carets.prev_caret(2), 0u);
    EXPECT_EQ(carets.caret(1).x, 0);  // inside the cluster: where it starts
    for (double x = 0; x < 20; x += 1) EXPECT_NE(carets.index_at(x, 5), 1u) << x;
    EXPECT_EQ(carets.selection(0, 2), (std::vector<PixelRect>{{0, 0, 10, 20}}));
}

TEST(BlockCarets, RightToLeftTextHasItsFirstCaretAtTheRight) {
    // Three Hebrew letters, drawn left to right as clusters 2, 1, 0, in a right-to-left paragraph.
    BlockCarets carets(characters_of(U"\u05D0\u05D1\u05D2"), 3,
                       {line(0, 3, {run(0, 3, 1, 0, {2, 1, 0}, {10, 10, 10})}, true)});
    EXPECT_EQ(strong_carets(carets), (std::vector<long>{30, 20, 10, 0}));
    EXPECT_EQ(carets.index_at(26, 5), 0u);
    EXPECT_EQ(carets.index_at(24, 5), 1u);
    EXPECT_EQ(carets.index_at(-5, 5), 3u);
    EXPECT_EQ(carets.index_at(45, 5), 0u);
    EXPECT_EQ(carets.move_visually(0, -1), 1u);
    EXPECT_EQ(carets.move_visually(0, 1), 0u);
    EXPECT_EQ(carets.move_visually(0, -3), 3u);
}

/// "ab אב" in a left-to-right paragraph: "ab " at 0..30, then the Hebrew
/// word drawn reversed at 30..50 (its first letter at the right).
BlockCarets mixed_line() {
    return BlockCarets(characters_of(U"ab \u05D0\u05D1"), 5,
                       {line(0, 5, {run(0, 3, 0, 0, {0, 1, 2}, {10, 10, 10}), run(3, 5, 1, 30, {4, 3}, {10, 10})})});
}

TEST(BlockCarets, WhereDirectionsMeetTheStrongCaretIsTheOneOfTheCharacterTypedLast) {
    const BlockCarets carets = mixed_line();
    // After the space: the strong caret ends the space, the weak one starts the Hebrew word.
    EXPECT_EQ(carets.caret(3).x, 30);
    EXPECT_EQ(carets.caret(3, true).x, 50);
    // Inside the Hebrew word one caret.
    EXPECT_EQ(carets.caret(4).x, 40);
    EXPECT_EQ(carets.caret(4, true).x, 40);
    // At the end: after the last Hebrew letter typed, and where left-to-right text would go.
    EXPECT_EQ(carets.caret(5).x, 30);
    EXPECT_EQ(carets.caret(5, true).x, 50);
    // Within one direction the weak caret is the strong one.
    EXPECT_EQ(carets.caret(1, true).x, 10);
}

TEST(BlockCarets, SelectionsCrossingADirectionChangeAreSeveralRectangles) {
    const BlockCarets carets = mixed_line();
    // "b " and the first Hebrew letter: 10..30 and 40..50, with the second letter between them unselected.
    EXPECT_EQ(carets.selection(1, 4), (std::vector<PixelRect>{{10, 0, 20, 20}, {40, 0, 10, 20}}));
    EXPECT_EQ(carets.selection(0, 5), (std::vector<PixelRect>{{0, 0, 50, 20}}));
    EXPECT_EQ(carets.selection(4, 1), carets.selection(1, 4));
}

TEST(BlockCarets, VisualMotionWalksTheScreenLeftToRightOnce) {
    const BlockCarets carets = mixed_line();
    std::vector<std::size_t> walked{0};
    for (int step = 0; step < 8; ++step) walked.push_back(carets.move_visually(walked.back(), 1));
    EXPECT_EQ(walked, (std::vector<std::size_t>{0, 1, 2, 3, 5, 4, 4, 4, 4}));
    std::vector<std::size_t> back{4};
    for (int step = 0; step < 6; ++step) back.push_back(carets.move_visually(back.back(), -1));
    EXPECT_EQ(back, (std::vector<std::size_t>{4, 5, 3, 2, 1, 0, 0}));
}

TEST(BlockCarets, TagsTakeNoRoomAndIndicesInsideThemStandAtTheirPlace) {
    // "a^1b": the tag "^1" at 1..3 is not a character.
    std::vector<CaretCharacter> characters{{U'a', 0, 1}, {U'b', 3, 4}};
    BlockCarets carets(characters, 4, {line(0, 2, {run(0, 2, 0, 0, {0, 1}, {10, 10})})});
    EXPECT_EQ(strong_carets(carets), (std::vector<long>{0, 10, 10, 10, 20}));
    EXPECT_EQ(stops(carets), (std::vector<std::size_t>{0, 1, 4}));
    EXPECT_EQ(carets.prev_caret(3), 1u);
    EXPECT_EQ(carets.index_at(8, 5), 1u);
    EXPECT_EQ(carets.selection(1, 4), (std::vector<PixelRect>{{10, 0, 10, 20}}));
    EXPECT_EQ(carets.word_at(0), (std::pair<std::size_t, std::size_t>{0, 4}));
}

TEST(BlockCarets, MarksWithoutGlyphsTakeNoRoomButAreCaretStops) {
    // "a", a left-to-right mark (dropped: no glyph), "b".
    std::vector<CaretCharacter> characters = characters_of(U"a\u200Eb");
    characters[1].drawn = false;
    BlockCarets carets(characters, 3, {line(0, 3, {run(0, 3, 0, 0, {0, 2}, {10, 10})})});
    EXPECT_EQ(strong_carets(carets), (std::vector<long>{0, 10, 10, 20}));
    EXPECT_EQ(stops(carets), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(carets.selection(1, 2), std::vector<PixelRect>{});
}

/// "one two\nthree": "one " and "two" wrapped, then a second paragraph, each
/// letter 10 pixels wide, lines 20 pixels tall.
BlockCarets three_lines() {
    CaretLine first = line(0, 4, {run(0, 4, 0, 0, {0, 1, 2, 3}, {10, 10, 10, 10})});
    first.wrapped = true;
    CaretLine second = line(4, 7, {run(4, 7, 0, 0, {4, 5, 6}, {10, 10, 10})}, false, 20);
    CaretLine third = line(8, 13, {run(8, 13, 0, 0, {8, 9, 10, 11, 12}, {10, 10, 10, 10, 10})}, false, 40);
    return BlockCarets(characters_of(U"one two\nthree"), 13, {first, second, third});
}

TEST(BlockCarets, LinesHoldTheirRangesAndTheEndOfAWrappedLineIsTheNextOnesStart) {
    const BlockCarets carets = three_lines();
    EXPECT_EQ(carets.line_range(0), (std::pair<std::size_t, std::size_t>{0, 4}));
    EXPECT_EQ(carets.line_range(1), (std::pair<std::size_t, std::size_t>{4, 7}));
    EXPECT_EQ(carets.line_range(2), (std::pair<std::size_t, std::size_t>{8, 13}));
    EXPECT_EQ(carets.line_of(4), 1u);
    EXPECT_EQ(carets.line_of(7), 1u);  // before the newline
    EXPECT_EQ(carets.line_of(8), 2u);
    EXPECT_EQ(carets.caret(4), (PixelRect{0, 20, 1, 20}));
    EXPECT_EQ(carets.caret(7), (PixelRect{30, 20, 1, 20}));
    // A click past the end of the wrapped line stays on it, before its space.
    EXPECT_EQ(carets.index_at(100, 5), 3u);
    EXPECT_EQ(carets.index_at(100, 25), 7u);
    EXPECT_EQ(carets.index_at(45, 1000), 13u);  // below the last line: on it
}

TEST(BlockCarets, MotionGoesOnToTheNextAndPreviousLines) {
    const BlockCarets carets = three_lines();
    EXPECT_EQ(carets.move_visually(3, 1), 4u);
    EXPECT_EQ(carets.move_visually(4, -1), 3u);
    EXPECT_EQ(carets.move_visually(7, 1), 8u);
    EXPECT_EQ(carets.move_visually(8, -1), 7u);
    EXPECT_EQ(carets.move_visually(13, 1), 13u);
    EXPECT_EQ(carets.move_visually(0, -1), 0u);
    // Up and down keep the x: from "thr|ee" to "two|" and "one|".
    EXPECT_EQ(carets.move_vertically(11, -1), 7u);
    EXPECT_EQ(carets.move_vertically(11, -2), 3u);
    EXPECT_EQ(carets.move_vertically(2, 2, 44.0), 12u);
    EXPECT_EQ(carets.move_vertically(2, -1), 0u);
    EXPECT_EQ(carets.move_vertically(2, 5), 13u);
}

TEST(BlockCarets, ADoubleClickTakesTheWordTouchingTheCaret) {
    const BlockCarets carets = three_lines();
    EXPECT_EQ(carets.word_at(1), (std::pair<std::size_t, std::size_t>{0, 3}));
    EXPECT_EQ(carets.word_at(3), (std::pair<std::size_t, std::size_t>{0, 3}));  // after "one", before its space
    EXPECT_EQ(carets.word_at(4), (std::pair<std::size_t, std::size_t>{4, 7}));
    EXPECT_EQ(carets.word_at(13), (std::pair<std::size_t, std::size_t>{8, 13}));
}

TEST(BlockCarets, AnEmptyTextHasOneCaretAtItsStart) {
    BlockCarets carets({}, 0, {line(0, 0, {})});
    EXPECT_EQ(carets.caret(0), (PixelRect{0, 0, 1, 20}));
    EXPECT_EQ(carets.index_at(10, 10), 0u);
    EXPECT_EQ(carets.next_caret(0), 0u);
    EXPECT_EQ(carets.move_visually(0, 1), 0u);
    EXPECT_EQ(carets.word_at(0), (std::pair<std::size_t, std::size_t>{0, 0}));
    EXPECT_TRUE(carets.selection(0, 0).empty());
}

}  // namespace
