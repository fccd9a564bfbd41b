// The layout pass of a shaped run: HarfBuzz shapes the text, FreeType
// rasterises each glyph, and the run's pen positions, extents and widths follow.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "shaping/glyph_cache.h"
#include "shaping/glyph_raster.h"
#include "shaping/harfbuzz_font.h"
#include "shaping/typography_options.h"

namespace lumo::shaping {

/// One shaped glyph ready to paint, in HarfBuzz output order (left to right
/// on the surface, also for right-to-left text).
struct PlacedGlyph {
    std::shared_ptr<const GlyphBitmap> bitmap;  // shared with the face's glyph cache
    double glyph_x = 0.0;   // pen position plus HarfBuzz x offset, pixels from the run's origin
    double y_offset = 0.0;  // HarfBuzz y offset in pixels, upwards positive
    double advance = 0.0;   // HarfBuzz x advance in pixels: where the next glyph's pen starts
    std::uint32_t glyph_id = 0;
    std::uint32_t cluster = 0;  // index of the code point the glyph came from
};

struct CoverageStrip;

struct RunLayout {
    std::vector<PlacedGlyph> glyphs;
    int total_advance = 0;  // the run's advance in whole pixels; may be 0 or negative
    int logical_width = 1;  // max(1, total_advance)
    bool empty = true;      // no glyphs: draw nothing, advance by logical_width
    double start_x = 0.0;   // shift right so ink left of the origin stays on the surface
    int surface_width = 1;  // width of the surface the run is painted on
    FT_Error glyph_damage = 0;  // FreeType's error for the first damaged glyph, drawn empty; 0 when none
    // The run's glyphs painted once into one strip of coverage, made when the
    // run is painted again (run_painter.h): a cached word is then painted as
    // a few long rows instead of many short ones. A copy (whose glyphs may
    // then change) starts without it, and code that changes a layout's
    // glyphs in place resets it.
    struct PaintedBefore {
        std::shared_ptr<const CoverageStrip> strip;
        std::uint32_t times = 0;
        PaintedBefore() = default;
        PaintedBefore(const PaintedBefore&) {}
        PaintedBefore& operator=(const PaintedBefore&) {
            strip.reset();
            times = 0;
            return *this;
        }
    };
    mutable PaintedBefore painted_before;
};

/// The direction a run is shaped in: the line's bidirectional pass knows it;
/// a run drawn on its own takes the one its script implies.
enum class ShapingDirection : std::uint8_t { from_script, left_to_right, right_to_left };

/// What a run is shaped with beyond its font and direction; the default
/// shapes as the font's defaults and HarfBuzz's guesses have it.
struct ShapingOptions {
    std::span<const FeatureSetting> features;  // applied to the whole run, in order
    std::string_view language;                 // BCP 47; empty: guessed from the text
    std::span<const float> coordinates;        // of every axis of a variable font; empty: its default
};

/// Why a run could not be laid out; true when it could not.
struct LayoutError {
    enum class Kind {
        none,
        glyph,            // FreeType could not load a glyph, and not for damage: `freetype_error` says why
        run_too_large,    // past the limits of one run (characters, glyphs, glyph pixels)
        shaping_stopped,  // HarfBuzz gave up: its buffer limit, or no memory
    };
    Kind kind = Kind::none;
    FT_Error freetype_error = 0;

    explicit operator bool() const { return kind != Kind::none; }
    bool operator==(const LayoutError&) const = default;
};

/// The error in words, for the exception that reports it.
std::string layout_error_message(const LayoutError& error);

/// Shapes `text` (code points) with `font` and rasterises every glyph from
/// `face`, whose pixel size the caller has set to `pixel_size`. Rounding adds
/// 0.5 and truncates toward zero; every pixel quantity is clamped to
/// ±kMaxRunExtentPixels. After a failure `layout` is the empty layout. A
/// glyph that the font's data does not let FreeType load (is_glyph_damage) is
/// no failure: it keeps its advance and is drawn empty, and `glyph_damage`
/// tells the caller, whose business it is to say so.
/// `cache`, when given, keeps the face's rasterised glyphs between runs.
/// With variation coordinates in `shaping`, `face` must be set to the same
/// ones (set_design_coordinates), so that outlines and advances agree.
LayoutError layout_run(const HarfBuzzFont& font, FT_Face face, std::span<const std::uint32_t> text, int pixel_size,
                       const RasterOptions& options, RunLayout& layout, GlyphBitmapCache* cache = nullptr,
                       ShapingDirection direction = ShapingDirection::from_script,
                       const ShapingOptions& shaping = {});

/// How far a run's ink reaches above and below its baseline, in pixels.
struct InkReach {
    double above = 0.0;
    double below = 0.0;
};
InkReach ink_reach(const RunLayout& layout);

}  // namespace lumo::shaping
