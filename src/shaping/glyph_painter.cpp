// Writing glyph bitmaps into surface pixels: coverage through the colour
// table, bounds-checked stores, overlapping ink of one run combined.
#include "shaping/glyph_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Processors with AVX2 take the long steps 8 pixels a register, those with
// AVX-512 every step 16 pixels a register; the build targets plain x86-64,
// so these functions are compiled for their instructions on their own and
// chosen when the processor has them.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define LUMO_SPAN_AVX2 1
#include <immintrin.h>
#endif

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

/// A colour table whose entry for coverage c is one colour with c in an
/// 8-bit alpha channel (every per-pixel-alpha format pygame makes): such a
/// table needs no lookup, so rows of coverage are painted by a loop the
/// compiler turns into vector instructions.
struct LinearTable {
    bool usable = false;
    std::uint32_t colour = 0;  // the entries' bits outside the alpha channel
    std::uint8_t alpha_shift = 0;
};

LinearTable linear_table(const ColorTable& colors, const AlphaChannel& alpha) {
    LinearTable linear;
    if (alpha.mask == 0 || alpha.loss != 0 || alpha.shift > 24 || (alpha.mask >> alpha.shift) != 0xFFu) return linear;
    linear.colour = colors[255] & ~alpha.mask;
    linear.alpha_shift = alpha.shift;
    // Tables are made by color_table(), which maps the channels one by one:
    // with a plain 8-bit alpha channel every entry is the colour and its alpha,
    // which a few entries confirm.
    for (std::uint32_t coverage : {1u, 2u, 127u, 128u, 254u})
        if (colors[coverage] != (linear.colour | (coverage << alpha.shift))) return linear;
    linear.usable = true;
    return linear;
}

/// What painting one glyph needs besides its own bitmap and place.
struct Palette {
    const ColorTable& colors;   // coverage glyphs: the run's colour at every alpha
    const PixelFormat& format;  // colour glyphs, and reading ink back
    AlphaChannel alpha;
    bool anti_aliased;
    bool stores_bgra;           // the format's pixels are a colour bitmap's bytes: B, G, R, A
    LinearTable linear;
    bool blank;                 // what the painting has not written yet holds 0
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

SpanInstructions g_widest_span_step = SpanInstructions::avx512;

#if defined(LUMO_SPAN_AVX2)
bool processor_has_avx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

/// The 16-pixel steps of CoverageSpanPainter::paint, with the same result:
/// `colour | coverage << shift` where the coverage is above 0, the pixel
/// (or 0 on a blank target) where it is 0, and no write for a step without
/// coverage. Returns where the steps ended; `seen` is set if any coverage was.
__attribute__((target("avx2"))) int paint_sixteens_avx2(const std::uint8_t* __restrict coverage,
                                                      std::uint32_t* __restrict pixels, int count, bool blank,
                                                      std::uint32_t colour, int shift, std::uint32_t& seen) {
    const __m256i colour_wide = _mm256_set1_epi32(static_cast<int>(colour));
    const __m128i shift_count = _mm_cvtsi32_si128(shift);
    const __m256i zero = _mm256_setzero_si256();
    __m128i seen_bytes = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coverage + i));
        if (_mm_testz_si128(bytes, bytes)) continue;
        seen_bytes = _mm_or_si128(seen_bytes, bytes);
        for (int half = 0; half < 2; ++half) {
            const __m256i values = _mm256_cvtepu8_epi32(half == 0 ? bytes : _mm_srli_si128(bytes, 8));
            const __m256i empty = _mm256_cmpeq_epi32(values, zero);
            const __m256i painted = _mm256_or_si256(colour_wide, _mm256_sll_epi32(values, shift_count));
            __m256i result = _mm256_andnot_si256(empty, painted);
            auto* target = reinterpret_cast<__m256i*>(pixels + i + half * 8);
            if (!blank) result = _mm256_or_si256(result, _mm256_and_si256(empty, _mm256_loadu_si256(target)));
            _mm256_storeu_si256(target, result);
        }
    }
    if (!_mm_testz_si128(seen_bytes, seen_bytes)) seen = 1;
    return i;
}

