// Colour encoding for 32-bit surfaces, matching SDL's own mapping bit for bit.
#include "shaping/pixel_format.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <tuple>

namespace lumo::shaping {
namespace {

/// One channel placed into a pixel. Losses of 8 or more drop the channel, as
/// SDL's do for a channel the format lacks; shifts past the pixel drop it too
/// (a hostile format must not make us shift by 32).
std::uint32_t place_channel(std::uint8_t value, std::uint8_t loss, std::uint8_t shift) {
    if (loss >= 8 || shift >= 32) return 0;
    return static_cast<std::uint32_t>(value >> loss) << shift;
}

}  // namespace

std::uint32_t map_rgba(const PixelFormat& format, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                       std::uint8_t alpha) {
    return place_channel(red, format.losses[0], format.shifts[0]) |
           place_channel(green, format.losses[1], format.shifts[1]) |
           place_channel(blue, format.losses[2], format.shifts[2]) |
           (place_channel(alpha, format.losses[3], format.shifts[3]) & format.masks[3]);
}

std::array<std::uint8_t, 4> unmap_rgba(const PixelFormat& format, std::uint32_t pixel) {
    std::array<std::uint8_t, 4> channels{};
    for (int c = 0; c < 4; ++c) {
        if (format.masks[c] == 0 || format.shifts[c] >= 32 || format.losses[c] >= 8) continue;
        channels[c] = static_cast<std::uint8_t>(((pixel & format.masks[c]) >> format.shifts[c]) << format.losses[c]);
    }
    return channels;
}

AlphaChannel alpha_channel(const PixelFormat& format) {
    return {format.masks[3], format.shifts[3], format.losses[3]};
}

ColorTable color_table(const PixelFormat& format, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    ColorTable table{};
    for (unsigned alpha = 0; alpha < table.size(); ++alpha)
        table[alpha] = map_rgba(format, red, green, blue, static_cast<std::uint8_t>(alpha));
    return table;
}

namespace detail {
namespace {

using MaskKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

std::map<MaskKey, PixelFormat>& kept_formats() {
    static std::map<MaskKey, PixelFormat> formats;
    return formats;
}

}  // namespace

const PixelFormat* find_kept_format(const std::uint32_t (&masks)[4]) {
    auto found = kept_formats().find({masks[0], masks[1], masks[2], masks[3]});
    return found == kept_formats().end() ? nullptr : &found->second;
}

const PixelFormat& keep_format(const PixelFormat& format) {
    const MaskKey key{format.masks[0], format.masks[1], format.masks[2], format.masks[3]};
    return kept_formats().try_emplace(key, format).first->second;
}

}  // namespace detail

bool same_masks(const PixelFormat& a, const PixelFormat& b) {
    return std::equal(std::begin(a.masks), std::end(a.masks), std::begin(b.masks));
}

const ColorTable& kept_color_table(const PixelFormat& format, const std::array<std::uint8_t, 3>& rgb) {
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    static std::map<Key, ColorTable> tables;
    constexpr std::size_t kMaxTables = 64;
    Key key{format.masks[0], format.masks[1], format.masks[2], format.masks[3],
            (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2]};
    auto found = tables.find(key);
    if (found != tables.end()) return found->second;
    if (tables.size() >= kMaxTables) tables.clear();
    return tables.emplace(key, color_table(format, rgb[0], rgb[1], rgb[2])).first->second;
}

}  // namespace lumo::shaping
