// Shaping and rasterising fuzzed text with real fonts of several scripts, at
// fuzzed sizes and styles, then painting the run onto a surface of the width
// the layout asks for. The layout's widths must be consistent and its ink
// must fall inside that surface.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/freetype_handles.h"
#include "fuzz_checks.h"
#include "shaping/glyph_painter.h"
#include "shaping/run_layout.h"
#include "base/limits.h"

namespace {

using lumo::fuzz::require;
using lumo::shaping::RunLayout;

// Installed by the project's set-up; missing ones are skipped.
constexpr const char* kFontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansKhmer-Regular.ttf",
    "/usr/share/fonts/truetype/noto/NotoSansMyanmar-Regular.ttf",
};

// Text is drawn from these blocks so that most code points reach real glyphs,
// marks and joining forms; the last ones are surrogates, specials, emoji and
// the end of Unicode, which no font here covers.
constexpr std::uint32_t kBlockStarts[] = {0x0000, 0x0300, 0x0590, 0x0600, 0x0900, 0x0E00, 0x1000, 0x1780,
                                          0x2000, 0x0F00, 0x3000, 0xD800, 0xFB00, 0xFE00, 0x1F300, 0x10F000};

struct RunFonts {
    std::unique_ptr<lumo::shaping::HarfBuzzFont> shaper;
    lumo::base::FtFacePtr face;
};

struct LoadedFonts {
    lumo::base::FtLibraryPtr library = lumo::base::make_ft_library();
    std::vector<RunFonts> fonts;

    LoadedFonts() {
        for (const char* path : kFontPaths) {
            lumo::shaping::FontLoadError error;
            RunFonts run{lumo::shaping::HarfBuzzFont::load(path, -1, error), nullptr};
            FT_Face face = nullptr;
            if (!run.shaper || FT_New_Face(library.get(), path, 0, &face) != 0) continue;
            run.face.reset(face);
            fonts.push_back(std::move(run));
        }
        require(!fonts.empty(), "none of the fonts is installed");
    }
};

LoadedFonts& loaded_fonts() {
    static LoadedFonts loaded;
    return loaded;
}

/// Two bytes per code point: the high four bits pick a block, the other
/// twelve an offset into it.
std::vector<std::uint32_t> fuzzed_text(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint32_t> text;
    for (std::size_t at = 0; at + 2 <= size; at += 2)
        text.push_back((kBlockStarts[data[at] >> 4] + ((data[at] & 0xFu) << 8 | data[at + 1])) % 0x110000);
    return text;
}

/// Ink columns must land on the surface: the shift and the width are made for that.
void check_ink_on_surface(const RunLayout& layout) {
    if (layout.surface_width >= lumo::kMaxRunExtentPixels) return;  // clamped: nothing to promise
    for (const auto& glyph : layout.glyphs) {
        if (glyph.bitmap->width <= 0 || glyph.bitmap->rows <= 0) continue;
        const double left = glyph.glyph_x + glyph.bitmap->left + layout.start_x + 0.5;
        const double right = left + glyph.bitmap->width - 1;
        require(left >= 0.0 && right < layout.surface_width, "ink falls outside the run's surface");
    }
}

}  // namespace

// Input: a font number, a size byte, a style byte (bit 0 anti-aliased, bit 1
// bold, bit 2 slant, bit 3 a large size), then the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    LoadedFonts& loaded = loaded_fonts();
    const RunFonts& fonts = loaded.fonts[data[0] % loaded.fonts.size()];
    const std::uint8_t style = data[2];
    // Text sizes, with an occasional large one; huge sizes only slow the fuzzer down.
    const int pixel_size = 1 + (style & 8 ? data[1] * 2 : data[1] % 64);
    lumo::shaping::RasterOptions options;
    options.anti_aliased = (style & 1) != 0;
    options.synthetic_bold = (style & 2) != 0;
    options.synthetic_italic = (style & 4) != 0;
    const std::vector<std::uint32_t> text = fuzzed_text(data + 3, size - 3);
    if (FT_Set_Pixel_Sizes(fonts.face.get(), 0, static_cast<FT_UInt>(pixel_size)) != 0) return 0;

    RunLayout layout;
    const auto error = lumo::shaping::layout_run(*fonts.shaper, fonts.face.get(), text, pixel_size, options, layout);
    if (error) {
        require(layout.glyphs.empty() && layout.empty, "a failed layout is not the empty layout");
        return 0;
    }
    require(layout.logical_width == std::max(1, layout.total_advance), "logical width is not max(1, advance)");
    require(layout.surface_width >= layout.logical_width, "the surface is narrower than the run's advance");
    require(layout.start_x >= 0.0, "the ink shift is negative");
    require(layout.empty == layout.glyphs.empty(), "a layout with glyphs is called empty, or one without is not");
    for (const auto& glyph : layout.glyphs) {
        const auto& bitmap = *glyph.bitmap;
        const std::size_t expected = bitmap.width > 0 ? std::size_t(std::abs(bitmap.pitch)) * bitmap.rows : 0;
        require(bitmap.bytes.size() == expected, "a glyph bitmap does not hold |pitch| x rows bytes");
        require(glyph.cluster < text.size(), "a glyph's cluster is past the text");
    }
    check_ink_on_surface(layout);

    // Painted as the renderer paints it, baseline at the size; large runs are
    // clipped to a small target, which keeps each input cheap.
    const int height = std::min(pixel_size * 3 / 2 + 1, 512);
    const int width = std::min(layout.surface_width, 2048);
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    lumo::shaping::ColorTable colors;
    colors.fill(0xFFFFFFFFu);
    const lumo::shaping::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height,
                                            std::ptrdiff_t(width) * 4};
    const lumo::shaping::PixelFormat argb{{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}, {16, 8, 0, 24}, {}};
    lumo::shaping::paint_glyphs(target, layout.glyphs, colors, argb, options.anti_aliased, pixel_size,
                                layout.start_x);
    return 0;
}
