// A text block's effects in pixels: decorations, alpha, outline and shadow layers.
#include "layout/block_painter.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "font/freetype_errors.h"
#include "shaping/coverage_mask.h"
#include "shaping/glyph_stroke.h"
#include "shaping/pixel_blend.h"

namespace lumo::layout {
namespace {

using shaping::CoverageMask;
using shaping::GlyphBitmap;

/// The glyph grown by `radius`, from the face's cache or stroked and kept there.
std::shared_ptr<const GlyphBitmap> outlined_glyph(shaping::SizedFace& face, const shaping::PlacedGlyph& glyph,
                                                  const shaping::RasterOptions& options, double radius) {
    const int radius_64ths = static_cast<int>(std::lround(radius * 64.0));
    if (auto known = face.strokes.find(glyph.glyph_id, options, radius_64ths)) return known;
    auto stroked = std::make_shared<GlyphBitmap>();
    if (const FT_Error error =
            shaping::stroke_glyph(face.face.get(), glyph.glyph_id, options, *glyph.bitmap, radius, *stroked)) {
        if (error == FT_Err_Out_Of_Memory) throw std::bad_alloc();
        throw std::runtime_error("cannot outline glyph " + std::to_string(glyph.glyph_id) + ": FreeType error " +
                                 std::to_string(error) + ": " + font::freetype_error_message(error));
    }
    face.strokes.store(glyph.glyph_id, options, radius_64ths, stroked);
    return stroked;
}

/// The alpha of a picture the legacy emoji engine drew, as a coverage bitmap.
GlyphBitmap alpha_bitmap(const shaping::RunPicture& picture) {
    const shaping::PixelTarget& pixels = picture.pixels;
    const shaping::AlphaChannel alpha = shaping::alpha_channel(picture.format);
    GlyphBitmap bitmap;
    bitmap.width = bitmap.pitch = pixels.width;
    bitmap.rows = pixels.height;
    bitmap.bytes.resize(static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height));
    for (int row = 0; row < pixels.height; ++row) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(pixels.pixels + row * pixels.pitch_bytes);
        for (int column = 0; column < pixels.width; ++column)
            bitmap.bytes[static_cast<std::size_t>(row) * pixels.width + column] = alpha.of(from[column]);
    }
    return bitmap;
}

/// Rounds a pixel position as the glyph painter does for the positions it keeps.
long whole(double value) { return static_cast<long>(std::floor(value + 0.5)); }

/// A decoration's rows on the frame.
struct Stripe {
    long left, top, right, bottom;
};

std::vector<Stripe> stripes_of(const BlockDrawing& block, const TextEffects& effects, long text_x, long text_y) {
    std::vector<Stripe> stripes;
    for (const PlacedLine& placed : block.lines) {
        const long length = placed.line->total;
        if (length <= 0) continue;
        const long left = placed.x + text_x, baseline = placed.y + text_y + block.baseline;
        const DecorationSpan whole{0, length};
        const std::span<const DecorationSpan> spans =
            placed.decorated ? std::span<const DecorationSpan>(*placed.decorated) : std::span(&whole, 1);
        for (const auto& [wanted, rows] : {std::pair{effects.underline, block.decorations.underline},
                                           std::pair{effects.strikethrough, block.decorations.strikethrough}}) {
            if (!wanted) continue;
            for (const DecorationSpan& span : spans)
                stripes.push_back({left + span.left, baseline + rows.top, left + span.right,
                                   baseline + rows.top + rows.thickness});
        }
    }
    return stripes;
}

/// Underlines and strikethrough lines in the block's colour, over the text.
void paint_stripes(const shaping::PixelTarget& target, const shaping::PixelFormat& format,
                   const std::vector<Stripe>& stripes, const Rgba& colour) {
    const std::uint32_t pixel = shaping::map_rgba(format, colour[0], colour[1], colour[2], 255);
    for (const Stripe& stripe : stripes) {
        const long left = std::max(0L, stripe.left), right = std::min<long>(target.width, stripe.right);
        for (long row = std::max(0L, stripe.top); row < std::min<long>(target.height, stripe.bottom); ++row) {
            auto* pixels = reinterpret_cast<std::uint32_t*>(target.pixels + row * target.pitch_bytes);
            std::fill(pixels + left, pixels + std::max(left, right), pixel);
        }
    }
}

