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
    const std::uint64_t source_alpha = (source >> alpha_shift) & 0xFFu;
    // The three colour bytes, each in a 21-bit lane of one 64-bit value, all
    // blended at once: per lane ((s - d) * sa + s) >> 8, plus d, computed as
    // (s * (sa + 1) + 65536 - d * sa) >> 8, plus d, minus 256, which never
    // goes below 0 and so never borrows from the next lane.
    constexpr int kColourShifts[3] = {alpha_shift == 0 ? 8 : 0, alpha_shift <= 8 ? 16 : 8, alpha_shift <= 16 ? 24 : 16};
    constexpr std::uint64_t kBias = (std::uint64_t{65536} << 42) | (std::uint64_t{65536} << 21) | 65536;
    constexpr std::uint64_t kLane = (std::uint64_t{0x1FFF} << 42) | (std::uint64_t{0x1FFF} << 21) | 0x1FFF;
    std::uint64_t from = 0, onto = 0;
    for (int lane = 0; lane < 3; ++lane) {
        from |= static_cast<std::uint64_t>((source >> kColourShifts[lane]) & 0xFFu) << (21 * lane);
        onto |= static_cast<std::uint64_t>((target >> kColourShifts[lane]) & 0xFFu) << (21 * lane);
    }
    const std::uint64_t mixed = (((from * (source_alpha + 1) + kBias - onto * source_alpha) >> 8) & kLane) + onto;
    std::uint32_t result = 0;
    for (int lane = 0; lane < 3; ++lane)
        result |= ((static_cast<std::uint32_t>(mixed >> (21 * lane)) - 256u) & 0xFFu) << kColourShifts[lane];
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
