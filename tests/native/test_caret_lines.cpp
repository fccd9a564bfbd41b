// Carets of a block laid out from real runs: characters stand where their
// glyphs' advances put them, white space ending a wrapped line hangs past its
// end (measured from the line's own spaces, or prepared on its own), and a
// picture is one character as wide as its advance.
#include <gtest/gtest.h>

#include "layout/caret_lines.h"
#include "prepared_lines.h"

namespace {

using namespace lumo;

layout::LaidOutBlock laid_out(std::u32string text, long wraplength, test::DejaVuLines& lines) {
    layout::BlockOptions options;
    options.wraplength = wraplength;
    layout::LaidOutBlock block = layout::break_block(std::move(text), {}, options, lines);
    layout::place_block(block, options, {test::DejaVuRuns::kBaseline, 28, {}}, lines);
    return block;
}

layout::PrepareLine preparing(test::DejaVuLines& lines) {
    return [&lines](std::u32string_view markup, bool right_to_left) -> const render::PreparedLine& {
        return *lines.line(markup, right_to_left);
    };
}

TEST(CaretLines, CharactersStandWhereTheirGlyphsAdvancesPutThem) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::DejaVuLines lines(fonts);
    const layout::LaidOutBlock block = laid_out(U"Wave", 0, lines);
    const layout::BlockCarets carets = layout::block_carets(block, preparing(lines));
    const shaping::RunLayout& layout = *block.lines[0]->runs[0].layout;
    ASSERT_EQ(layout.glyphs.size(), 4u);
    double pen = layout.start_x;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(carets.caret_x(i), pen) << i;
        pen += layout.glyphs[i].advance;
    }
    EXPECT_DOUBLE_EQ(carets.caret_x(4), pen);
    EXPECT_EQ(carets.line(0).width, block.extents[0].width);
    EXPECT_EQ(carets.line(0).baseline, test::DejaVuRuns::kBaseline);
}

TEST(CaretLines, WhiteSpaceEndingALineHangsPastItsEnd) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    // "ab" draws no space: the two that end it are prepared on their own.
    test::DejaVuLines apart(fonts);
    layout::LaidOutBlock block = laid_out(U"ab  cd", 30, apart);
    ASSERT_EQ(block.breaks.size(), 2u);
    const int before = apart.prepared;
    layout::BlockCarets carets = layout::block_carets(block, preparing(apart));
    EXPECT_EQ(apart.prepared, before + 1);
    EXPECT_EQ(apart.asked.back(), U"  ");
    const double end = double(block.lines[0]->total);
    const double space = apart.line(U"  ", false)->runs[0].layout->glyphs[0].advance;
    // From the end of the line as drawn: its whole advance, past where its last glyph's advance ends.
    EXPECT_LE(carets.caret_x(2), end);
    EXPECT_DOUBLE_EQ(carets.caret_x(3), end + space);
    EXPECT_EQ(carets.line_of(4), 1u);

    // "a b" draws a space: the one that ends it takes that advance, nothing is prepared.
    test::DejaVuLines alike(fonts);
    block = laid_out(U"a b  cd", 40, alike);
    ASSERT_EQ(block.breaks[0].visible, U"a b  ");
    const int measured = alike.prepared;
    carets = layout::block_carets(block, preparing(alike));
    EXPECT_EQ(alike.prepared, measured);
    const double drawn_space = block.lines[0]->runs[0].layout->glyphs[1].advance;
    EXPECT_DOUBLE_EQ(carets.caret_x(4), double(block.lines[0]->total) + drawn_space);
}

TEST(CaretLines, APictureIsOneCharacterAsWideAsItsAdvance) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    // One emoji drawn by the legacy engine between two letters.
    shaping::PreparedRun picture;
    picture.picture = 0;
    picture.width = 30;
    picture.advance = 26;
    picture.height = 42;
    render::PreparedLine line = test::line_of({fonts.run(U"a"), picture, fonts.run(U"b")});
    line.characters = {{0, 1, 0}, {1, 1, 0}, {2, 1, 0}};
    const layout::BlockLine broken{U"a\U0001F600b", U"a\U0001F600b", false, 0, 3, false};
    const std::vector<layout::TypedChar> typed{{U'a', 0, 1}, {U'\U0001F600', 1, 2}, {U'b', 2, 3}};
    const layout::DrawnLine drawn[] = {{&broken, &line, 5, 0, layout::line_extent(line)}};
    const layout::BlockCarets carets = layout::block_carets(
        U"a\U0001F600b", typed, drawn, 28, test::DejaVuRuns::kBaseline,
        [](std::u32string_view, bool) -> const render::PreparedLine& { throw std::logic_error("nothing hangs"); });
    const shaping::RunLayout& a = *line.runs[0].layout;
    EXPECT_DOUBLE_EQ(carets.caret_x(1), 5.0 + a.start_x + a.glyphs[0].advance);
    const double after_a = 5.0 + double(line.runs[0].advance);
    EXPECT_DOUBLE_EQ(carets.caret_x(2), after_a + 26);
    EXPECT_EQ(carets.index_at(after_a + 20, 10), 2u);
    EXPECT_EQ(carets.index_at(after_a + 6, 10), 1u);
}

}  // namespace
