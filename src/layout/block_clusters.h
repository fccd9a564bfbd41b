// The grapheme clusters of a laid-out block, as a game animates them: each
// cluster's text range and place, which of the lines' glyphs and which
// columns of their underlines belong to it, and the pieces a frame is drawn
// from when clusters are revealed one by one or moved and faded on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "layout/block_carets.h"

namespace lumo::layout {

/// One grapheme cluster of the text, in logical order.
struct TextCluster {
    std::size_t start = 0, end = 0;  // its text range, as typed
    std::size_t line = 0;            // the line it stands on
    PixelRect rect;                  // what a selection of it covers; no width when it takes no room
    long baseline = 0;               // the block's row of its line's baseline
};

/// How one cluster is drawn in a frame: moved by whole pixels and made
/// alpha / 255 as opaque; alpha 0 leaves it out.
struct ClusterShift {
    long dx = 0, dy = 0;
    std::uint8_t alpha = 255;
    bool operator==(const ClusterShift&) const = default;
};

/// Glyphs of one drawn run that move alike.
struct RunPiece {
    std::size_t run = 0;  // the line's run, in drawing order
    ClusterShift shift;
    bool whole = false;   // the whole run (a run drawn as one picture is always whole)
    std::vector<std::uint32_t> glyphs;  // otherwise: which of its glyphs, in drawing order
    bool operator==(const RunPiece&) const = default;
};

/// Columns of a line's underline and strikethrough that move alike:
/// [left, right) from the line's left edge.
struct DecorationPiece {
    long left = 0, right = 0;
    ClusterShift shift;
    bool operator==(const DecorationPiece&) const = default;
};

/// What one line draws in a frame.
struct LinePieces {
    std::vector<RunPiece> runs;  // in the line's drawing order
    std::vector<DecorationPiece> decorations;
};

class BlockClusters {
public:
    /// The clusters of a block whose carets are `carets` (lines that keep
    /// what their drawn runs were shaped from).
    explicit BlockClusters(const BlockCarets& carets);

    const std::vector<TextCluster>& clusters() const { return clusters_; }

    /// How many clusters a frame showing the text up to index `reveal`
    /// shows: those that end at or before it (a reveal inside a cluster
    /// shows it only once it is reached whole).
    std::size_t revealed(std::size_t reveal) const;

    /// The pieces each line draws with `shifts`, one per cluster. A glyph
    /// belongs to the first cluster among the characters it was shaped from
    /// (a ligature, or a glyph shared by joined letters, goes with its first
    /// letter); a column of a line's underline to the cluster standing over
    /// it (or the nearest one). Glyphs of one run that shift alike form one
    /// piece, in order of the first of them.
    std::vector<LinePieces> pieces(std::span<const ClusterShift> shifts) const;

    /// Shifts that show the first `count` clusters where they stand and leave out the rest.
    std::vector<ClusterShift> reveal_shifts(std::size_t count) const;

private:
    struct OwnedColumns {
        long left = 0, right = 0;
        std::uint32_t cluster = 0;
    };
    struct LineOwners {
        std::vector<std::uint32_t> picture_owners;            // per drawn run: who owns it drawn as a whole
        std::vector<std::vector<std::uint32_t>> glyph_owners;  // per drawn run, per glyph
        std::vector<OwnedColumns> columns;                     // the underline's columns, left to right
    };

    std::vector<TextCluster> clusters_;
    std::vector<LineOwners> lines_;
};

}  // namespace lumo::layout
