// Shaping a run and placing its glyphs: pen positions in float pixels, the ink
// and logical extents, and the widths the run's surface is built from.
#include "shaping/run_layout.h"

#include <algorithm>
#include <string>
#include <utility>

#include "font/freetype_errors.h"
#include "shaping/harfbuzz_handles.h"
#include "shaping/pixel_rounding.h"
#include "base/limits.h"

namespace lumo::shaping {
namespace {

/// Horizontal reach of the run's ink and logical boxes. The start values sit
/// far outside any real extent, so that min > max means "no glyph seen".
struct RunExtent {
    double min_x = 999999.0;
    double max_x = -999999.0;

    void include(double draw_x, double glyph_right, double logical_x1, double logical_x2) {
        min_x = std::min({min_x, draw_x, logical_x1, logical_x2});
        max_x = std::max({max_x, glyph_right, logical_x1, logical_x2});
    }
};

/// Rounds a pixel quantity: adds 0.5 and keeps the integer part.
int round_pixels(double value, int lowest) {
    return truncate_clamped(value + 0.5, lowest, kMaxRunExtentPixels);
}

/// Fills in the widths once every glyph is placed.
void finish_widths(double pen_x, const RunExtent& extent, RunLayout& layout) {
    layout.total_advance = round_pixels(pen_x, -kMaxRunExtentPixels);
    layout.logical_width = std::max(1, layout.total_advance);
    layout.empty = extent.min_x > extent.max_x;
    if (layout.empty) {
        layout.start_x = 0.0;
        layout.surface_width = layout.logical_width;
        return;
    }
    layout.start_x = extent.min_x < 0 ? -extent.min_x : 0.0;
    const int ink_width = truncate_clamped(extent.max_x + layout.start_x + 1.0, 0, kMaxRunExtentPixels);
    layout.surface_width = std::max(layout.logical_width, ink_width);
}

/// Shapes the text into `buffer` in `direction`, with the language given or
/// HarfBuzz's guess of it, HarfBuzz's guess for the script (and for the
/// direction, when it is the script's), and the features and variation
/// coordinates of `shaping`. A run shaped right to left has its mirrored
/// characters (brackets) mirrored by HarfBuzz. False when HarfBuzz gave up.
bool shape_text(const HarfBuzzFont& font, std::span<const std::uint32_t> text, ShapingDirection direction,
                const ShapingOptions& shaping, hb_buffer_t* buffer) {
    const int length = static_cast<int>(text.size());
    hb_buffer_add_utf32(buffer, text.data(), length, 0, length);
    if (direction != ShapingDirection::from_script)
        hb_buffer_set_direction(buffer, direction == ShapingDirection::right_to_left ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    if (!shaping.language.empty())
        hb_buffer_set_language(buffer, hb_language_from_string(shaping.language.data(),
                                                               static_cast<int>(shaping.language.size())));
    hb_buffer_guess_segment_properties(buffer);
    std::vector<hb_feature_t> features;
    features.reserve(shaping.features.size());
    for (const FeatureSetting& setting : shaping.features)
        features.push_back({setting.tag, setting.value, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END});
    hb_shape(font.font_at(shaping.coordinates), buffer, features.data(), static_cast<unsigned>(features.size()));
    return hb_buffer_allocation_successful(buffer) != 0;
}

/// The glyph's bitmap from the cache, rasterised and kept there when missing.
/// A damaged glyph becomes an empty bitmap that says why, kept like any
/// other, so that it is not loaded again on every run that holds it.
FT_Error fetch_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, double bitmap_scale,
                     GlyphBitmapCache* cache, std::shared_ptr<const GlyphBitmap>& bitmap) {
    if (cache != nullptr && (bitmap = cache->find(glyph_id, options))) return 0;
    auto fresh = std::make_shared<GlyphBitmap>();
    if (const FT_Error error = rasterize_glyph(face, glyph_id, options, *fresh, bitmap_scale)) {
        if (!is_glyph_damage(error)) return error;
        fresh->damage = error;
    }
    bitmap = fresh;
    if (cache != nullptr) cache->store(glyph_id, options, bitmap);
    return 0;
}

}  // namespace

std::string layout_error_message(const LayoutError& error) {
    switch (error.kind) {
    case LayoutError::Kind::glyph:
        return "FreeType error " + std::to_string(error.freetype_error) + ": " +
               font::freetype_error_message(error.freetype_error);
    case LayoutError::Kind::run_too_large:
        return "the run holds more glyphs, or glyph pixels, than one run may";
    case LayoutError::Kind::shaping_stopped:
        return "HarfBuzz stopped shaping the run: the font's substitutions make it longer than HarfBuzz allows, "
               "or memory ran out";
    case LayoutError::Kind::none: break;
    }
    return "";
}

LayoutError layout_run(const HarfBuzzFont& font, FT_Face face, std::span<const std::uint32_t> text, int pixel_size,
                       const RasterOptions& options, RunLayout& layout, GlyphBitmapCache* cache,
                       ShapingDirection direction, const ShapingOptions& shaping) {
    constexpr LayoutError too_large{LayoutError::Kind::run_too_large};
    layout = RunLayout{};
    if (text.empty()) return {};
    if (text.size() > kMaxRunCodePoints) return too_large;

    // One buffer, reset for each run, spares an allocation per run.
    static thread_local HbBufferPtr buffer(hb_buffer_create());
    hb_buffer_reset(buffer.get());
    if (!shape_text(font, text, direction, shaping, buffer.get())) return {LayoutError::Kind::shaping_stopped};
    unsigned info_count = 0, position_count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &info_count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &position_count);
    const std::size_t glyph_count = std::min(info_count, position_count);
    if (glyph_count > kMaxRunGlyphs) return too_large;

