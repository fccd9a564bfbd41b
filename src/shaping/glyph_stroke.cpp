// Growing glyphs for outlines: FreeType's stroker on outline glyphs, a disc
// dilation of the alpha of bitmap glyphs.
#include "shaping/glyph_stroke.h"

#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "base/limits.h"
#include "engine/freetype_styling.h"

namespace lumo::shaping {
namespace {

struct GlyphDeleter {
    void operator()(FT_Glyph glyph) const noexcept { FT_Done_Glyph(glyph); }
};
struct StrokerDeleter {
    void operator()(FT_Stroker stroker) const noexcept { FT_Stroker_Done(stroker); }
};
using GlyphPtr = std::unique_ptr<std::remove_pointer_t<FT_Glyph>, GlyphDeleter>;
using StrokerPtr = std::unique_ptr<std::remove_pointer_t<FT_Stroker>, StrokerDeleter>;

/// How much of the pixel (dx, dy) away a covered pixel grown by `radius`
/// covers: the pixel's centre against the grown square, with a one-pixel ramp
/// across its rounded edge.
double grown_pixel_weight(int dx, int dy, double radius) {
    if (dx == 0 && dy == 0) return 1.0;
    const double across = std::max(0.0, std::abs(dx) - 0.5), down = std::max(0.0, std::abs(dy) - 0.5);
    return std::clamp(radius + 0.5 - std::hypot(across, down), 0.0, 1.0);
}

/// `coverage` (width x rows) drawn with its top-left pixel at (x, y) of
/// `out`, keeping the larger coverage where both have some.
void merge_max(GlyphBitmap& out, const std::vector<std::uint8_t>& coverage, int width, int rows, int x, int y) {
    for (int row = 0; row < rows; ++row) {
        const int out_row = row + y;
        if (out_row < 0 || out_row >= out.rows) continue;
        for (int column = 0; column < width; ++column) {
            const int out_column = column + x;
            if (out_column < 0 || out_column >= out.width) continue;
            std::uint8_t& target = out.bytes[static_cast<std::size_t>(out_row) * out.width + out_column];
            target = std::max(target, coverage[static_cast<std::size_t>(row) * width + column]);
        }
    }
}

/// The stroked glyph's bitmap as coverage, with the glyph's own coverage
/// laid into it: the stroke alone leaves the middle of wide stems open.
FT_Error stroked_bitmap(FT_Glyph stroked_glyph, bool anti_aliased, const GlyphBitmap& glyph, GlyphBitmap& out) {
    FT_BBox box{};
    FT_Glyph_Get_CBox(stroked_glyph, FT_GLYPH_BBOX_PIXELS, &box);
    const double width = static_cast<double>(box.xMax) - static_cast<double>(box.xMin) + 2.0;
    const double rows = static_cast<double>(box.yMax) - static_cast<double>(box.yMin) + 2.0;
    if (width * rows > static_cast<double>(kMaxGlyphBitmapPixels)) return FT_Err_Raster_Overflow;
    FT_Glyph rendered = stroked_glyph;
    if (const FT_Error error = FT_Glyph_To_Bitmap(&rendered, anti_aliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO,
                                                  nullptr, 0))
        return error;
    GlyphPtr owned(rendered);
    const auto* bitmap_glyph = reinterpret_cast<FT_BitmapGlyph>(rendered);
    GlyphBitmap stroke;
    const FT_Bitmap& source = bitmap_glyph->bitmap;
    stroke.width = static_cast<int>(source.width);
    stroke.rows = static_cast<int>(source.rows);
    stroke.pitch = source.pitch;
    stroke.left = bitmap_glyph->left;
    stroke.top = bitmap_glyph->top;
    const std::size_t stored = static_cast<std::size_t>(std::abs(source.pitch)) * source.rows;
    if (stroke.width > 0 && source.buffer != nullptr) stroke.bytes.assign(source.buffer, source.buffer + stored);
    const bool mono = source.pixel_mode == FT_PIXEL_MODE_MONO;

    // The union of the two boxes, in pixels from the glyph origin.
    const GlyphBitmap* parts[2] = {&stroke, &glyph};
    int left = 1 << 30, top = -(1 << 30), right = -(1 << 30), bottom = 1 << 30;
    for (const GlyphBitmap* part : parts) {
        if (part->width <= 0 || part->rows <= 0) continue;
        left = std::min(left, part->left);
        right = std::max(right, part->left + part->width);
        top = std::max(top, part->top);
        bottom = std::min(bottom, part->top - part->rows);
    }
    out = GlyphBitmap{};
    if (left >= right || top <= bottom) return 0;
    out.width = right - left;
    out.rows = top - bottom;
    out.pitch = out.width;
    out.left = left;
    out.top = top;
    out.bytes.assign(static_cast<std::size_t>(out.width) * out.rows, 0);
    for (const GlyphBitmap* part : parts) {
        if (part->width <= 0 || part->rows <= 0) continue;
        const std::vector<std::uint8_t> coverage = coverage_of(*part, part == &stroke ? !mono : anti_aliased);
        if (coverage.empty()) continue;
        merge_max(out, coverage, part->width, part->rows, part->left - left, top - part->top);
    }
    return 0;
}

FT_Error stroke_outline(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, const GlyphBitmap& glyph,
                        double radius, GlyphBitmap& stroked);

}  // namespace

std::vector<std::uint8_t> coverage_of(const GlyphBitmap& bitmap, bool anti_aliased) {
    const std::size_t abs_pitch = static_cast<std::size_t>(std::abs(bitmap.pitch));
    if (bitmap.width <= 0 || bitmap.rows <= 0 || abs_pitch * bitmap.rows > bitmap.bytes.size()) return {};
    const std::size_t columns_stored = bitmap.colour ? abs_pitch / 4 : anti_aliased ? abs_pitch : abs_pitch * 8;
    if (static_cast<std::size_t>(bitmap.width) > columns_stored) return {};
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
    for (int row = 0; row < bitmap.rows; ++row) {
        const int stored_row = bitmap.pitch > 0 ? row : bitmap.rows - 1 - row;
        const std::uint8_t* source = bitmap.bytes.data() + static_cast<std::size_t>(stored_row) * abs_pitch;
        std::uint8_t* target = coverage.data() + static_cast<std::size_t>(row) * bitmap.width;
        for (int column = 0; column < bitmap.width; ++column) {
            if (bitmap.colour)
                target[column] = source[column * 4 + 3];
            else if (anti_aliased)
                target[column] = source[column];
            else
                target[column] = (source[column >> 3] >> (7 - (column & 7))) & 1 ? 255 : 0;
        }
    }
    return coverage;
}

GlyphBitmap dilate_glyph(const GlyphBitmap& bitmap, bool anti_aliased, double radius) {
    const std::vector<std::uint8_t> coverage = coverage_of(bitmap, anti_aliased);
    GlyphBitmap out;
    if (coverage.empty() || !(radius >= 0.0) || radius > kMaxOutlinePixels) return out;
    const int reach = static_cast<int>(std::ceil(radius));
    out.width = bitmap.width + 2 * reach;
    out.rows = bitmap.rows + 2 * reach;
    out.pitch = out.width;
    out.left = bitmap.left - reach;
    out.top = bitmap.top + reach;
    out.bytes.assign(static_cast<std::size_t>(out.width) * out.rows, 0);
    // The pixels a covered pixel grown by a disc of the radius reaches, as
    // (dx, dy, weight): each source pixel spreads its coverage over them,
    // keeping the largest share each target pixel receives.
    struct Offset {
        int dx, dy;
        double weight;
    };
    std::vector<Offset> disc;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (const double weight = grown_pixel_weight(dx, dy, radius); weight > 0.0)
                disc.push_back({dx, dy, weight});
    for (int row = 0; row < bitmap.rows; ++row) {
        for (int column = 0; column < bitmap.width; ++column) {
            const std::uint8_t value = coverage[static_cast<std::size_t>(row) * bitmap.width + column];
            if (value == 0) continue;
            for (const Offset& offset : disc) {
                std::uint8_t& target = out.bytes[static_cast<std::size_t>(row + reach + offset.dy) * out.width +
                                                 (column + reach + offset.dx)];
                const auto spread = static_cast<std::uint8_t>(value * offset.weight + 0.5);
                target = std::max(target, spread);
            }
        }
    }
    return out;
}

FT_Error stroke_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, const GlyphBitmap& glyph,
                      double radius, GlyphBitmap& stroked) {
    stroked = GlyphBitmap{};
    if (face == nullptr || face->glyph == nullptr) return FT_Err_Invalid_Face_Handle;
    if (!(radius >= 0.0) || radius > kMaxOutlinePixels) return FT_Err_Invalid_Argument;
    // A damaged glyph is drawn empty, and so is its outline.
    if (glyph.damage != 0) return 0;
    // Colour glyphs and the glyphs of bitmap fonts have no outline to stroke.
    if (glyph.colour || !FT_IS_SCALABLE(face)) {
        stroked = dilate_glyph(glyph, options.anti_aliased, radius);
        return 0;
    }
    const FT_Error error = stroke_outline(face, glyph_id, options, glyph, radius, stroked);
    // Outline data FreeType's stroker cannot take (the glyph itself drew):
    // the outline is grown from the glyph's pixels instead.
    if (error != 0 && is_glyph_damage(error)) {
        stroked = dilate_glyph(glyph, options.anti_aliased, radius);
        return 0;
    }
    if (error != 0) stroked = GlyphBitmap{};
    return error;
}

