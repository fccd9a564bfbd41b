// The layers of a frame drawn cluster by cluster: for each alpha its clusters
// have, the pieces of the block's lines (layout/block_clusters.h) with that
// alpha as a block of their own, each piece where its run stands, moved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "layout/block_clusters.h"
#include "layout/block_drawing.h"
#include "render/prepared_line.h"
#include "shaping/run_layout.h"

namespace lumo::layout {

/// How far pieces reach past the layout's rectangle on each side.
struct PieceMargins {
    long left = 0, top = 0, right = 0, bottom = 0;
};

PieceMargins margins_of(std::span<const LinePieces> lines);

/// The alphas the frame's layers are drawn with, one layer each: the opaque
/// pieces first, then the fainter ones from the most to the least opaque;
/// pieces of alpha 0 are left out.
std::vector<std::uint8_t> layer_alphas(std::span<const LinePieces> lines);

/// Run layouts for pieces, reused from frame to frame: a layout no frame
/// holds any more is filled again.
class PieceLayouts {
public:
    explicit PieceLayouts(std::vector<std::shared_ptr<shaping::RunLayout>>& layouts) : layouts_(layouts) {}

    /// The run with only the glyphs of `piece`, drawn where the run is.
    shaping::PreparedRun piece_of(const shaping::PreparedRun& run, const RunPiece& piece);

private:
    std::vector<std::shared_ptr<shaping::RunLayout>>& layouts_;
    std::size_t next_ = 0;
};

/// The pieces of one alpha, as a block drawn like the whole one (with its
/// effects) on a frame grown by `margins`: the pieces of a line that share a
/// vertical shift make a line of their own, drawn that much lower.
class ClusterLayer {
public:
    ClusterLayer(const BlockDrawing& block, std::span<const LinePieces> pieces, std::uint8_t alpha,
                 const PieceMargins& margins, PieceLayouts& layouts);
    ClusterLayer(const ClusterLayer&) = delete;
    ClusterLayer& operator=(const ClusterLayer&) = delete;

    /// The layer's block; its lines point into this object.
    const BlockDrawing& drawing() const { return drawing_; }

private:
    void add(const PlacedLine& placed, const LinePieces& pieces, std::uint8_t alpha, long dy,
             const PieceMargins& margins);

    PieceLayouts& layouts_;
    BlockDrawing drawing_;
    std::vector<render::PreparedLine> lines_;
    std::vector<std::vector<DecorationSpan>> spans_;
};

}  // namespace lumo::layout
