// A surface's 32-bit pixel encoding as SDL describes it, and the encoding of
// one colour at every alpha, which painting uses as its lookup table.
#pragma once

#include <array>
#include <cstdint>

namespace lumo::shaping {

/// Channel masks, shifts and losses in the order red, green, blue, alpha, as
/// SDL reports them (pygame's get_masks(), get_shifts(), get_losses()).
struct PixelFormat {
    std::uint32_t masks[4] = {};
    std::uint8_t shifts[4] = {};
    std::uint8_t losses[4] = {};
};

/// Pixel value for entry `alpha`: the run colour at that coverage.
using ColorTable = std::array<std::uint32_t, 256>;

/// Where a format keeps alpha, to read it back from a pixel. A format without
/// alpha (mask 0) reads as fully transparent.
struct AlphaChannel {
    std::uint32_t mask = 0;
    std::uint8_t shift = 0;
    std::uint8_t loss = 0;

    std::uint8_t of(std::uint32_t pixel) const noexcept {
        if (mask == 0 || shift >= 32 || loss >= 8) return 0;
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) << loss);
    }
};

/// Whether two formats put the channels in the same bits: pixels of one are
/// pixels of the other.
bool same_masks(const PixelFormat& a, const PixelFormat& b);

/// The alpha channel of `format`.
AlphaChannel alpha_channel(const PixelFormat& format);

/// The pixel value SDL_MapRGBA gives for a palette-free format (what pygame's
/// Surface.map_rgb((r, g, b, a)) returns): each channel loses its low bits and
/// moves to its shift; alpha is also masked, so formats without alpha ignore it.
std::uint32_t map_rgba(const PixelFormat& format, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                       std::uint8_t alpha);

/// The channels of a pixel value, red, green, blue, alpha: what map_rgba
/// stored, with the bits a channel lost there as zeros.
std::array<std::uint8_t, 4> unmap_rgba(const PixelFormat& format, std::uint32_t pixel);

/// map_rgba of one colour for every alpha 0..255.
ColorTable color_table(const PixelFormat& format, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

/// The one PixelFormat kept for a set of channel masks (surfaces of one
/// format share it, and painting compares formats by address): the kept one
/// when these masks were seen before, else `read()`'s answer, kept from now
/// on. Kept formats stay where they are for the process's life.
template <class Read>
const PixelFormat& known_pixel_format(const std::uint32_t (&masks)[4], Read&& read);

/// color_table(), kept for the few formats and colours lines keep using;
/// valid until the next call.
const ColorTable& kept_color_table(const PixelFormat& format, const std::array<std::uint8_t, 3>& rgb);

namespace detail {
const PixelFormat* find_kept_format(const std::uint32_t (&masks)[4]);
const PixelFormat& keep_format(const PixelFormat& format);
}  // namespace detail

template <class Read>
const PixelFormat& known_pixel_format(const std::uint32_t (&masks)[4], Read&& read) {
    if (const PixelFormat* kept = detail::find_kept_format(masks)) return *kept;
    return detail::keep_format(read());
}

}  // namespace lumo::shaping