bool processor_has_avx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl");
    return has;
}

/// CoverageSpanPainter::paint with 16 pixels a register and masks: a row's
/// last pixels take one masked step instead of narrower steps and a plain
/// loop, and only pixels with coverage are written, which on a blank target
/// is what writing its zeros would leave. Glyph rows are a dozen pixels and
/// a line paints hundreds of them: this is where its painting time goes.
__attribute__((target("avx512f,avx512bw,avx512vl"))) bool paint_span_avx512(const std::uint8_t* __restrict coverage,
                                                                          std::uint32_t* __restrict pixels,
                                                                          int count, std::uint32_t colour,
                                                                          int shift) {
    const __m512i colour_wide = _mm512_set1_epi32(static_cast<int>(colour));
    const __m128i shift_count = _mm_cvtsi32_si128(shift);
    __mmask16 seen = 0;
    for (int i = 0; i < count; i += 16) {
        const __mmask16 lanes = count - i >= 16 ? __mmask16(0xFFFF) : static_cast<__mmask16>((1u << (count - i)) - 1);
        const __m128i bytes = _mm_maskz_loadu_epi8(lanes, coverage + i);  // reads nothing past the row
        // The zero-masking forms: GCC 12 warns about the others' undefined start.
        const __m512i values = _mm512_maskz_cvtepu8_epi32(lanes, bytes);
        const __mmask16 inked = _mm512_test_epi32_mask(values, values);
        if (inked == 0) continue;
        seen |= inked;
        const __m512i painted = _mm512_or_si512(colour_wide, _mm512_maskz_sll_epi32(inked, values, shift_count));
        _mm512_mask_storeu_epi32(pixels + i, inked, painted);
    }
    return seen != 0;
}
#endif

/// Plain writes of coverage bytes into consecutive pixels, each pixel left as
/// it is where the coverage is 0: what the table loop below writes, without a
/// lookup or a branch per pixel. Glyph rows are short (a dozen pixels at text
/// sizes), too short for the 16-pixel steps a compiler picks for byte input,
/// so x86 takes 4 pixels a step with SSE2 by hand; elsewhere the plain loop is
/// left to the compiler. Made once per glyph run, used for every row.
class CoverageSpanPainter {
public:
    explicit CoverageSpanPainter(const LinearTable& linear) : linear_(linear) {
#if defined(__SSE2__)
        colour_ = _mm_set1_epi32(static_cast<int>(linear.colour));
        shift_ = _mm_cvtsi32_si128(linear.alpha_shift);
#endif
    }

    /// Paints `count` pixels; whether any coverage was above 0. With `blank`
    /// the pixels are known to hold 0 (transparent black): they are written
    /// without being read, so that no row waits for its pixels to arrive.
    bool paint(const std::uint8_t* __restrict coverage, std::uint32_t* __restrict pixels, int count, bool blank) const {
        std::uint32_t seen = 0;
        int i = 0;
#if defined(LUMO_SPAN_AVX2)
        if (avx512_) return paint_span_avx512(coverage, pixels, count, linear_.colour, linear_.alpha_shift);
        if (avx2_) i = paint_sixteens_avx2(coverage, pixels, count, blank, linear_.colour, linear_.alpha_shift, seen);
#endif
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        __m128i seen_wide = zero;
        // Rows of a whole run's coverage are long and mostly empty between
        // strokes: 16 pixels a step, and a step with no coverage at all
        // leaves its pixels untouched without writing them.
        for (; i + 16 <= count; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coverage + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)) == 0xFFFF) continue;
            seen_wide = _mm_or_si128(seen_wide, bytes);
            const __m128i low = _mm_unpacklo_epi8(bytes, zero), high = _mm_unpackhi_epi8(bytes, zero);
            paint_four(_mm_unpacklo_epi16(low, zero), pixels + i, blank);
            paint_four(_mm_unpackhi_epi16(low, zero), pixels + i + 4, blank);
            paint_four(_mm_unpacklo_epi16(high, zero), pixels + i + 8, blank);
            paint_four(_mm_unpackhi_epi16(high, zero), pixels + i + 12, blank);
        }
        for (; i + 4 <= count; i += 4) {
            std::uint32_t four_bytes;
            std::memcpy(&four_bytes, coverage + i, 4);
            const __m128i values =
                _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four_bytes)), zero), zero);
            paint_four(values, pixels + i, blank);
            seen_wide = _mm_or_si128(seen_wide, values);
        }
        seen |= _mm_movemask_epi8(_mm_cmpeq_epi8(seen_wide, zero)) != 0xFFFF;
