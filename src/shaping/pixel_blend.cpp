// Placing one run's pixels onto a line with pygame's per-pixel-alpha blend.
#include "shaping/pixel_blend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace lumo::shaping {

bool blendable_format(const PixelFormat& format) {
    for (int i = 0; i < 4; ++i) {
        if (format.losses[i] != 0 || format.shifts[i] > 24 || format.shifts[i] % 8 != 0) return false;
        if (format.masks[i] != (0xFFu << format.shifts[i])) return false;
    }
    return true;
}

namespace {

inline std::uint32_t component(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

inline std::uint32_t blend_component(std::int32_t source, std::int32_t target, std::int32_t source_alpha) {
    return static_cast<std::uint32_t>((((source - target) * source_alpha + source) >> 8) + target) & 0xFFu;
}

inline std::uint32_t blend(std::uint32_t source, std::uint32_t target, const PixelFormat& format) {
    const int alpha_shift = format.shifts[3];
    const std::uint32_t target_alpha = component(target, alpha_shift);
    if (target_alpha == 0) return source;
    const auto source_alpha = static_cast<std::int32_t>(component(source, alpha_shift));
    std::uint32_t result = 0;
    for (int i = 0; i < 3; ++i) {
        const int shift = format.shifts[i];
        result |= blend_component(static_cast<std::int32_t>(component(source, shift)),
                                  static_cast<std::int32_t>(component(target, shift)), source_alpha)
                  << shift;
    }
    const std::uint32_t alpha =
        static_cast<std::uint32_t>(source_alpha) + target_alpha - static_cast<std::uint32_t>(source_alpha) * target_alpha / 255;
    return result | ((alpha & 0xFFu) << alpha_shift);
}

}  // namespace

void blend_pixels(const PixelTarget& target, const std::uint32_t* source, int width, int height,
                  std::ptrdiff_t source_pitch, int x, int y, const PixelFormat& format, int blank_from) {
    const int first_column = std::max(0, -x), last_column = std::min(width, target.width - x);
    const int first_row = std::max(0, -y), last_row = std::min(height, target.height - y);
    if (first_column >= last_column) return;
    // Source columns from here on land on blank pixels (in 64 bits: x may be far out).
    const int copied_from = static_cast<int>(
        std::clamp(static_cast<std::int64_t>(blank_from) - x, std::int64_t{first_column}, std::int64_t{last_column}));
    const std::uint32_t alpha_mask = 0xFFu << format.shifts[3];
    for (int row = first_row; row < last_row; ++row) {
        const std::uint32_t* from = source + row * source_pitch;
        auto* to = reinterpret_cast<std::uint32_t*>(target.pixels + (row + y) * target.pitch_bytes) + x;
        if (copied_from < last_column)
            std::memcpy(to + copied_from, from + copied_from,
                        static_cast<std::size_t>(last_column - copied_from) * sizeof(std::uint32_t));
        for (int column = first_column; column < copied_from; ++column) {
            const std::uint32_t pixel = from[column];
            std::uint32_t& destination = to[column];
            // Nothing onto nothing: the most common case of a line's empty space.
            if ((pixel | destination) == 0) continue;
            // Nothing at all onto ink leaves the ink as it is (the blend adds 0 >> 8).
            if (pixel == 0 && (destination & alpha_mask) != 0) continue;
            destination = blend(pixel, destination, format);
        }
    }
}

void scale_alpha(const PixelTarget& target, const PixelFormat& format, std::uint8_t alpha) {
    if (alpha == 255 || target.pixels == nullptr) return;
    for (int row = 0; row < target.height; ++row) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(target.pixels + row * target.pitch_bytes);
        for (int column = 0; column < target.width; ++column) {
            const auto [r, g, b, a] = unmap_rgba(format, pixels[column]);
            if (a == 0) continue;
            pixels[column] = map_rgba(format, r, g, b, static_cast<std::uint8_t>((a * alpha + 127) / 255));
        }
    }
}

}  // namespace lumo::shaping
