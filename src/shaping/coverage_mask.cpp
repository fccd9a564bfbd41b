// Coverage masks for text effects: stamping, blurring and colouring.
#include "shaping/coverage_mask.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "shaping/pixel_blend.h"

namespace lumo::shaping {
namespace {

/// The colour at every coverage: its alpha scaled by coverage / 255, rounded;
/// no pixel at all where that leaves no alpha.
ColorTable scaled_table(const PixelFormat& format, const Rgba& colour) {
    ColorTable table{};
    for (int coverage = 0; coverage < 256; ++coverage) {
        const auto alpha = static_cast<std::uint8_t>((coverage * colour[3] + 127) / 255);
        table[coverage] = alpha == 0 ? 0u : map_rgba(format, colour[0], colour[1], colour[2], alpha);
    }
    return table;
}

/// Normalised Gaussian weights in 1/65536 for offsets -reach..reach.
std::vector<std::uint32_t> gaussian_weights(double radius, int reach) {
    const double sigma = radius / 2.0;
    std::vector<double> exact(static_cast<std::size_t>(2 * reach + 1));
    double total = 0.0;
    for (int offset = -reach; offset <= reach; ++offset) {
        const double weight = std::exp(-(offset * offset) / (2.0 * sigma * sigma));
        exact[static_cast<std::size_t>(offset + reach)] = weight;
        total += weight;
    }
    std::vector<std::uint32_t> weights(exact.size());
    for (std::size_t i = 0; i < exact.size(); ++i)
        weights[i] = static_cast<std::uint32_t>(exact[i] / total * 65536.0 + 0.5);
    return weights;
}

/// Adds `weight` times `from` (`count` values) into `sums`, `shift` places
/// along: sums[i] += weight * from[i + shift] where that is inside.
void add_weighted(std::uint32_t* sums, const std::uint8_t* from, int count, int shift, std::uint32_t weight) {
    const int first = std::max(0, -shift), end = std::min(count, count - shift);
    for (int i = first; i < end; ++i) sums[i] += weight * from[i + shift];
}

/// Coverage from weighted sums in 1/65536, rounded.
void store_sums(const std::uint32_t* sums, std::uint8_t* to, int count) {
    for (int i = 0; i < count; ++i) to[i] = static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (sums[i] + 32768) >> 16));
}
}  // namespace

CoverageMask::CoverageMask(int mask_width, int mask_height)
    : width(std::max(0, mask_width)), height(std::max(0, mask_height)),
      values(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

void stamp_coverage(CoverageMask& mask, const GlyphBitmap& coverage, int x, int y) {
    if (coverage.width <= 0 || coverage.rows <= 0 ||
        coverage.bytes.size() < static_cast<std::size_t>(coverage.width) * coverage.rows)
        return;
    const int first_column = std::max(0, -x), end_column = std::min(coverage.width, mask.width - x);
    const int first_row = std::max(0, -y), end_row = std::min(coverage.rows, mask.height - y);
    for (int row = first_row; row < end_row; ++row) {
        const std::uint8_t* from = coverage.bytes.data() + static_cast<std::size_t>(row) * coverage.width;
        std::uint8_t* to = mask.row(row + y) + x;
        for (int column = first_column; column < end_column; ++column) to[column] = std::max(to[column], from[column]);
    }
}

void stamp_mask(CoverageMask& mask, const CoverageMask& other, int x, int y) {
    const int first_column = std::max(0, -x), end_column = std::min(other.width, mask.width - x);
    const int first_row = std::max(0, -y), end_row = std::min(other.height, mask.height - y);
    for (int row = first_row; row < end_row; ++row) {
        const std::uint8_t* from = other.row(row);
        std::uint8_t* to = mask.row(row + y) + x;
        for (int column = first_column; column < end_column; ++column) to[column] = std::max(to[column], from[column]);
    }
}

void stamp_alpha(CoverageMask& mask, const PixelTarget& pixels, const AlphaChannel& alpha, int x, int y) {
    const int first_column = std::max(0, -x), end_column = std::min(pixels.width, mask.width - x);
    const int first_row = std::max(0, -y), end_row = std::min(pixels.height, mask.height - y);
    for (int row = first_row; row < end_row; ++row) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(pixels.pixels + row * pixels.pitch_bytes);
        std::uint8_t* to = mask.row(row + y) + x;
        for (int column = first_column; column < end_column; ++column)
            to[column] = std::max(to[column], alpha.of(from[column]));
    }
}

void stamp_rounded_rect(CoverageMask& mask, int left, int top, int right, int bottom, double radius) {
    if (left >= right || top >= bottom) return;
    const int reach = static_cast<int>(std::ceil(std::max(0.0, radius)));
    const int first_row = std::max(0, top - reach), end_row = std::min(mask.height, bottom + reach);
    const int first_column = std::max(0, left - reach), end_column = std::min(mask.width, right + reach);
    for (int y = first_row; y < end_row; ++y) {
        // Distance from the pixel's centre to the rectangle's edge, one axis at a time.
        const double dy = y < top ? top - y - 0.5 : y >= bottom ? y - bottom + 0.5 : 0;
        std::uint8_t* to = mask.row(y);
        for (int x = first_column; x < end_column; ++x) {
            const double dx = x < left ? left - x - 0.5 : x >= right ? x - right + 0.5 : 0;
            const bool inside = dx == 0 && dy == 0;
            const double weight = inside ? 1.0 : std::clamp(radius + 0.5 - std::hypot(dx, dy), 0.0, 1.0);
            to[x] = std::max(to[x], static_cast<std::uint8_t>(weight * 255.0 + 0.5));
        }
    }
}

