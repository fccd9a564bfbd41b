// Painting arbitrary glyph bitmaps: any size, pitch (also negative or too
// small for the bytes), bearing and position, NaN and infinities included,
// into targets with padded rows. Nothing may be written outside the pixels
// (the sanitizer sees the buffer's ends, the check below sees row padding),
// and every written pixel must be an entry of the colour table.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "fuzz_checks.h"
#include "shaping/glyph_painter.h"

namespace {

using lumo::shaping::PlacedGlyph;
using lumo::fuzz::require;

constexpr std::uint32_t kUntouched = 0x5E5E5E00u;  // no alpha: reads as no ink
constexpr std::uint32_t kPainted = 0xC0000000u;  // table entry a is kPainted | a

double position(FuzzedDataProvider& input) {
    constexpr double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(), 1e300, -1e300, -0.5, 0.49999999999999994};
    if (input.ConsumeBool()) return input.PickValueInArray(kSpecial);
    return input.ConsumeFloatingPointInRange<double>(-200.0, 200.0);
}

int bearing(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) return input.ConsumeIntegral<int>();
    return input.ConsumeIntegralInRange<int>(-100, 100);
}

PlacedGlyph placed_glyph(FuzzedDataProvider& input) {
    auto bitmap = std::make_shared<lumo::shaping::GlyphBitmap>();
    bitmap->width = input.ConsumeIntegralInRange<int>(-2, 70);
    bitmap->rows = input.ConsumeIntegralInRange<int>(-2, 70);
    bitmap->pitch = input.ConsumeIntegralInRange<int>(-80, 80);
    bitmap->left = bearing(input);
    bitmap->top = bearing(input);
    PlacedGlyph glyph;
    glyph.glyph_x = position(input);
    glyph.y_offset = position(input);
    bitmap->bytes = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 6000));
    glyph.bitmap = std::move(bitmap);
    return glyph;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int width = input.ConsumeIntegralInRange<int>(-1, 48);
    const int height = input.ConsumeIntegralInRange<int>(-1, 48);
    // Mostly a padded row, sometimes one too short, which painting must refuse.
    const std::ptrdiff_t pitch_bytes = std::ptrdiff_t{width} * 4 + 4 * input.ConsumeIntegralInRange<int>(-2, 3);
    const bool anti_aliased = input.ConsumeBool();
    const int baseline_y = bearing(input);
    const double start_x = position(input);
    std::vector<PlacedGlyph> glyphs(input.ConsumeIntegralInRange<std::size_t>(0, 6));
    for (PlacedGlyph& glyph : glyphs) glyph = placed_glyph(input);

    // Exactly the bytes of the target: one past them is a sanitizer report.
    const std::size_t buffer_bytes = pitch_bytes > 0 && height > 0 ? std::size_t(pitch_bytes) * height : 0;
    std::vector<std::uint8_t> pixels(buffer_bytes);
    for (std::size_t at = 0; at + 4 <= buffer_bytes; at += 4) std::memcpy(&pixels[at], &kUntouched, 4);
    lumo::shaping::ColorTable colors;
    for (unsigned alpha = 0; alpha < 256; ++alpha) colors[alpha] = kPainted | alpha;

    const lumo::shaping::PixelTarget target{buffer_bytes ? pixels.data() : nullptr, width, height, pitch_bytes};
    const lumo::shaping::PixelFormat low_byte_alpha{{0xFF000000u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu},
                                                    {24, 16, 8, 0}, {}};
    lumo::shaping::paint_glyphs(target, glyphs, colors, low_byte_alpha, anti_aliased, baseline_y, start_x);

    for (std::size_t at = 0; at + 4 <= buffer_bytes; at += 4) {
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, &pixels[at], 4);
        if (pixel == kUntouched) continue;
        const bool usable = width > 0 && pitch_bytes >= std::ptrdiff_t{width} * 4;
        require(usable, "a target painting should refuse was written");
        require(at % std::size_t(pitch_bytes) < std::size_t(width) * 4, "row padding was written");
        const std::uint32_t coverage = pixel ^ kPainted;
        require(coverage >= 1 && coverage <= 255, "a written pixel is not a colour table entry");
        require(anti_aliased || coverage == 255, "a 1-bit glyph wrote a partial coverage");
    }
    return 0;
}