/// Every glyph, picture and decoration of the block grown by the outline's
/// radius, on a mask the size of the frame.
CoverageMask outline_mask(const BlockDrawing& block, const TextEffects& effects, const EffectFrame& frame,
                          const std::vector<Stripe>& stripes, shaping::RunPictures& pictures) {
    CoverageMask mask(static_cast<int>(frame.width), static_cast<int>(frame.height));
    for (const PlacedLine& placed : block.lines) {
        const long line_x = placed.x + frame.text_x, line_y = placed.y + frame.text_y;
        long pen = line_x;
        for (const shaping::PreparedRun& run : placed.line->runs) {
            if (run.has_picture()) {
                const GlyphBitmap grown = shaping::dilate_glyph(
                    alpha_bitmap(pictures.picture(static_cast<std::size_t>(run.picture))), true, effects.outline);
                shaping::stamp_coverage(mask, grown, static_cast<int>(pen + grown.left),
                                        static_cast<int>(line_y - grown.top));
            } else if (run.layout && run.face) {
                for (const shaping::PlacedGlyph& glyph : run.layout->glyphs) {
                    if (!glyph.bitmap) continue;
                    const auto grown = outlined_glyph(*run.face, glyph, run.options, effects.outline);
                    const long x = pen + whole(glyph.glyph_x + run.layout->start_x) + grown->left;
                    const long y = line_y + run.baseline - grown->top + whole(-glyph.y_offset);
                    shaping::stamp_coverage(mask, *grown, static_cast<int>(x), static_cast<int>(y));
                }
            }
            pen += run.advance;
        }
    }
    for (const Stripe& stripe : stripes)
        shaping::stamp_rounded_rect(mask, static_cast<int>(stripe.left), static_cast<int>(stripe.top),
                                    static_cast<int>(stripe.right), static_cast<int>(stripe.bottom), effects.outline);
    return mask;
}

}  // namespace

void paint_block_effects(const shaping::PixelTarget& text, const shaping::PixelFormat& format,
                         const BlockDrawing& block, const TextEffects& effects, shaping::RunPictures& pictures) {
    const EffectFrame frame = frame_block(block.width, block.height, effects);
    const std::vector<Stripe> stripes = stripes_of(block, effects, frame.text_x, frame.text_y);
    if (!stripes.empty()) paint_stripes(text, format, stripes, block.colour);
    CoverageMask shadow;
    // A shadow without an outline is cast by the text's own coverage, whatever its colour's alpha.
    if (effects.shadow && !effects.has_outline()) {
        shadow = CoverageMask(static_cast<int>(frame.width), static_cast<int>(frame.height));
        shaping::stamp_alpha(shadow, text, shaping::alpha_channel(format), effects.shadow_x, effects.shadow_y);
    }
    if (block.colour[3] != 255) shaping::scale_alpha(text, format, block.colour[3]);
    if (!effects.layered()) return;
    // Layers are blended as pygame blends 8-bit channels, which is what its per-pixel-alpha surfaces hold.
    if (!shaping::blendable_format(format))
        throw std::runtime_error("cannot draw text effects: pygame's surfaces have an unexpected pixel format");

    CoverageMask outline;
    if (effects.has_outline()) {
        outline = outline_mask(block, effects, frame, stripes, pictures);
        if (effects.shadow) {
            shadow = CoverageMask(static_cast<int>(frame.width), static_cast<int>(frame.height));
            shaping::stamp_mask(shadow, outline, effects.shadow_x, effects.shadow_y);
        }
    }
    if (effects.shadow) shaping::blur_mask(shadow, effects.shadow_blur);
    const shaping::MaskLayer layers[] = {{effects.shadow ? &shadow : nullptr, effects.shadow_colour},
                                         {effects.has_outline() ? &outline : nullptr, effects.outline_colour}};
    shaping::lay_under(text, layers, format);
}

}  // namespace lumo::layout
