// One glyph from outline to a copied bitmap: load, optional synthetic styling,
// a size check on the outline, render, copy.
#include "shaping/glyph_raster.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/freetype_memory.h"
#include "base/limits.h"
#include "engine/freetype_styling.h"
#include "shaping/bitmap_scaling.h"

namespace lumo::shaping {
namespace {

// FreeType refuses bitmaps wider or taller than this itself.
constexpr unsigned kMaxBitmapSide = 0xFFFF;

/// Whether rendering the slot's outline gives a bitmap within our caps: 0,
/// FT_Err_Raster_Overflow when the size drawn at is too large for it, or
/// FT_Err_Invalid_Outline when the outline spans more ems than any glyph. The
/// control box, rounded outward with a pixel to spare, bounds the bitmap
/// FreeType would allocate.
FT_Error check_outline_size(const FT_GlyphSlot slot) {
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return 0;
    FT_BBox box{};
    FT_Outline_Get_CBox(&slot->outline, &box);
    const double width = (static_cast<double>(box.xMax) - static_cast<double>(box.xMin)) / 64.0 + 2.0;
    const double rows = (static_cast<double>(box.yMax) - static_cast<double>(box.yMin)) / 64.0 + 2.0;
    const FT_Size_Metrics& metrics = slot->face->size->metrics;
    const double ppem = std::max(metrics.x_ppem, metrics.y_ppem);
    if (ppem > 0 && std::max(width, rows) > ppem * kMaxGlyphEms + 2.0) return FT_Err_Invalid_Outline;
    const bool fits = width <= kMaxBitmapSide && rows <= kMaxBitmapSide &&
                      width * rows <= static_cast<double>(kMaxGlyphBitmapPixels);
    return fits ? 0 : FT_Err_Raster_Overflow;
}

/// Copies the slot's bitmap and bearings; fails on a bitmap past the byte cap.
/// An image stored in the font (`stored_image`, not rendered at the size
/// asked) that large is the font's doing: FT_Err_Array_Too_Large, as FreeType
/// answers images past its own cap.
FT_Error copy_bitmap(const FT_GlyphSlot slot, bool stored_image, GlyphBitmap& out) {
    const FT_Bitmap& source = slot->bitmap;
    const std::int64_t stored_bytes = std::llabs(static_cast<long long>(source.pitch)) * std::int64_t{source.rows};
    if (source.width > kMaxBitmapSide || source.rows > kMaxBitmapSide || stored_bytes > kMaxGlyphBitmapBytes)
        return stored_image ? FT_Err_Array_Too_Large : FT_Err_Raster_Overflow;
    out.width = static_cast<int>(source.width);
    out.rows = static_cast<int>(source.rows);
    out.pitch = source.pitch;
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.colour = source.pixel_mode == FT_PIXEL_MODE_BGRA;
    // A bitmap without width draws nothing; its bytes are not kept.
    if (out.width > 0 && stored_bytes > 0 && source.buffer != nullptr)
        out.bytes.assign(source.buffer, source.buffer + stored_bytes);
    return 0;
}

/// Whether a strike's image is far larger than the strike's size says its
/// glyphs are: such an image is damage, not a glyph to enlarge.
bool out_of_proportion(FT_Face face, const GlyphBitmap& image) {
    const int ppem = std::max<int>(1, face->size->metrics.y_ppem);
    return std::max(image.width, image.rows) > ppem * kMaxStrikeImageScale;
}

/// A glyph of a colour font: in colour where the font has it so (FreeType
/// decodes bitmap strikes and blends layered outlines), else as coverage.
FT_Error rasterize_colour_glyph(FT_Face face, std::uint32_t glyph_id, double bitmap_scale, GlyphBitmap& bitmap) {
    const FT_Int32 load_flags = FT_LOAD_COLOR | (FT_IS_SCALABLE(face) ? FT_LOAD_NO_HINTING : 0);
    if (const FT_Error error = FT_Load_Glyph(face, glyph_id, load_flags)) return error;
    FT_GlyphSlot slot = face->glyph;
    const bool strike_image = slot->format == FT_GLYPH_FORMAT_BITMAP;
    if (!strike_image) {
        if (const FT_Error error = check_outline_size(slot)) return error;
        if (const FT_Error error = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) return error;
    }
    if (const FT_Error error = copy_bitmap(slot, strike_image, bitmap)) return error;
    // An image without pixels (a strike may store one 32 x 0) has nothing to resize.
    if (bitmap.colour && bitmap_scale != 1.0 && !bitmap.bytes.empty()) {
        GlyphBitmap scaled = scale_colour_bitmap(bitmap, bitmap_scale);
        if (scaled.width == 0) return out_of_proportion(face, bitmap) ? FT_Err_Array_Too_Large : FT_Err_Raster_Overflow;
        bitmap = std::move(scaled);
    }
    to_straight_alpha(bitmap);
    return 0;
}

/// A glyph drawn as coverage, with synthetic styling when asked.
FT_Error rasterize_coverage_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options,
                                  GlyphBitmap& bitmap) {
    const bool synthetic = options.synthetic_bold || options.synthetic_italic;
    // Loading and rendering are two steps even on the plain path so that the
    // outline's size is checked before FreeType allocates its bitmap; the
    // result equals a load with FT_LOAD_RENDER and the same target.
    const FT_Int32 load_flags = (synthetic || options.anti_aliased) ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_MONO;
    if (const FT_Error error = FT_Load_Glyph(face, glyph_id, load_flags)) return error;
    FT_GlyphSlot slot = face->glyph;
    if (synthetic) {
        if (options.synthetic_bold) engine::embolden_glyph_slot(slot);
        if (options.synthetic_italic) engine::oblique_glyph_slot(slot);
    }
    // Embedded bitmaps arrive rendered; FreeType leaves them as they are.
    const bool strike_image = slot->format == FT_GLYPH_FORMAT_BITMAP;
    if (!strike_image) {
        if (const FT_Error error = check_outline_size(slot)) return error;
        const FT_Render_Mode mode = options.anti_aliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
        if (const FT_Error error = FT_Render_Glyph(slot, mode)) return error;
    }
    return copy_bitmap(slot, strike_image, bitmap);
}

}  // namespace

