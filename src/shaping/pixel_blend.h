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

/// One pixel blended over another as blend_pixels() blends them, for a
/// blendable_format() whose alpha is at `alpha_shift` (each channel one
/// byte): inline, for loops that blend pixel by pixel.
template <int alpha_shift>
inline std::uint32_t blend_pixel_at(std::uint32_t source, std::uint32_t target) {
    const std::uint32_t target_alpha = (target >> alpha_shift) & 0xFFu;
    if (target_alpha == 0) return source;
    const auto source_alpha = static_cast<std::int32_t>((source >> alpha_shift) & 0xFFu);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        if (shift == alpha_shift) continue;
        const auto from = static_cast<std::int32_t>((source >> shift) & 0xFFu);
        const auto onto = static_cast<std::int32_t>((target >> shift) & 0xFFu);
        result |= (static_cast<std::uint32_t>((((from - onto) * source_alpha + from) >> 8) + onto) & 0xFFu) << shift;
    }
    const std::uint32_t alpha = static_cast<std::uint32_t>(source_alpha) + target_alpha -
                                static_cast<std::uint32_t>(source_alpha) * target_alpha / 255;
    return result | ((alpha & 0xFFu) << alpha_shift);
}

inline std::uint32_t blend_pixel(std::uint32_t source, std::uint32_t target, const PixelFormat& format) {
    switch (format.shifts[3]) {
    case 0: return blend_pixel_at<0>(source, target);
    case 8: return blend_pixel_at<8>(source, target);
    case 16: return blend_pixel_at<16>(source, target);
    default: return blend_pixel_at<24>(source, target);
    }
}

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
