// Placing one run's pixels onto a line with the blending that pygame applies
// when it blits a per-pixel-alpha surface onto another, so a line composed
// here is pixel for pixel the line pygame's blits would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "shaping/glyph_painter.h"
#include "shaping/pixel_format.h"

namespace lumo::shaping {

/// Whether `format` is one this blending handles: 32-bit with 8-bit red,
/// green, blue and alpha components.
bool blendable_format(const PixelFormat& format);

/// One pixel blended over another as blend_pixels() blends them.
std::uint32_t blend_pixel(std::uint32_t source, std::uint32_t target, const PixelFormat& format);

/// Blends the `width` x `height` pixels at `source` (rows `source_pitch`
/// pixels apart) onto `target` with their top-left corner at (x, y), clipped
/// to the target: onto a fully transparent pixel the source pixel is copied;
/// otherwise each colour c becomes ((s - d) * sa + s) / 256 + d and alpha
/// becomes sa + da - sa * da / 255, in integers.
///
/// Target columns at and right of `blank_from` must hold only zeros (nothing
/// placed there yet): there blending is copying, done a row at a time.
void blend_pixels(const PixelTarget& target, const std::uint32_t* source, int width, int height,
                  std::ptrdiff_t source_pitch, int x, int y, const PixelFormat& format,
                  int blank_from = std::numeric_limits<int>::max());

/// Multiplies the alpha of every pixel of `target` by alpha / 255 (rounded):
/// a text drawn in a translucent colour.
void scale_alpha(const PixelTarget& target, const PixelFormat& format, std::uint8_t alpha);

}  // namespace lumo::shaping
