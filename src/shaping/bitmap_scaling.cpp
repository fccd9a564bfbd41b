// Area-average shrinking and bilinear enlarging of premultiplied BGRA bitmaps.
// Written here rather than taken from a library: FreeType leaves bitmap strikes
// at their stored size, and the engine needs only this one resampling, done
// once per glyph and size (the results are cached with the other glyphs).
#include "shaping/bitmap_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/limits.h"

namespace lumo::shaping {
namespace {

constexpr int kChannels = 4;

/// One stored row of `source`, top row first whatever the sign of its pitch.
const std::uint8_t* row_of(const GlyphBitmap& source, int y) {
    const std::size_t abs_pitch = static_cast<std::size_t>(std::abs(source.pitch));
    const int stored = source.pitch >= 0 ? y : source.rows - 1 - y;
    return source.bytes.data() + static_cast<std::size_t>(stored) * abs_pitch;
}

/// Weights of the source columns (or rows) that one target column covers
/// when shrinking: [first, last] with partial weights at both ends.
struct Span {
    int first = 0;
    int last = 0;
    double first_weight = 0.0;
    double last_weight = 0.0;
};

Span covered(int target, double scale, int source_size) {
    const double from = target / scale, to = (target + 1) / scale;
    Span span;
    span.first = std::clamp(static_cast<int>(std::floor(from)), 0, source_size - 1);
    span.last = std::clamp(static_cast<int>(std::ceil(to)) - 1, span.first, source_size - 1);
    span.first_weight = std::min(to, span.first + 1.0) - std::max(from, static_cast<double>(span.first));
    span.last_weight = span.last == span.first ? span.first_weight
                                               : std::min(to, span.last + 1.0) - static_cast<double>(span.last);
    return span;
}

double weight_of(const Span& span, int index) {
    if (index == span.first) return span.first_weight;
    if (index == span.last) return span.last_weight;
    return 1.0;
}

void shrink(const GlyphBitmap& source, double scale, GlyphBitmap& out) {
    for (int y = 0; y < out.rows; ++y) {
        const Span rows = covered(y, scale, source.rows);
        for (int x = 0; x < out.width; ++x) {
            const Span columns = covered(x, scale, source.width);
            double sum[kChannels] = {0, 0, 0, 0};
            double area = 0.0;
            for (int sy = rows.first; sy <= rows.last; ++sy) {
                const double row_weight = weight_of(rows, sy);
                const std::uint8_t* line = row_of(source, sy);
                for (int sx = columns.first; sx <= columns.last; ++sx) {
                    const double weight = row_weight * weight_of(columns, sx);
                    for (int c = 0; c < kChannels; ++c) sum[c] += weight * line[sx * kChannels + c];
                    area += weight;
                }
            }
            std::uint8_t* pixel = out.bytes.data() + (static_cast<std::size_t>(y) * out.width + x) * kChannels;
            for (int c = 0; c < kChannels; ++c)
                pixel[c] = static_cast<std::uint8_t>(std::clamp(sum[c] / area + 0.5, 0.0, 255.0));
        }
    }
}

void enlarge(const GlyphBitmap& source, double scale, GlyphBitmap& out) {
    for (int y = 0; y < out.rows; ++y) {
        const double sy = std::clamp((y + 0.5) / scale - 0.5, 0.0, source.rows - 1.0);
        const int y0 = static_cast<int>(sy), y1 = std::min(y0 + 1, source.rows - 1);
        const double fy = sy - y0;
        const std::uint8_t* top = row_of(source, y0);
        const std::uint8_t* bottom = row_of(source, y1);
        for (int x = 0; x < out.width; ++x) {
            const double sx = std::clamp((x + 0.5) / scale - 0.5, 0.0, source.width - 1.0);
            const int x0 = static_cast<int>(sx), x1 = std::min(x0 + 1, source.width - 1);
            const double fx = sx - x0;
            std::uint8_t* pixel = out.bytes.data() + (static_cast<std::size_t>(y) * out.width + x) * kChannels;
            for (int c = 0; c < kChannels; ++c) {
                const double upper = top[x0 * kChannels + c] * (1 - fx) + top[x1 * kChannels + c] * fx;
                const double lower = bottom[x0 * kChannels + c] * (1 - fx) + bottom[x1 * kChannels + c] * fx;
                pixel[c] = static_cast<std::uint8_t>(std::clamp(upper * (1 - fy) + lower * fy + 0.5, 0.0, 255.0));
            }
        }
    }
}

}  // namespace

void to_straight_alpha(GlyphBitmap& bitmap) {
    if (!bitmap.colour) return;
    for (std::size_t at = 0; at + kChannels <= bitmap.bytes.size(); at += kChannels) {
        const unsigned alpha = bitmap.bytes[at + 3];
        if (alpha == 0 || alpha == 255) continue;
        for (int c = 0; c < 3; ++c)
            bitmap.bytes[at + c] = static_cast<std::uint8_t>(std::min(255u, (bitmap.bytes[at + c] * 255u + alpha / 2) / alpha));
    }
}

GlyphBitmap scale_colour_bitmap(const GlyphBitmap& source, double scale) {
    GlyphBitmap out;
    out.colour = true;
    out.left = static_cast<int>(std::lround(source.left * scale));
    out.top = static_cast<int>(std::lround(source.top * scale));
    const bool readable = source.colour && source.width > 0 && source.rows > 0 &&
                          static_cast<std::size_t>(std::abs(source.pitch)) >= static_cast<std::size_t>(source.width) * kChannels &&
                          source.bytes.size() >= static_cast<std::size_t>(std::abs(source.pitch)) * source.rows;
    if (!readable || !(scale > 0.0) || !std::isfinite(scale)) return out;
    const double width = std::max(1.0, std::round(source.width * scale));
    const double rows = std::max(1.0, std::round(source.rows * scale));
    if (width * rows > static_cast<double>(kMaxGlyphBitmapPixels)) return out;
    out.width = static_cast<int>(width);
    out.rows = static_cast<int>(rows);
    out.pitch = out.width * kChannels;
    out.bytes.assign(static_cast<std::size_t>(out.pitch) * out.rows, 0);
    if (scale < 1.0)
        shrink(source, scale, out);
    else
        enlarge(source, scale, out);
    return out;
}

}  // namespace lumo::shaping