FT_Error size_face(FT_Face face, int pixel_size) {
    if (face == nullptr || pixel_size <= 0) return FT_Err_Invalid_Argument;
    if (FT_IS_SCALABLE(face) || face->num_fixed_sizes <= 0)
        return FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size));
    // Shrinking a larger strike keeps more detail than enlarging a smaller one.
    int chosen = -1, largest = 0;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Pos ppem = face->available_sizes[i].y_ppem;  // 26.6 fixed point
        if (ppem > face->available_sizes[largest].y_ppem) largest = i;
        if (ppem >= static_cast<FT_Pos>(pixel_size) * 64 &&
            (chosen < 0 || ppem < face->available_sizes[chosen].y_ppem))
            chosen = i;
    }
    return FT_Select_Size(face, chosen >= 0 ? chosen : largest);
}

FT_Error rasterize_glyph(FT_Face face, std::uint32_t glyph_id, const RasterOptions& options, GlyphBitmap& bitmap,
                         double bitmap_scale) {
    bitmap = GlyphBitmap{};
    if (face == nullptr || face->glyph == nullptr || face->size == nullptr) return FT_Err_Invalid_Face_Handle;
    const std::uint64_t refused_before = base::refused_freetype_blocks();
    errno = 0;
    const FT_Error error = options.colour ? rasterize_colour_glyph(face, glyph_id, bitmap_scale, bitmap)
                                          : rasterize_coverage_glyph(face, glyph_id, options, bitmap);
    if (error == 0) return 0;
    bitmap = GlyphBitmap{};
    // A block the memory cap refused was asked for by the font's data (an image
    // header claiming gigapixels), not by the state of the machine.
    if (error == FT_Err_Out_Of_Memory)
        return base::machine_out_of_memory(error, refused_before) ? error : FT_Err_Array_Too_Large;
    // The PNG decoder under FreeType reports its own failed allocations as a
    // broken file: when an allocation failed meanwhile, the shortage is the
    // likelier cause, and the glyph must not be remembered as damaged.
    if (errno == ENOMEM) return FT_Err_Out_Of_Memory;
    return error;
}

bool is_glyph_damage(FT_Error error) noexcept {
    switch (error) {
    case FT_Err_Ok:
    case FT_Err_Out_Of_Memory:
    case FT_Err_Raster_Overflow:
    case FT_Err_Invalid_Face_Handle:
    case FT_Err_Invalid_Size_Handle:
    case FT_Err_Invalid_Slot_Handle:
    case FT_Err_Invalid_Library_Handle:
        return false;
    default:
        return true;
    }
}

}  // namespace lumo::shaping