#endif
        for (; i < count; ++i) {
            const std::uint32_t value = coverage[i];
            pixels[i] = value != 0 ? linear_.colour | (value << linear_.alpha_shift) : pixels[i];
            seen |= value;
        }
        return seen != 0;
    }

private:
#if defined(__SSE2__)
    /// Four pixels of coverage `values` (one per 32-bit lane) written over `pixels`.
    void paint_four(__m128i values, std::uint32_t* __restrict pixels, bool blank) const {
        const __m128i painted = _mm_or_si128(colour_, _mm_sll_epi32(values, shift_));
        const __m128i empty = _mm_cmpeq_epi32(values, _mm_setzero_si128());
        __m128i result = _mm_andnot_si128(empty, painted);
        if (!blank)
            result = _mm_or_si128(result,
                                  _mm_and_si128(empty, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), result);
    }
#endif

    LinearTable linear_;
#if defined(__SSE2__)
    __m128i colour_, shift_;
#endif
#if defined(LUMO_SPAN_AVX2)
    bool avx2_ = g_widest_span_step >= SpanInstructions::avx2 && processor_has_avx2();
    bool avx512_ = g_widest_span_step >= SpanInstructions::avx512 && processor_has_avx512();
#endif
};

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
    // Coverage in consecutive columns (the usual case, unless the glyph starts
    // left of the target, where two columns round onto one) through a table
    // of one colour: its plain writes go through the span painter.
    bool spans = !bitmap.colour && palette.anti_aliased && palette.linear.usable;
    for (int px = first_px + 1; spans && px < end_px; ++px) spans = columns[px] == columns[px - 1] + 1;
    const CoverageSpanPainter span(palette.linear);
    bool wrote = false;
    // Most glyphs: plain spans on rows one below another, inside the target,
    // over nothing this painting drew: one tight loop.
    const double first_row_at = draw_y + 0.5;
    if (spans && shared_end_px == first_px && bitmap.pitch > 0 && first_row_at >= 0.0 &&
        first_row_at + bitmap.rows <= static_cast<double>(target.height)) {
        const int first_row = static_cast<int>(first_row_at);
        if (target_row(bitmap.rows - 1, draw_y, target.height) == first_row + bitmap.rows - 1) {
            const std::uint8_t* source = bitmap.bytes.data() + first_px;
            auto* destination = reinterpret_cast<std::uint32_t*>(target.pixels + first_row * target.pitch_bytes) +
                                columns[first_px];
            const std::ptrdiff_t pitch_pixels = target.pitch_bytes / 4;
            for (int py = 0; py < bitmap.rows; ++py, source += abs_pitch, destination += pitch_pixels)
                wrote |= span.paint(source, destination, end_px - first_px, palette.blank);
            if (wrote) {
                painted.left = std::min(painted.left, columns[first_px]);
                painted.right = std::max(painted.right, columns[end_px - 1] + 1);
            }
            return;
        }
    }
    int previous_row = -1;
    for (int py = 0; py < bitmap.rows; ++py) {
        const int row = target_row(py, draw_y, target.height);
        if (row < 0 || row >= target.height) continue;
        // Rounding toward zero sends the two rows around the top edge to row
        // 0; there the later one replaces the earlier, as for a lone glyph.
        const bool row_painted_before = row == previous_row;
        const int combined_end_px = row_painted_before ? first_px : shared_end_px;
        previous_row = row;
        // A bitmap stored bottom row first is read from its last stored row down.
        const int stored_row = bitmap.pitch > 0 ? py : bitmap.rows - 1 - py;
        const std::uint8_t* source = bitmap.bytes.data() + static_cast<std::size_t>(stored_row) * abs_pitch;
        auto* destination = reinterpret_cast<std::uint32_t*>(target.pixels + row * target.pitch_bytes);
        if (bitmap.colour) {
            wrote |= paint_colour_row(source, destination, columns, first_px, combined_end_px, end_px, palette);
        } else if (spans) {
            if (first_px < combined_end_px)
                wrote |= paint_coverage_row(source, destination, columns, first_px, combined_end_px, combined_end_px,
                                            palette);
            wrote |= span.paint(source + combined_end_px, destination + columns[combined_end_px],
                                end_px - combined_end_px, palette.blank && !row_painted_before);
        } else {
            wrote |= paint_coverage_row(source, destination, columns, first_px, combined_end_px, end_px, palette);
        }
    }
    if (wrote) {
        // The columns the glyph may have written: enough to know what is untouched.
        painted.left = std::min(painted.left, columns[first_px]);
        painted.right = std::max(painted.right, columns[end_px - 1] + 1);
    }
}

}  // namespace

