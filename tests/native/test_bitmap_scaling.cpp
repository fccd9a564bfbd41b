// Resizing colour glyph bitmaps: area-averaged shrinking, bilinear enlarging,
// premultiplied values, scaled bearings, and refusal of what cannot be read.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "shaping/bitmap_scaling.h"

namespace {

using lumo::shaping::GlyphBitmap;
using lumo::shaping::scale_colour_bitmap;
using Pixel = std::array<std::uint8_t, 4>;  // B, G, R, A, premultiplied

GlyphBitmap colour_bitmap(int width, int rows, const std::vector<Pixel>& pixels, int left = 0, int top = 0) {
    GlyphBitmap bitmap;
    bitmap.colour = true;
    bitmap.width = width;
    bitmap.rows = rows;
    bitmap.pitch = width * 4;
    bitmap.left = left;
    bitmap.top = top;
    for (const Pixel& pixel : pixels) bitmap.bytes.insert(bitmap.bytes.end(), pixel.begin(), pixel.end());
    return bitmap;
}

Pixel pixel_at(const GlyphBitmap& bitmap, int x, int y) {
    const std::uint8_t* at = bitmap.bytes.data() + (static_cast<std::size_t>(y) * bitmap.pitch + x * 4);
    return {at[0], at[1], at[2], at[3]};
}

constexpr Pixel kRed{0, 0, 255, 255};
constexpr Pixel kClear{0, 0, 0, 0};

TEST(ColourBitmapScaling, HalvingAveragesEachTwoByTwoBlock) {
    // Left half red, right half clear: the shrunk left column stays red, the right clear.
    const GlyphBitmap source = colour_bitmap(4, 2, {kRed, kRed, kClear, kClear, kRed, kRed, kClear, kClear}, 8, 6);
    const GlyphBitmap half = scale_colour_bitmap(source, 0.5);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.rows, 1);
    EXPECT_EQ(pixel_at(half, 0, 0), kRed);
    EXPECT_EQ(pixel_at(half, 1, 0), kClear);
    EXPECT_EQ(half.left, 4);
    EXPECT_EQ(half.top, 3);
    EXPECT_TRUE(half.colour);
}

TEST(ColourBitmapScaling, AnEdgeShrinksToHalfCoverageWithoutDarkening) {
    // Premultiplied averaging: red half over clear gives half-transparent full red, not dark red.
    const GlyphBitmap source = colour_bitmap(2, 1, {kRed, kClear});
    const GlyphBitmap one = scale_colour_bitmap(source, 0.5);
    ASSERT_EQ(one.width, 1);
    const Pixel mixed = pixel_at(one, 0, 0);
    EXPECT_EQ(mixed[3], 128);
    EXPECT_EQ(mixed[2], 128);  // premultiplied red equals alpha: full red once divided
}

TEST(ColourBitmapScaling, EnlargingInterpolatesBetweenPixels) {
    const GlyphBitmap source = colour_bitmap(2, 1, {kRed, kClear});
    const GlyphBitmap doubled = scale_colour_bitmap(source, 2.0);
    ASSERT_EQ(doubled.width, 4);
    ASSERT_EQ(doubled.rows, 2);
    EXPECT_EQ(pixel_at(doubled, 0, 0), kRed);
    EXPECT_EQ(pixel_at(doubled, 3, 1), kClear);
    const Pixel between = pixel_at(doubled, 1, 0);
    EXPECT_GT(between[3], 128);
    EXPECT_LT(between[3], 255);
}

TEST(ColourBitmapScaling, ARowsFirstBitmapStoredUpsideDownReadsTheSame) {
    GlyphBitmap source = colour_bitmap(1, 2, {kClear, kRed});
    source.pitch = -4;  // stored bottom row first: the top row is red
    const GlyphBitmap same = scale_colour_bitmap(source, 1.0);
    EXPECT_EQ(pixel_at(same, 0, 0), kRed);
    EXPECT_EQ(pixel_at(same, 0, 1), kClear);
}

TEST(ColourBitmapScaling, StraightAlphaDividesOutTheCoverage) {
    GlyphBitmap bitmap = colour_bitmap(3, 1, {{0, 0, 128, 128}, kRed, kClear});
    lumo::shaping::to_straight_alpha(bitmap);
    EXPECT_EQ(pixel_at(bitmap, 0, 0), (Pixel{0, 0, 255, 128}));
    EXPECT_EQ(pixel_at(bitmap, 1, 0), kRed);
    EXPECT_EQ(pixel_at(bitmap, 2, 0), kClear);
}

TEST(ColourBitmapScaling, WhatCannotBeReadOrGrowsTooLargeComesBackEmpty) {
    GlyphBitmap short_bytes = colour_bitmap(2, 2, {kRed});
    EXPECT_EQ(scale_colour_bitmap(short_bytes, 0.5).width, 0);
    GlyphBitmap coverage = colour_bitmap(1, 1, {kRed});
    coverage.colour = false;
    EXPECT_EQ(scale_colour_bitmap(coverage, 0.5).width, 0);
    const GlyphBitmap one = colour_bitmap(1, 1, {kRed});
    EXPECT_EQ(scale_colour_bitmap(one, 0.0).width, 0);
    EXPECT_EQ(scale_colour_bitmap(one, 1e9).width, 0);
}

}  // namespace
