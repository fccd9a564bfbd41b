// A block's effects painted over its lines: decorations in the block's colour,
// its alpha, and outline and shadow layers under the text, the outline grown
// from the glyphs (kept in their face's stroke cache) and from pictures.
#include <gtest/gtest.h>

#include <stdexcept>

#include "layout/block_painter.h"
#include "prepared_lines.h"
#include "render/line_painter.h"

namespace {

using namespace lumo;
using lumo::test::kArgb;
using lumo::test::Pixels;

/// A block of one line at (0, 0), its lines painted where the frame puts them.
struct OneLineBlock {
    OneLineBlock(const render::PreparedLine& prepared, const layout::TextEffects& effects, layout::Rgba colour = {255, 255, 255, 255})
        : line(prepared), effects(effects),
          frame(layout::frame_block(render::line_size(line).first, line.surface_height(), effects)),
          pixels(int(frame.width), int(frame.height)) {
        drawing.lines.push_back({&line, 0, 0});
        drawing.width = render::line_size(line).first;
        drawing.height = line.surface_height();
        drawing.baseline = test::DejaVuRuns::kBaseline;
        drawing.decorations = {{3, 2}, {-7, 2}};
        drawing.colour = colour;
    }
    void paint(test::HeldPictures& pictures, const shaping::PixelFormat& format = kArgb) {
        render::InkedRows inked;
        render::paint_runs(pixels.target(), format, line.runs, pictures, frame.text_x, frame.text_y, false,
                           inked);
        text = pixels.values;
        layout::paint_block_effects(pixels.target(), format, drawing, effects, pictures);
    }
    std::uint8_t alpha(int x, int y) const { return pixels.at(x, y) >> 24; }

    render::PreparedLine line;
    layout::TextEffects effects;
    layout::EffectFrame frame;
    layout::BlockDrawing drawing;
    Pixels pixels;
    std::vector<std::uint32_t> text;  // the lines alone, before the effects
};

TEST(BlockEffects, NoneLeaveTheLinesAsPainted) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    OneLineBlock block(test::line_of({fonts.run(U"Plain")}), {});
    block.paint(pictures);
    EXPECT_EQ(block.pixels.values, block.text);
}

TEST(BlockEffects, DecorationsCrossTheLineInTheBlocksColourAndItsAlphaScalesAll) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    layout::TextEffects effects;
    effects.underline = effects.strikethrough = true;
    OneLineBlock block(test::line_of({fonts.run(U"Struck", {255, 255, 255})}), effects, {0, 128, 255, 128});
    block.paint(pictures);
    const long length = block.line.total;
    for (int y = 0; y < block.pixels.height; ++y) {
        const bool underline = y == 23 + 3 || y == 23 + 4, strikethrough = y == 23 - 7 || y == 23 - 6;
        for (int x = 0; x < block.pixels.width; ++x) {
            if ((underline || strikethrough) && x < length) {
                EXPECT_EQ(block.pixels.at(x, y), 0x800080FFu) << x << ", " << y;
            } else {
                // Elsewhere the text as painted, at half its alpha.
                const std::uint32_t painted = block.text[std::size_t(y) * block.pixels.width + x];
                EXPECT_EQ(block.alpha(x, y), ((painted >> 24) * 128 + 127) / 255) << x << ", " << y;
            }
        }
    }
}