    // HarfBuzz works in font units at its default scale; this turns them into pixels.
    const double scale = static_cast<double>(pixel_size) / static_cast<double>(font.upem());
    // A font of bitmap strikes draws from the strike its face has selected,
    // resized to the run's size.
    const double bitmap_scale = !FT_IS_SCALABLE(face) && face->size != nullptr && face->size->metrics.y_ppem > 0
                                    ? static_cast<double>(pixel_size) / face->size->metrics.y_ppem
                                    : 1.0;
    std::vector<PlacedGlyph> glyphs;
    glyphs.reserve(glyph_count);
    std::int64_t bitmap_bytes = 0;
    FT_Error layout_damage = 0;
    double pen_x = 0.0;
    RunExtent extent;
    for (std::size_t i = 0; i < glyph_count; ++i) {
        const double x_advance = positions[i].x_advance * scale;
        const double x_offset = positions[i].x_offset * scale;
        const double y_offset = positions[i].y_offset * scale;
        PlacedGlyph placed;
        placed.glyph_id = infos[i].codepoint;
        placed.cluster = infos[i].cluster;
        if (const FT_Error error = fetch_glyph(face, placed.glyph_id, options, bitmap_scale, cache, placed.bitmap))
            return {LayoutError::Kind::glyph, error};
        if (placed.bitmap->damage != 0 && layout_damage == 0) layout_damage = placed.bitmap->damage;
        bitmap_bytes += static_cast<std::int64_t>(placed.bitmap->bytes.size());
        if (bitmap_bytes > kMaxRunBitmapBytes) return too_large;

        placed.glyph_x = pen_x + x_offset;
        placed.y_offset = y_offset;
        placed.advance = x_advance;
        const double draw_x = placed.glyph_x + placed.bitmap->left;
        const double glyph_right = draw_x + placed.bitmap->width;
        extent.include(draw_x, glyph_right, placed.glyph_x, placed.glyph_x + x_advance);
        glyphs.push_back(std::move(placed));
        pen_x += x_advance;
    }
    layout.glyphs = std::move(glyphs);
    layout.glyph_damage = layout_damage;
    finish_widths(pen_x, extent, layout);
    return {};
}

InkReach ink_reach(const RunLayout& layout) {
    InkReach reach;
    for (const PlacedGlyph& glyph : layout.glyphs) {
        reach.above = std::max(reach.above, glyph.bitmap->top + glyph.y_offset);
        reach.below = std::max(reach.below, glyph.bitmap->rows - glyph.bitmap->top - glyph.y_offset);
    }
    return reach;
}

}  // namespace lumo::shaping
