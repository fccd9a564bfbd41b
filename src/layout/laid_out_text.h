// A block laid out once, as a TextLayout answers for it: its carets, its
// clusters (found when first asked for), its lines, and which frames differ
// from the block as it stands.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <span>
#include <vector>

#include "layout/block_carets.h"
#include "layout/block_clusters.h"

namespace lumo::layout {

/// One line as the host sees it.
struct LayoutLineRecord {
    std::size_t start = 0, end = 0;  // its typed text range
    PixelRect rect;
    long baseline = 0;
    const char* direction = "ltr";  // its paragraph's: "ltr" or "rtl"
};

/// The offsets a frame's clusters are moved by, as the host gives them.
class FrameOffsets {
public:
    virtual ~FrameOffsets() = default;
    /// How many (dx, dy, alpha) triples a sequence gives; nullopt when they
    /// are asked one cluster at a time (a callable).
    virtual std::optional<std::size_t> count() = 0;
    /// The shift asked for cluster number `cluster`.
    virtual ClusterShift shift(std::size_t cluster) = 0;
    /// Refuses offsets that do not give one triple per cluster: raises `message`.
    [[noreturn]] virtual void refuse(const std::string& message) = 0;
};

/// Whether a point the host gives (a click, a place to draw at) can be used: both numbers finite.
bool point_allowed(double x, double y);

class LaidOutText {
public:
    LaidOutText(BlockCarets carets, long width, long height);

    const BlockCarets& carets() const { return carets_; }
    long width() const { return width_; }
    long height() const { return height_; }
    std::vector<LayoutLineRecord> lines() const;

    /// An index of the text given to the call: 0 to its length; nullopt outside it.
    std::optional<std::size_t> index(long long index) const;

    const BlockClusters& clusters();

    /// How many clusters a frame shows: all without a `reveal`, else those
    /// ending at or before it (`overflow`: clusters_revealed()'s).
    std::size_t shown(std::optional<long long> reveal, int overflow = 0);

    /// Whether a frame showing `shown` clusters, `moved` by offsets or not,
    /// is the whole block as it stands (drawn as the block is).
    bool is_whole(std::size_t shown, bool moved);

    /// The shifts of a frame showing the first `shown` clusters where they
    /// stand, the rest left out: what offsets asked of them replace.
    std::vector<ClusterShift> frame_shifts(std::size_t shown);

    /// The shifts of a frame showing the first `shown` clusters, those moved
    /// as `offsets` ask (null: none given, where they stand); nullopt when the
    /// frame is the whole block as it stands. A sequence must give one triple
    /// per cluster, even those the frame leaves out, which are never asked.
    std::optional<std::vector<ClusterShift>> frame_shifts(std::size_t shown, FrameOffsets* offsets);

private:
    BlockCarets carets_;
    long width_ = 1, height_ = 1;
    std::optional<BlockClusters> clusters_;
};

}  // namespace lumo::layout