TEST(BlockEffects, AnOutlineSurroundsTheGlyphsUnderTheTextAndItsStrokesAreKept) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    layout::TextEffects effects;
    effects.outline = 2.0;
    effects.outline_colour = {255, 0, 0, 255};
    OneLineBlock block(test::line_of({fonts.run(U"l", {255, 255, 255})}), effects);
    block.paint(pictures);
    EXPECT_GT(fonts.face()->strokes.size(), 0u);
    // Along the row through the middle of the "l": outline, text, outline.
    const int row = block.frame.text_y + 15;
    std::vector<std::uint32_t> across;
    for (int x = 0; x < block.pixels.width; ++x) across.push_back(block.pixels.at(x, row));
    const auto first_text = std::find(across.begin(), across.end(), 0xFFFFFFFFu) - across.begin();
    ASSERT_LT(first_text, long(across.size()));
    EXPECT_EQ(across[first_text - 2], 0xFFFF0000u);  // past the anti-aliased edge
    EXPECT_EQ(across.front(), 0u);
    for (int x = 0; x < block.pixels.width; ++x) {
        const std::uint32_t text = block.text[std::size_t(row) * block.pixels.width + x];
        if (text >> 24 == 255) EXPECT_EQ(block.pixels.at(x, row), text);  // the text stays on top
    }

    // Drawn again from the kept strokes: the same pixels.
    OneLineBlock again(test::line_of({fonts.run(U"l", {255, 255, 255})}), effects);
    again.paint(pictures);
    EXPECT_EQ(again.pixels.values, block.pixels.values);
}

TEST(BlockEffects, PicturesAreOutlinedFromTheirAlpha) {
    test::HeldPictures pictures;
    Pixels dot(5, 42);
    dot.values[std::size_t(20) * 5 + 2] = 0xFF00FF00u;
    shaping::PreparedRun picture;
    picture.width = picture.advance = 5;
    picture.height = 42;
    picture.picture = pictures.add(std::move(dot));
    layout::TextEffects effects;
    effects.outline = 1.0;
    OneLineBlock block(test::line_of({picture}, 42), effects);
    block.paint(pictures);
    const int x = block.frame.text_x + 2, y = block.frame.text_y + 20;
    EXPECT_EQ(block.pixels.at(x, y), 0xFF00FF00u);
    for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
        EXPECT_EQ(block.pixels.at(x + dx, y + dy), 0xFF000000u) << dx << ", " << dy;
    EXPECT_EQ(block.pixels.at(x + 3, y), 0u);
}

TEST(BlockEffects, AShadowWithoutOutlineIsTheTextsCoverageMoved) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    layout::TextEffects effects;
    effects.shadow = true;
    effects.shadow_x = 3;
    effects.shadow_y = 2;
    effects.shadow_colour = {0, 0, 0, 255};
    OneLineBlock block(test::line_of({fonts.run(U"I", {255, 255, 255})}), effects, {255, 255, 255, 100});
    block.paint(pictures);
    for (int y = 0; y + 2 < block.pixels.height; ++y)
        for (int x = 0; x + 3 < block.pixels.width; ++x) {
            const std::uint32_t text = block.text[std::size_t(y) * block.pixels.width + x];
            const std::uint32_t beside = block.text[std::size_t(y + 2) * block.pixels.width + x + 3];
            // Cast by full-coverage text even in a translucent colour, where no text covers it.
            if (text >> 24 == 255 && beside == 0) EXPECT_EQ(block.pixels.at(x + 3, y + 2), 0xFF000000u);
        }
}

TEST(BlockEffects, LayersInAFormatTheyCannotBeBlendedInAreRefused) {
    test::DejaVuRuns fonts;
    if (!fonts.ready()) GTEST_SKIP() << "DejaVu Sans is not installed";
    test::HeldPictures pictures;
    constexpr shaping::PixelFormat k16Bit{{0xF800u, 0x7E0u, 0x1Fu, 0u}, {11, 5, 0, 0}, {3, 2, 3, 8}};
    layout::TextEffects effects;
    effects.outline = 1.0;
    OneLineBlock block(test::line_of({fonts.run(U"x")}), effects);
    EXPECT_THROW(
        {
            try {
                block.paint(pictures, k16Bit);
            } catch (const std::runtime_error& error) {
                EXPECT_STREQ(error.what(),
                             "cannot draw text effects: pygame's surfaces have an unexpected pixel format");
                throw;
            }
        },
        std::runtime_error);
}

}  // namespace
