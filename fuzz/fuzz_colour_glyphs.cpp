// Colour fonts built around fuzzed PNG bytes and strike fields (CBDT/CBLC or
// sbix), laid out and painted through the engine's glyph loader. Whatever the
// data, the run must lay out: a glyph FreeType cannot load is damage, drawn
// empty in its advance and remembered, never an error of the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/freetype_handles.h"
#include "colour_font_builder.h"
#include "font/shared_freetype.h"
#include "fuzz_checks.h"
#include "shaping/glyph_cache.h"
#include "shaping/glyph_painter.h"
#include "shaping/run_layout.h"

namespace {

using lumo::fuzz::require;
using lumo::shaping::RunLayout;
using lumo::test::kFirstEmoji;

constexpr std::size_t kHeaderBytes = 22;
constexpr std::array<std::uint8_t, 4> kBlue{40, 120, 250, 255};

std::uint32_t read_u32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 | at[3];
}

/// The font the input describes: glyph 1 holds the fuzzed bytes, glyph 2 a
/// whole image or a 'dupe' of the fuzzed glyph number.
lumo::test::Bytes fuzzed_font(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t flags = data[0];
    lumo::test::ColourStrikeFont font;
    font.sbix = (flags & 1) != 0;
    font.ppem = data[2];
    if (flags & 4) font.strike_offset_change = read_u32(data + 12);
    lumo::test::StrikeGlyph fuzzed;
    fuzzed.data.assign(data + kHeaderBytes, data + size);
    std::copy(data + 3, data + 8, fuzzed.metrics.begin());
    fuzzed.length_change = read_u32(data + 8);
    fuzzed.graphic_type = read_u32(data + 16);
    const std::uint8_t side = data[2] % 64;
    lumo::test::StrikeGlyph second{lumo::test::png(side, side, kBlue)};
    second.metrics = {side, side, 0, std::uint8_t(side * 7 / 8), side};
    if (font.sbix && (flags & 2)) {
        second.graphic_type = lumo::test::tag("dupe");
        second.data = {data[20], data[21]};
    }
    font.glyphs = {std::move(fuzzed), std::move(second)};
    return lumo::test::colour_strike_font(font);
}

/// The checks every layout of the run must pass, damaged glyphs or not.
void check_layout(const RunLayout& layout, std::size_t glyph_count, int pixel_size) {
    require(layout.glyphs.size() == glyph_count, "a glyph went missing from the run");
    // Every glyph advances one em, damaged or not.
    require(layout.total_advance == static_cast<int>(glyph_count) * pixel_size, "a glyph lost its advance");
    FT_Error first_damage = 0;
    for (const auto& glyph : layout.glyphs) {
        const auto& bitmap = *glyph.bitmap;
        if (bitmap.damage != 0) {
            require(lumo::shaping::is_glyph_damage(bitmap.damage), "a glyph is marked damaged by no damage");
            require(bitmap.width == 0 && bitmap.bytes.empty(), "a damaged glyph is not empty");
            if (first_damage == 0) first_damage = bitmap.damage;
        }
        const std::size_t expected = bitmap.width > 0 ? std::size_t(std::abs(bitmap.pitch)) * bitmap.rows : 0;
        require(bitmap.bytes.size() == expected, "a glyph bitmap does not hold |pitch| x rows bytes");
        require(!bitmap.colour || bitmap.width == 0 || std::abs(bitmap.pitch) >= bitmap.width * 4,
                "a colour bitmap's rows are shorter than its pixels");
    }
    require(layout.glyph_damage == first_damage, "the run reports another damage than its first damaged glyph");
}

void paint(const RunLayout& layout, bool anti_aliased, int pixel_size) {
    const int height = pixel_size * 3 / 2 + 1;
    const int width = std::min(layout.surface_width, 1024);
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    lumo::shaping::ColorTable colors;
    colors.fill(0xFFFFFFFFu);
    const lumo::shaping::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height,
                                            std::ptrdiff_t(width) * 4};
    const lumo::shaping::PixelFormat argb{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {}};
    lumo::shaping::paint_glyphs(target, layout.glyphs, colors, argb, anti_aliased, pixel_size, layout.start_x);
}

}  // namespace

// Input: flags (bit 0 sbix, bit 1 glyph 2 a 'dupe', bit 2 move the strike's
// offset), pixel size, strike ppem, CBDT metrics (5 bytes), length change
// (4), strike offset change (4), sbix graphic type (4), dupe target (2), then
// the bytes of glyph 1's image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) return 0;
    lumo::shaping::FontLoadError load_error;
    auto shaper = lumo::shaping::HarfBuzzFont::from_bytes(fuzzed_font(data, size), 0, load_error);
    if (!shaper) return 0;
    FT_Face raw_face = nullptr;
    const auto bytes = shaper->bytes();
    if (FT_New_Memory_Face(lumo::font::shared_freetype_library(), bytes.data(), FT_Long(bytes.size()), 0,
                           &raw_face) != 0)
        return 0;
    const lumo::base::FtFacePtr face(raw_face);
    const int pixel_size = 1 + data[1] % 128;
    if (lumo::shaping::size_face(face.get(), pixel_size) != 0) return 0;

    // Both emoji, a letter the font lacks (glyph 0), and the fuzzed one again.
    const std::vector<std::uint32_t> text{kFirstEmoji, kFirstEmoji + 1, 'A', kFirstEmoji};
    for (const bool colour : {shaper->has_colour_glyphs(), false}) {
        lumo::shaping::RasterOptions options;
        options.colour = colour;
        options.anti_aliased = colour || (data[0] & 8) != 0;
        lumo::shaping::GlyphBitmapCache cache;
        RunLayout layout, again;
        const auto error = lumo::shaping::layout_run(*shaper, face.get(), text, pixel_size, options, layout, &cache);
        if (error) std::fprintf(stderr, "layout error: %s\n", lumo::shaping::layout_error_message(error).c_str());
        require(!error, "a colour font's data made the run fail instead of a glyph drawn empty");
        check_layout(layout, text.size(), pixel_size);
        paint(layout, options.anti_aliased, pixel_size);
        require(!lumo::shaping::layout_run(*shaper, face.get(), text, pixel_size, options, again, &cache),
                "the run failed the second time");
        require(again.glyph_damage == layout.glyph_damage, "the cache forgot a damaged glyph");
    }
    return 0;
}