PaintedColumns paint_glyphs(const PixelTarget& target, std::span<const PlacedGlyph> glyphs, const ColorTable& colors,
                            const PixelFormat& format, bool anti_aliased, int baseline_y, double start_x,
                            bool target_blank) {
    PaintedColumns painted;
    if (!target_usable(target)) return painted;
    const AlphaChannel alpha = alpha_channel(format);
    const Palette palette{colors, format,       alpha, anti_aliased, stores_bgra(format), linear_table(colors, alpha),
                          target_blank};
    for (const PlacedGlyph& glyph : glyphs) {
        if (paintable(glyph, anti_aliased)) paint_glyph(target, glyph, palette, baseline_y, start_x, painted);
    }
    return painted;
}

bool paint_coverage(const PixelTarget& target, const std::uint8_t* coverage, std::ptrdiff_t stride, int width,
                    int rows, int x, int y, const ColorTable& colors, const PixelFormat& format, bool blank) {
    const LinearTable linear = linear_table(colors, alpha_channel(format));
    if (!linear.usable) return false;
    if (!target_usable(target) || width <= 0 || rows <= 0) return true;
    const int first_column = std::max(0, -x), end_column = std::min(width, target.width - x);
    const int first_row = std::max(0, -y), end_row = std::min(rows, target.height - y);
    if (first_column >= end_column || first_row >= end_row) return true;
    const CoverageSpanPainter span(linear);
    for (int row = first_row; row < end_row; ++row) {
        auto* destination = reinterpret_cast<std::uint32_t*>(target.pixels + (y + row) * target.pitch_bytes) + x;
        span.paint(coverage + row * stride + first_column, destination + first_column, end_column - first_column,
                   blank);
    }
    return true;
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

PaintedColumns ink_columns(std::span<const PlacedGlyph> glyphs, bool anti_aliased, double start_x) {
    PaintedColumns columns;
    constexpr int kFar = 1 << 29;  // past any surface, on either side
    for (const PlacedGlyph& glyph : glyphs) {
        if (!paintable(glyph, anti_aliased)) continue;
        // Bitmap column px lands on column trunc(px + draw_x + 0.5), as paint_glyph() puts it.
        const double draw_x = glyph.glyph_x + glyph.bitmap->left + start_x;
        const int left = truncate_clamped(draw_x + 0.5, -kFar, kFar);
        const int right = truncate_clamped(glyph.bitmap->width - 1 + draw_x + 0.5, -kFar, kFar) + 1;
        columns.left = std::min(columns.left, left);
        columns.right = std::max(columns.right, right);
    }
    return columns;
}

void cap_span_instructions(SpanInstructions widest) { g_widest_span_step = widest; }

}  // namespace lumo::shaping
