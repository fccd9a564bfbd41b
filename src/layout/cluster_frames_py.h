// Frames of a laid-out block drawn cluster by cluster: the pieces of its
// lines (layout/block_clusters.h) painted by the block's own painter, so a
// piece's pixels are the block's, moved.
#pragma once

#include <nanobind/nanobind.h>

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "layout/block_clusters.h"
#include "layout/block_effects_py.h"
#include "layout/text_effects.h"

namespace lumo::layout {

/// A laid-out block as a TextLayout keeps it for drawing frames.
struct BlockPicture {
    BlockDrawing drawing;  // its lines point into `lines`
    std::vector<std::shared_ptr<const render::PreparedLine>> lines;
    std::shared_ptr<const shaping::RunSurfaces> surfaces;  // what their runs drawn as pictures refer to
    TextEffects effects;
    std::optional<Rgba> background;
};

/// A frame and where its top-left corner stands from the layout's (left and
/// above it when pieces move out of the layout's rectangle).
struct ClusterFrame {
    nanobind::object surface;
    long x = 0, y = 0;
};

/// What frames that are only blitted keep from frame to frame: their
/// surfaces (made again only when a frame's size changes) and the run
/// layouts of their pieces (filled again each frame).
struct FrameSurfaces {
    nanobind::object text, layer, backdrop;
    std::vector<std::shared_ptr<shaping::RunLayout>> layouts;
};

/// The block drawn from `pieces` (one per line of it): the pieces of full
/// opacity as the block is drawn, with its effects; over them, for each
/// lesser alpha, the pieces of that alpha drawn the same way on a layer of
/// their own made that opaque; under all of it the block's background, over
/// the layout's rectangle. The frame grows to hold pieces moved past its edges.
/// It is drawn on the surfaces in `kept` when given (the frame is then one of
/// them, good until the next frame), else on new ones.
ClusterFrame draw_cluster_frame(const BlockPicture& picture, std::span<const LinePieces> pieces,
                                FrameSurfaces* kept = nullptr);

}  // namespace lumo::layout
