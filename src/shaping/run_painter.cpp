// Painting a laid-out run, from a strip of coverage once it comes again.
#include "shaping/run_painter.h"

#include <algorithm>
#include <cmath>

#include "shaping/pixel_rounding.h"

namespace lumo::shaping {
namespace {

// A run is given a strip when it is painted for the second time (a word that
// comes again), and only a strip of at most this many pixels: strips live as
// long as their layouts in the face's run cache.
constexpr std::uint32_t kPaintsBeforeStrip = 2;
constexpr std::int64_t kMaxStripPixels = 16384;

/// A 32-bit format with an 8-bit alpha channel on top, for painting coverage.
constexpr PixelFormat kCoverageFormat{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {0, 0, 0, 0}};

}  // namespace

std::shared_ptr<const CoverageStrip> make_coverage_strip(const RunLayout& layout, bool anti_aliased) {
    // The lowest baseline at which every glyph's top row lands at or below
    // row 0, where rounding moves rows by exactly what the baseline moves.
    double highest = 0.0;
    bool any = false;
    for (const PlacedGlyph& glyph : layout.glyphs) {
        if (!glyph.bitmap || glyph.bitmap->width <= 0 || glyph.bitmap->rows <= 0) continue;
        if (glyph.bitmap->colour) return nullptr;
        highest = std::max(highest, static_cast<double>(glyph.bitmap->top) + glyph.y_offset - 0.5);
        any = true;
    }
    if (!any || !(highest < 1 << 20)) return nullptr;
    const int baseline = static_cast<int>(std::ceil(highest));
    constexpr int kTallEnough = 1 << 14;
    const PaintedRows rows = painted_rows(layout.glyphs, anti_aliased, baseline, kTallEnough);
    if (rows.first >= rows.end || rows.end >= kTallEnough) return nullptr;
    const int width = layout.surface_width, height = rows.end - rows.first;
    if (static_cast<std::int64_t>(width) * height > kMaxStripPixels) return nullptr;

    ColorTable alpha_only;
    for (std::uint32_t coverage = 0; coverage < 256; ++coverage) alpha_only[coverage] = coverage << 24;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    const PixelTarget canvas{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height,
                             static_cast<std::ptrdiff_t>(width) * 4};
    auto strip = std::make_shared<CoverageStrip>();
    strip->painted = paint_glyphs(canvas, layout.glyphs, alpha_only, kCoverageFormat, anti_aliased,
                                  baseline - rows.first, layout.start_x, true);
    strip->coverage.resize(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) strip->coverage[i] = static_cast<std::uint8_t>(pixels[i] >> 24);
    strip->width = width;
    strip->rows = height;
    strip->first_row = rows.first - baseline;
    strip->lowest_baseline = baseline;
    return strip;
}

PaintedColumns paint_run(const PixelTarget& target, const RunLayout& layout, const ColorTable& colors,
                         const PixelFormat& format, bool anti_aliased, int baseline_y, bool target_blank) {
    RunLayout::PaintedBefore& before = layout.painted_before;
    if (!before.strip && ++before.times == kPaintsBeforeStrip) before.strip = make_coverage_strip(layout, anti_aliased);
    const CoverageStrip* strip = before.strip.get();
    // Lower baselines round the top rows otherwise; a strip painted past the
    // right edge would report other columns than the glyphs do; on ink
    // already there the glyphs combine with it, which the strip's did not.
    if (strip != nullptr && target_blank && baseline_y >= strip->lowest_baseline &&
        strip->painted.right <= target.width &&
        paint_coverage(target, strip->coverage.data(), strip->width, strip->width, strip->rows, 0,
                       baseline_y + strip->first_row, colors, format, target_blank))
        return strip->painted;
    return paint_glyphs(target, layout.glyphs, colors, format, anti_aliased, baseline_y, layout.start_x, target_blank);
}

PaintedRows run_painted_rows(const RunLayout& layout, bool anti_aliased, int baseline_y, int height) {
    // From the strip's lowest baseline down, every glyph row moves with the
    // baseline, so the strip's rows are the glyphs' rows wherever none is cut.
    if (const CoverageStrip* strip = layout.painted_before.strip.get();
        strip != nullptr && baseline_y >= strip->lowest_baseline) {
        const long first = long{baseline_y} + strip->first_row, end = first + strip->rows;
        if (first >= 0 && end <= height) return {static_cast<int>(first), static_cast<int>(end)};
    }
    return painted_rows(layout.glyphs, anti_aliased, baseline_y, height);
}

PaintedColumns run_ink_columns(const RunLayout& layout, bool anti_aliased) {
    // The strip holds every glyph painted at the run's own origin, as the run is painted anywhere.
    if (const CoverageStrip* strip = layout.painted_before.strip.get()) return strip->painted;
    return ink_columns(layout.glyphs, anti_aliased, layout.start_x);
}

}  // namespace lumo::shaping
