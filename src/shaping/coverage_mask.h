// Coverage masks for text effects: one byte of coverage a pixel over a whole
// block, filled from glyph bitmaps, rectangles and surfaces' alpha, blurred,
// and laid onto 32-bit pixels in one colour.
#pragma once

#include <array>
#include <span>
#include <cstdint>
#include <vector>

#include "shaping/glyph_painter.h"
#include "shaping/glyph_raster.h"
#include "shaping/pixel_format.h"

namespace lumo::shaping {

struct CoverageMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;  // row after row, `width` bytes a row

    CoverageMask() = default;
    CoverageMask(int mask_width, int mask_height);
    std::uint8_t* row(int y) { return values.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* row(int y) const { return values.data() + static_cast<std::size_t>(y) * width; }
};

/// Lays a coverage bitmap (one byte a pixel, pitch = width, top row first)
/// with its top-left pixel at (x, y), keeping the larger coverage where the
/// mask already has some; pixels outside the mask are dropped.
void stamp_coverage(CoverageMask& mask, const GlyphBitmap& coverage, int x, int y);

/// Lays another mask with its top-left pixel at (x, y), keeping the larger coverage.
void stamp_mask(CoverageMask& mask, const CoverageMask& other, int x, int y);

/// Lays the alpha of `pixels` (as `alpha` reads it) with its top-left pixel
/// at (x, y), keeping the larger coverage.
void stamp_alpha(CoverageMask& mask, const PixelTarget& pixels, const AlphaChannel& alpha, int x, int y);

/// Lays the pixel rectangle [left, right) x [top, bottom) grown by `radius`
/// on every side with round corners, its edge anti-aliased as a disc
/// dilation would draw it; `radius` 0 lays the rectangle itself.
void stamp_rounded_rect(CoverageMask& mask, int left, int top, int right, int bottom, double radius);

/// How far blur_mask() spreads coverage: ceil(radius) pixels every way.
int blur_reach(double radius);

/// Blurs the mask with a Gaussian of standard deviation radius / 2, cut off
/// at blur_reach(radius), one direction after the other; coverage beyond the
/// mask's edges counts as none. A radius of 0 leaves the mask as it is.
void blur_mask(CoverageMask& mask, double radius);

/// A colour (red, green, blue, alpha), its alpha scaled by coverage.
using Rgba = std::array<std::uint8_t, 4>;

/// A mask drawn in one colour: the colour's alpha times the coverage / 255.
struct MaskLayer {
    const CoverageMask* mask = nullptr;  // the size of the pixels it is laid under; null: no layer
    Rgba colour{};
};

/// Lays `layers` (the lowest first) under `pixels`, as if each were a
/// per-pixel-alpha surface of its colour blitted by pygame onto the one
/// below (pixel_blend.h) and `pixels` blitted over them all, in one pass.
void lay_under(const PixelTarget& pixels, std::span<const MaskLayer> layers, const PixelFormat& format);

}  // namespace lumo::shaping