namespace {

FT_Error stroke_outline(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, const GlyphBitmap& glyph,
                        double radius, GlyphBitmap& stroked) {
    const bool synthetic = options.synthetic_bold || options.synthetic_italic;
    // The outline rasterize_glyph() renders, styled the same way.
    const FT_Int32 load_flags =
        (synthetic || options.anti_aliased || options.colour) ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_MONO;
    if (const FT_Error error = FT_Load_Glyph(face, glyph_id, load_flags)) return error;
    FT_GlyphSlot slot = face->glyph;
    if (synthetic && !options.colour) {
        if (options.synthetic_bold) engine::embolden_glyph_slot(slot);
        if (options.synthetic_italic) engine::oblique_glyph_slot(slot);
    }
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        stroked = dilate_glyph(glyph, options.anti_aliased, radius);
        return 0;
    }
    FT_Glyph outline = nullptr;
    if (const FT_Error error = FT_Get_Glyph(slot, &outline)) return error;
    GlyphPtr owned_outline(outline);
    FT_Stroker stroker = nullptr;
    if (const FT_Error error = FT_Stroker_New(slot->library, &stroker)) return error;
    StrokerPtr owned_stroker(stroker);
    FT_Stroker_Set(stroker, static_cast<FT_Fixed>(std::lround(radius * 64.0)), FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    FT_Glyph stroke = owned_outline.release();
    const FT_Error stroke_error = FT_Glyph_Stroke(&stroke, stroker, 1);  // replaces the glyph, freeing the old one
    GlyphPtr owned_stroke(stroke);
    if (stroke_error != 0) return stroke_error;
    return stroked_bitmap(stroke, options.anti_aliased, glyph, stroked);
}

}  // namespace

}  // namespace lumo::shaping
