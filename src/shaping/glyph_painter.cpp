// Writing glyph bitmaps into surface pixels: coverage through the colour
// table, bounds-checked stores, overlapping ink of one run combined.
#include "shaping/glyph_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <cstdlib>
#include <cstring>

#include "shaping/pixel_rounding.h"

namespace lumo::shaping {
namespace {

bool target_usable(const PixelTarget& target) {
    return target.pixels != nullptr && target.width > 0 && target.height > 0 &&
           target.pitch_bytes >= static_cast<std::ptrdiff_t>(target.width) * 4;
}

/// True when every byte painting will read lies inside `bitmap.bytes`.
bool bitmap_readable(const GlyphBitmap& bitmap, bool anti_aliased) {
    const std::int64_t abs_pitch = std::llabs(static_cast<long long>(bitmap.pitch));
    if (bitmap.rows <= 0 || abs_pitch == 0) return false;
    if (abs_pitch * bitmap.rows > static_cast<std::int64_t>(bitmap.bytes.size())) return false;
    const std::int64_t columns_stored = bitmap.colour ? abs_pitch / 4 : anti_aliased ? abs_pitch : abs_pitch * 8;
    return bitmap.width <= columns_stored;
}

/// Coverage of column `px` of a stored row: the byte itself, or 255 for a set
/// bit of a 1-bit row.
std::uint8_t coverage_at(const std::uint8_t* row, int px, bool anti_aliased) {
    if (anti_aliased) return row[px];
    return (row[px >> 3] >> (7 - (px & 7))) & 1 ? 255 : 0;
}

/// Coverage `added` drawn over `present`: a + b - a*b/255, rounded.
std::uint8_t combined_coverage(std::uint8_t present, std::uint8_t added) {
    return static_cast<std::uint8_t>(added + (present * (255 - added) + 127) / 255);
}

/// What painting one glyph needs besides its own bitmap and place.
struct Palette {
    const ColorTable& colors;   // coverage glyphs: the run's colour at every alpha
    const PixelFormat& format;  // colour glyphs, and reading ink back
    AlphaChannel alpha;
    bool anti_aliased;
    bool stores_bgra;           // the format's pixels are a colour bitmap's bytes: B, G, R, A
};

/// Whether pixel values of `format`, as stored in memory, are BGRA bytes with
/// straight alpha: what pygame's per-pixel-alpha surfaces are on this machine.
bool stores_bgra(const PixelFormat& format) {
    const std::uint32_t probe = map_rgba(format, 1, 2, 3, 4);
    std::uint8_t bytes[4];
    std::memcpy(bytes, &probe, 4);
    return bytes[0] == 3 && bytes[1] == 2 && bytes[2] == 1 && bytes[3] == 4 &&
           format.losses[0] == 0 && format.losses[1] == 0 && format.losses[2] == 0 && format.losses[3] == 0;
}

/// Coverage pixels of one row: over ink of earlier glyphs in bitmap columns
/// [first_px, shared_end_px), plain writes in [shared_end_px, end_px).
bool paint_coverage_row(const std::uint8_t* source, std::uint32_t* destination, const int* columns, int first_px,
                        int shared_end_px, int end_px, const Palette& palette) {
    bool wrote = false;
    for (int px = first_px; px < shared_end_px; ++px) {
        std::uint8_t coverage = coverage_at(source, px, palette.anti_aliased);
        if (coverage == 0) continue;
        std::uint32_t present;
        std::memcpy(&present, destination + columns[px], 4);
        if (const std::uint8_t ink = palette.alpha.of(present); ink != 0) coverage = combined_coverage(ink, coverage);
        std::memcpy(destination + columns[px], &palette.colors[coverage], 4);
        wrote = true;
    }
    for (int px = shared_end_px; px < end_px; ++px) {
        const std::uint8_t coverage = coverage_at(source, px, palette.anti_aliased);
        if (coverage == 0) continue;
        std::memcpy(destination + columns[px], &palette.colors[coverage], 4);
        wrote = true;
    }
    return wrote;
}

/// A colour pixel (straight alpha) drawn over one already there.
std::uint32_t colour_over(const PixelFormat& format, const std::uint8_t* bgra, std::uint32_t present) {
    const auto [r, g, b, a] = unmap_rgba(format, present);
    const double top = bgra[3] / 255.0, below = a / 255.0 * (1.0 - top), alpha = top + below;
    auto mixed = [&](std::uint8_t upper, std::uint8_t lower) {
        return static_cast<std::uint8_t>(std::min(255.0, (upper * top + lower * below) / alpha + 0.5));
    };
    return map_rgba(format, mixed(bgra[2], r), mixed(bgra[1], g), mixed(bgra[0], b),
                    static_cast<std::uint8_t>(std::min(255.0, alpha * 255.0 + 0.5)));
}

/// Colour pixels of one row (BGRA, straight alpha) in the surface's format;
/// over ink of earlier glyphs in [first_px, shared_end_px).
bool paint_colour_row(const std::uint8_t* source, std::uint32_t* destination, const int* columns, int first_px,
                      int shared_end_px, int end_px, const Palette& palette) {
    bool wrote = false;
    if (palette.stores_bgra && shared_end_px < end_px) {
        // Columns of consecutive bitmap pixels are consecutive, and nothing
        // was painted there yet: the row's bytes go over as they are.
        std::memcpy(destination + columns[shared_end_px], source + static_cast<std::size_t>(shared_end_px) * 4,
                    static_cast<std::size_t>(end_px - shared_end_px) * 4);
        wrote = true;
        end_px = shared_end_px;
    }
    for (int px = first_px; px < end_px; ++px) {
        const std::uint8_t* bgra = source + static_cast<std::size_t>(px) * 4;
        if (bgra[3] == 0) continue;
        std::uint32_t pixel = map_rgba(palette.format, bgra[2], bgra[1], bgra[0], bgra[3]);
        if (px < shared_end_px) {
            std::uint32_t present;
            std::memcpy(&present, destination + columns[px], 4);
            if (palette.alpha.of(present) != 0) pixel = colour_over(palette.format, bgra, present);
        }
        std::memcpy(destination + columns[px], &pixel, 4);
        wrote = true;
    }
    return wrote;
}

/// The row of a bitmap's top edge, before rounding. In doubles: a hostile
/// bearing must not overflow int arithmetic.
double glyph_top(const PlacedGlyph& glyph, int baseline_y) {
    return static_cast<double>(baseline_y) - static_cast<double>(glyph.bitmap->top) - glyph.y_offset;
}

/// The target row of bitmap row `py`: -1 or `height` when outside.
int target_row(int py, double draw_y, int height) { return truncate_clamped(py + draw_y + 0.5, -1, height); }

bool paintable(const PlacedGlyph& glyph, bool anti_aliased) {
    return glyph.bitmap && glyph.bitmap->width > 0 && bitmap_readable(*glyph.bitmap, anti_aliased);
}

void paint_glyph(const PixelTarget& target, const PlacedGlyph& glyph, const Palette& palette, int baseline_y,
                 double start_x, PaintedColumns& painted) {
    const GlyphBitmap& bitmap = *glyph.bitmap;
    const double draw_x = glyph.glyph_x + bitmap.left + start_x;
    const double draw_y = glyph_top(glyph, baseline_y);
    const std::size_t abs_pitch = static_cast<std::size_t>(std::llabs(static_cast<long long>(bitmap.pitch)));
    // Target columns depend on the bitmap column only: worked out once per
    // glyph (with the same arithmetic as per pixel). They never decrease, so
    // the bitmap columns that land inside the target form one range.
    constexpr int kColumnsOnStack = 512;
    std::array<int, kColumnsOnStack> stack_columns;
    std::vector<int> heap_columns;
    int* columns = stack_columns.data();
    if (bitmap.width > kColumnsOnStack) {
        heap_columns.resize(static_cast<std::size_t>(bitmap.width));
        columns = heap_columns.data();
    }
    int first_px = bitmap.width, end_px = 0;
    for (int px = 0; px < bitmap.width; ++px) {
        columns[px] = truncate_clamped(px + draw_x + 0.5, -1, target.width);
        if (columns[px] >= 0 && columns[px] < target.width) {
            first_px = std::min(first_px, px);
            end_px = px + 1;
        }
    }
    if (first_px >= end_px) return;
    // Only the columns a glyph shares with what the run already painted can
    // hold earlier ink: bitmap columns first_px..shared_end_px. The rest (most
    // pixels of most scripts) are plain writes.
    int shared_end_px = first_px;
    while (shared_end_px < end_px && columns[shared_end_px] < painted.right) ++shared_end_px;
    bool wrote = false;
    int previous_row = -1;
    for (int py = 0; py < bitmap.rows; ++py) {
        const int row = target_row(py, draw_y, target.height);
        if (row < 0 || row >= target.height) continue;
        // Rounding toward zero sends the two rows around the top edge to row
        // 0; there the later one replaces the earlier, as for a lone glyph.
        const int combined_end_px = row == previous_row ? first_px : shared_end_px;
        previous_row = row;
        // A bitmap stored bottom row first is read from its last stored row down.
        const int stored_row = bitmap.pitch > 0 ? py : bitmap.rows - 1 - py;
        const std::uint8_t* source = bitmap.bytes.data() + static_cast<std::size_t>(stored_row) * abs_pitch;
        auto* destination = reinterpret_cast<std::uint32_t*>(target.pixels + row * target.pitch_bytes);
        wrote |= bitmap.colour
                     ? paint_colour_row(source, destination, columns, first_px, combined_end_px, end_px, palette)
                     : paint_coverage_row(source, destination, columns, first_px, combined_end_px, end_px, palette);
    }
    if (wrote) {
        // The columns the glyph may have written: enough to know what is untouched.
        painted.left = std::min(painted.left, columns[first_px]);
        painted.right = std::max(painted.right, columns[end_px - 1] + 1);
    }
}

}  // namespace

PaintedColumns paint_glyphs(const PixelTarget& target, std::span<const PlacedGlyph> glyphs, const ColorTable& colors,
                            const PixelFormat& format, bool anti_aliased, int baseline_y, double start_x) {
    PaintedColumns painted;
    if (!target_usable(target)) return painted;
    const Palette palette{colors, format, alpha_channel(format), anti_aliased, stores_bgra(format)};
    for (const PlacedGlyph& glyph : glyphs) {
        if (paintable(glyph, anti_aliased)) paint_glyph(target, glyph, palette, baseline_y, start_x, painted);
    }
    return painted;
}

RowFit row_fit(std::span<const PlacedGlyph> glyphs, int baseline_y, int height) {
    RowFit fit;
    for (const PlacedGlyph& glyph : glyphs) {
        if (!glyph.bitmap || glyph.bitmap->width <= 0 || glyph.bitmap->rows <= 0) continue;
        // Bitmap row py lands on row trunc(py + top_row), as target_row() puts it.
        const double top_row = glyph_top(glyph, baseline_y) + 0.5;
        const double bottom_row = top_row + glyph.bitmap->rows - 1;
        if (top_row < 0)
            fit.rows_short_above = std::max(fit.rows_short_above, truncate_clamped(std::ceil(-top_row), 0, 1 << 30));
        const double free_below = std::floor(static_cast<double>(height) - 1 - std::floor(bottom_row));
        fit.rows_free_below = std::min(fit.rows_free_below, truncate_clamped(free_below, 0, 1 << 30));
    }
    return fit;
}

PaintedRows painted_rows(std::span<const PlacedGlyph> glyphs, bool anti_aliased, int baseline_y, int height) {
    PaintedRows rows;
    for (const PlacedGlyph& glyph : glyphs) {
        if (!paintable(glyph, anti_aliased)) continue;
        // Rows grow with the bitmap row: its first and last rows bound the rest.
        const double draw_y = glyph_top(glyph, baseline_y);
        const int top = target_row(0, draw_y, height), bottom = target_row(glyph.bitmap->rows - 1, draw_y, height);
        if (bottom < 0 || top >= height) continue;
        rows.first = std::min(rows.first, std::max(top, 0));
        rows.end = std::max(rows.end, std::min(bottom, height - 1) + 1);
    }
    return rows;
}

}  // namespace lumo::shaping
