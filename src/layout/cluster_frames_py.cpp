// Frames of a laid-out block drawn from pieces of its lines (layout/cluster_layers.h).
#include "layout/cluster_frames_py.h"

#include <algorithm>
#include <cstring>

#include "layout/cluster_layers.h"
#include "shaping/pixel_blend.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::layout {
namespace {

/// A transparent surface `width` x `height`: the one kept in `kept`, cleared,
/// when it has that size; else a new one, kept there when `kept` is given.
nb::object blank_surface(nb::object* kept, long width, long height) {
    if (kept == nullptr) return shaping::new_surface(width, height);
    if (kept->is_valid()) {
        shaping::LockedPixels pixels(*kept);
        const shaping::PixelTarget& target = pixels.target();
        if (target.width == width && target.height == height) {
            std::memset(target.pixels, 0, static_cast<std::size_t>(target.pitch_bytes) * target.height);
            return *kept;
        }
    }
    *kept = shaping::new_surface(width, height);
    return *kept;
}

}  // namespace

ClusterFrame draw_cluster_frame(const BlockPicture& picture, std::span<const LinePieces> pieces,
                                FrameSurfaces* kept) {
    const PieceMargins margins = margins_of(pieces);
    const EffectFrame plain = frame_block(picture.drawing.width, picture.drawing.height, picture.effects);
    const long width = plain.width + margins.left + margins.right;
    const long height = plain.height + margins.top + margins.bottom;
    shaping::require_surface_within_limits(width, height);
    std::vector<std::shared_ptr<shaping::RunLayout>> own_layouts;
    PieceLayouts layouts(kept ? kept->layouts : own_layouts);
    nb::object frame;
    for (std::uint8_t alpha : layer_alphas(pieces)) {
        const ClusterLayer drawn(picture.drawing, pieces, alpha, margins, layouts);
        nb::object layer = draw_block_surface(
            drawn.drawing(), picture.effects, *picture.surfaces,
            blank_surface(kept ? (frame.is_valid() ? &kept->layer : &kept->text) : nullptr, width, height));
        if (alpha != 255) {
            shaping::LockedPixels pixels(layer);
            shaping::scale_alpha(pixels.target(), shaping::surface_pixel_format(layer), alpha);
        }
        if (!frame.is_valid())
            frame = layer;
        else
            frame.attr("blit")(layer, nb::make_tuple(0, 0));
    }
    if (!frame.is_valid()) frame = blank_surface(kept ? &kept->text : nullptr, width, height);
    if (picture.background) {
        nb::object backdrop = blank_surface(kept ? &kept->backdrop : nullptr, width, height);
        const Rgba& rgba = *picture.background;
        backdrop.attr("fill")(nb::make_tuple(rgba[0], rgba[1], rgba[2], rgba[3]),
                              nb::make_tuple(margins.left, margins.top, plain.width, plain.height));
        backdrop.attr("blit")(frame, nb::make_tuple(0, 0));
        frame = backdrop;
    }
    return {frame, -margins.left, -margins.top};
}

}  // namespace lumo::layout
