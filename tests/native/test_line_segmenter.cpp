// The core segmenter against a scripted host: what it asks, and the pieces it cuts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/line_segmenter.h"

namespace {

using lumo::render::cut_by_levels;
using lumo::render::LinePiece;
using lumo::render::segment_markup;
using lumo::render::SegmentedLine;

constexpr int kFallback = 100, kEmoji = 200, kNoFont = 300;

/// Fonts: Latin letters and digits 1, Hebrew 2, characters in `uncovered` none;
/// each face adds its number times 10. Palette keys '1' and '2' are colours 1, 2.
class ScriptedHost final : public lumo::render::SegmentationHost {
public:
    std::vector<char32_t> asked;  // characters whose font was asked, in order
    std::vector<lumo::font::Presentation> presentations;  // what the text asked of each
    std::u32string uncovered;
    bool keycap_drawn = true;

    bool is_palette_key(char32_t key) override { return key == U'1' || key == U'2'; }
    int palette_colour(char32_t key) override { return static_cast<int>(key - U'0'); }
    int call_colour() override { return 0; }
    int open_face(std::u32string_view word) override { return word == U"bold" ? 1 : 2; }
    int call_face() override { return 0; }
    int font_for(char32_t code, int face, lumo::font::Presentation presentation) override {
        asked.push_back(code);
        presentations.push_back(presentation);
        if (uncovered.find(code) != std::u32string::npos) return kNoFont;
        return (code >= 0x590 && code < 0x600 ? 2 : 1) + face * 10;
    }
    int fallback_font(int face) override { return kFallback + face; }
    int emoji_font() override { return kEmoji; }
    bool same_font(int, int) override { return false; }
    bool is_no_font(int font) override { return font == kNoFont; }
    bool emoji_draws_keycap() override { return keycap_drawn; }
};

struct Cut {
    std::u32string text;
    int font, colour, face;
    bool operator==(const Cut&) const = default;
};

std::vector<Cut> cuts(const SegmentedLine& line, const std::vector<LinePiece>& pieces) {
    std::vector<Cut> out;
    for (const LinePiece& piece : pieces)
        out.push_back({line.visible.substr(piece.start, piece.length), piece.font, piece.colour, piece.face});
    return out;
}

TEST(LineSegmenter, MarkupChangesColourAndFaceAndIsNotVisible) {
    ScriptedHost host;
    const SegmentedLine line = segment_markup(U"ab^1cd<bold={ef}>g^rh", host);
    EXPECT_EQ(line.visible, U"abcdefgh");
    const std::vector<Cut> expected{{U"ab", 1, 0, 0}, {U"cd", 1, 1, 0}, {U"ef", 11, 1, 1}, {U"g", 1, 1, 0},
                                    {U"h", 1, 0, 0}};
    EXPECT_EQ(cuts(line, line.pieces), expected);
}

TEST(LineSegmenter, SpacesTakeTheFallbackAndLatinOneIsAskedOncePerFace) {
    ScriptedHost host;
    const SegmentedLine line = segment_markup(U"aa a<italic={a}>a", host);
    const std::vector<Cut> expected{{U"aa", 1, 0, 0}, {U" ", kFallback, 0, 0}, {U"a", 1, 0, 0}, {U"a", 21, 0, 2},
                                    {U"a", 1, 0, 0}};
    EXPECT_EQ(cuts(line, line.pieces), expected);
    EXPECT_EQ(host.asked, (std::vector<char32_t>{U'a', U'a', U'a'}));  // once per face, and again after "}>"
}

TEST(LineSegmenter, MarksStayWithTheirBaseUnlessItHasNoFont) {
    ScriptedHost host;
    host.uncovered = U"x";
    // U+05B8 (a Hebrew point) after a Latin letter stays in its run; after an
    // uncovered letter it is looked up on its own.
    const SegmentedLine line = segment_markup(U"a\u05B8x\u05B8", host);
    const std::vector<Cut> expected{{U"a\u05B8", 1, 0, 0}, {U"x", kNoFont, 0, 0}, {U"\u05B8", 2, 0, 0}};
    EXPECT_EQ(cuts(line, line.pieces), expected);
}

TEST(LineSegmenter, KeycapsTakeTheEmojiFontOnlyWhenItDrawsThem) {
    ScriptedHost host;
    SegmentedLine line = segment_markup(U"1\uFE0F\u20E3", host);
    EXPECT_EQ(line.pieces.front().font, kEmoji);
    host.keycap_drawn = false;
    line = segment_markup(U"1\uFE0F\u20E3", host);
    EXPECT_EQ(line.pieces.front().font, 1);
}

TEST(LineSegmenter, TheHostIsToldWhatTheTextAsksOfAnEmoji) {
    ScriptedHost host;
    segment_markup(U"©©\uFE0F©\uFE0E©", host);
    // Latin-1 answers are remembered only for what nothing asks of.
    EXPECT_EQ(host.asked, (std::vector<char32_t>{U'©', U'©', U'©'}));
    EXPECT_EQ(host.presentations, (std::vector<lumo::font::Presentation>{lumo::font::Presentation::by_default,
                                                                    lumo::font::Presentation::emoji,
                                                                    lumo::font::Presentation::text}));
}

TEST(LineSegmenter, AsciiNextToSelectorsJoinersAndKeycapsIsAskedAsTheTextAsks) {
    ScriptedHost host;
    const SegmentedLine line = segment_markup(U"ab#\uFE0F\u20E3cd\u200Def\uFE0E", host);
    using lumo::font::Presentation;
    EXPECT_EQ(host.asked, (std::vector<char32_t>{U'a', U'b', U'c', U'd', U'e', U'f'}));
    EXPECT_EQ(host.presentations,
              (std::vector<Presentation>{Presentation::by_default, Presentation::by_default, Presentation::by_default,
                                         Presentation::emoji, Presentation::emoji, Presentation::text}));
    const std::vector<Cut> expected{{U"ab", 1, 0, 0}, {U"#\uFE0F\u20E3", kEmoji, 0, 0}, {U"cd\u200Def\uFE0E", 1, 0, 0}};
    EXPECT_EQ(cuts(line, line.pieces), expected);
}

TEST(LineSegmenter, WithoutMarkupTagsAreCharacters) {
    ScriptedHost host;
    const SegmentedLine line = segment_markup(U"a^1b<bold={c}>", host, false);
    EXPECT_EQ(line.visible, U"a^1b<bold={c}>");
    ASSERT_EQ(line.pieces.size(), 1u);
    EXPECT_EQ(line.pieces[0].colour, 0);
    EXPECT_EQ(line.pieces[0].face, 0);
}

TEST(LineSegmenter, PiecesAreCutWhereTheLevelChangesAndDrawnInVisualOrder) {
    ScriptedHost host;
    // "ab " then Hebrew with digits inside: levels 0 0 0 1 1 2 2 1.
    const SegmentedLine line = segment_markup(U"ab \u05D0\u05D112\u05D2", host);
    const std::vector<std::uint8_t> levels{0, 0, 0, 1, 1, 2, 2, 1};
    const std::vector<LinePiece> runs = cut_by_levels(line.pieces, levels);
    std::vector<std::u32string> order;
    for (const LinePiece& run : runs) order.push_back(line.visible.substr(run.start, run.length));
    EXPECT_EQ(order, (std::vector<std::u32string>{U"ab", U" ", U"\u05D2", U"12", U"\u05D0\u05D1"}));
    EXPECT_EQ(runs[2].level, 1);
    EXPECT_EQ(runs[3].level, 2);
}

TEST(LineSegmenter, LinesAreOrderedByTheirParagraphsDirection) {
    ScriptedHost host;
    auto drawn = [&](std::u32string_view text, bool right_to_left_paragraph) {
        SegmentedLine line = segment_markup(text, host);
        const std::u32string visible = line.visible;
        std::vector<std::pair<std::u32string, int>> order;
        for (const LinePiece& run : lumo::render::pieces_in_drawing_order(line, right_to_left_paragraph))
            order.push_back({visible.substr(run.start, run.length), run.level});
        return order;
    };
    using Order = std::vector<std::pair<std::u32string, int>>;
    // Without right-to-left characters the pieces stay as cut, all at level 0.
    EXPECT_EQ(drawn(U"ab cd", false), (Order{{U"ab", 0}, {U" ", 0}, {U"cd", 0}}));
    // Hebrew in a left-to-right paragraph is reversed in place.
    EXPECT_EQ(drawn(U"ab \u05D0\u05D1", false), (Order{{U"ab", 0}, {U" ", 0}, {U"\u05D0\u05D1", 1}}));
    // The same line in a right-to-left paragraph starts from the right.
    EXPECT_EQ(drawn(U"ab \u05D0\u05D1", true), (Order{{U"\u05D0\u05D1", 1}, {U" ", 1}, {U"ab", 2}}));
    // A Latin-only line of a right-to-left paragraph is cut by levels too: it
    // keeps its order one level up, where it sits beside right-to-left lines.
    EXPECT_EQ(drawn(U"ab cd", true), (Order{{U"ab", 2}, {U" ", 2}, {U"cd", 2}}));
}

}  // namespace