int blur_reach(double radius) { return radius > 0.0 ? static_cast<int>(std::ceil(radius)) : 0; }

void blur_mask(CoverageMask& mask, double radius) {
    const int reach = blur_reach(radius);
    if (reach == 0 || mask.values.empty()) return;
    const std::vector<std::uint32_t> weights = gaussian_weights(radius, reach);
    // Row by row in both directions, so that each pass runs along memory.
    std::vector<std::uint8_t> across(mask.values.size());
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(mask.width));
    for (int y = 0; y < mask.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int offset = -reach; offset <= reach; ++offset)
            add_weighted(sums.data(), mask.row(y), mask.width, offset, weights[static_cast<std::size_t>(offset + reach)]);
        store_sums(sums.data(), across.data() + static_cast<std::size_t>(y) * mask.width, mask.width);
    }
    for (int y = 0; y < mask.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int offset = -reach; offset <= reach; ++offset) {
            const int from_row = y + offset;
            if (from_row < 0 || from_row >= mask.height) continue;
            add_weighted(sums.data(), across.data() + static_cast<std::size_t>(from_row) * mask.width, mask.width, 0,
                         weights[static_cast<std::size_t>(offset + reach)]);
        }
        store_sums(sums.data(), mask.row(y), mask.width);
    }
}

namespace {

struct LayerTable {
    const CoverageMask* mask;
    ColorTable table;
};

/// The pixel of the layers at column x of their rows: the lowest layer's,
/// then each one above blended over it (entry 0 of a table is no pixel at all).
template <int alpha_shift>
std::uint32_t layers_at(const std::vector<LayerTable>& layers, const std::uint8_t* const* coverage_rows, int x) {
    std::uint32_t below = layers[0].table[coverage_rows[0][x]];
    for (std::size_t i = 1; i < layers.size(); ++i) {
        const std::uint32_t layer_pixel = layers[i].table[coverage_rows[i][x]];
        if (layer_pixel != 0) below = below == 0 ? layer_pixel : blend_pixel_at<alpha_shift>(layer_pixel, below);
    }
    return below;
}

/// One row's pixels over the layers' pixels `below` (0: none there).
template <int alpha_shift>
inline std::uint32_t over(std::uint32_t above, std::uint32_t below) {
    constexpr std::uint32_t opaque = 0xFFu << alpha_shift;
    // Nothing above: the layers show; opaque above: they are hidden (the
    // blend gives the pixel back exactly). Only the edges of the text blend.
    const std::uint32_t shown = above == 0 ? below : above;
    if (above != 0 && below != 0 && (above & opaque) != opaque) return blend_pixel_at<alpha_shift>(above, below);
    return shown;
}

template <int alpha_shift>
void lay_under_rows(const PixelTarget& pixels, const std::vector<LayerTable>& layers) {
    std::vector<const std::uint8_t*> coverage_rows(layers.size());
    for (int y = 0; y < pixels.height; ++y) {
        // Restrict-qualified copies: the stores into the row cannot change
        // the tables or the masks, so nothing is read again per pixel.
        std::uint32_t* __restrict row = reinterpret_cast<std::uint32_t*>(pixels.pixels + y * pixels.pitch_bytes);
        const int width = pixels.width;
        if (layers.size() == 1) {
            const std::uint32_t* __restrict table = layers[0].table.data();
            const std::uint8_t* __restrict coverage = layers[0].mask->row(y);
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                // Eight uncovered pixels stay as they are (much of a line, around its words).
                std::uint64_t eight;
                std::memcpy(&eight, coverage + x, 8);
                if (eight == 0) continue;
                for (int i = x; i < x + 8; ++i) row[i] = over<alpha_shift>(row[i], table[coverage[i]]);
            }
            for (; x < width; ++x) row[x] = over<alpha_shift>(row[x], table[coverage[x]]);
            continue;
        }
        for (std::size_t i = 0; i < layers.size(); ++i) coverage_rows[i] = layers[i].mask->row(y);
        for (int x = 0; x < width; ++x)
            row[x] = over<alpha_shift>(row[x], layers_at<alpha_shift>(layers, coverage_rows.data(), x));
    }
}

}  // namespace

void lay_under(const PixelTarget& pixels, std::span<const MaskLayer> layers, const PixelFormat& format) {
    std::vector<LayerTable> drawn;
    for (const MaskLayer& layer : layers) {
        if (layer.mask == nullptr || layer.colour[3] == 0 || layer.mask->width < pixels.width ||
            layer.mask->height < pixels.height)
            continue;
        drawn.push_back({layer.mask, scaled_table(format, layer.colour)});
    }
    if (drawn.empty()) return;
    // Each channel is a byte (blendable_format()); where alpha is decides the arithmetic.
    switch (format.shifts[3]) {
    case 0: lay_under_rows<0>(pixels, drawn); break;
    case 8: lay_under_rows<8>(pixels, drawn); break;
    case 16: lay_under_rows<16>(pixels, drawn); break;
    default: lay_under_rows<24>(pixels, drawn); break;
    }
}

}  // namespace lumo::shaping
