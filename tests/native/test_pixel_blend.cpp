// Blending a run's pixels onto a line as pygame blends per-pixel-alpha blits.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shaping/pixel_blend.h"

namespace {

using lumo::shaping::blend_pixels;
using lumo::shaping::PixelFormat;
using lumo::shaping::PixelTarget;

constexpr PixelFormat kArgb{{0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {16, 8, 0, 24}, {0, 0, 0, 0}};

struct Line {
    explicit Line(int width, int height) : width(width), height(height), pixels(width * height, 0u) {}
    PixelTarget target() {
        return {reinterpret_cast<std::uint8_t*>(pixels.data()), width, height, static_cast<std::ptrdiff_t>(width) * 4};
    }
    int width, height;
    std::vector<std::uint32_t> pixels;
};

TEST(BlendPixels, OverInkFollowsPygamesFormulaAndOntoNothingCopies) {
    Line line(2, 1);
    line.pixels = {0x80FF0000u, 0u};            // half-transparent red, then nothing
    const std::uint32_t source[2] = {0x400000FFu, 0x000000FFu};  // quarter blue; blue with no alpha
    blend_pixels(line.target(), source, 2, 1, 2, 0, 0, kArgb);
    // alpha 64 + 128 - 64 * 128 / 255 = 160; red (0 - 255) * 64 + 0 >> 8 = -64, + 255 = 191; blue (255 * 64 + 255) >> 8 = 64.
    EXPECT_EQ(line.pixels[0], 0xA0BF0040u);
    EXPECT_EQ(line.pixels[1], 0x000000FFu);
}

TEST(BlendPixels, ColumnsKnownBlankAreCopiedWithTheSameResult) {
    // Two overlapping pieces: the second starts inside the first.
    std::vector<std::uint32_t> first(4 * 3), second(4 * 3);
    for (std::size_t i = 0; i < first.size(); ++i) {
        first[i] = (static_cast<std::uint32_t>(i * 37 % 256) << 24) | 0x00204060u;
        second[i] = (static_cast<std::uint32_t>(i * 91 % 256) << 24) | 0x00C08010u;
    }
    Line blended(7, 3), copied(7, 3);
    blend_pixels(blended.target(), first.data(), 4, 3, 4, 0, 0, kArgb);
    blend_pixels(blended.target(), second.data(), 4, 3, 4, 3, 0, kArgb);
    blend_pixels(copied.target(), first.data(), 4, 3, 4, 0, 0, kArgb, 0);
    blend_pixels(copied.target(), second.data(), 4, 3, 4, 3, 0, kArgb, 4);
    EXPECT_EQ(copied.pixels, blended.pixels);
}

TEST(BlendPixels, PiecesFarOutsideTheLineChangeNothing) {
    Line line(3, 2);
    const std::vector<std::uint32_t> source(3 * 2, 0xFFFFFFFFu);
    blend_pixels(line.target(), source.data(), 3, 2, 3, -(1 << 30), 0, kArgb, 1 << 30);
    blend_pixels(line.target(), source.data(), 3, 2, 3, 1 << 30, 0, kArgb, -(1 << 30));
    EXPECT_EQ(line.pixels, std::vector<std::uint32_t>(3 * 2, 0u));
}

TEST(ScaleAlpha, ScalesInkAndLeavesColourAndEmptyPixelsAlone) {
    Line line(3, 1);
    line.pixels = {0xFF102030u, 0x80FFFFFFu, 0x00ABCDEFu};
    lumo::shaping::scale_alpha(line.target(), kArgb, 128);
    EXPECT_EQ(line.pixels, (std::vector<std::uint32_t>{0x80102030u, 0x40FFFFFFu, 0x00ABCDEFu}));
    lumo::shaping::scale_alpha(line.target(), kArgb, 255);  // opaque colour: unchanged
    EXPECT_EQ(line.pixels[0], 0x80102030u);
}

}  // namespace

