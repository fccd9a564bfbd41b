// Grapheme clusters of a laid-out block and the pieces of a frame; see block_clusters.h.
#include "layout/block_clusters.h"

#include <algorithm>
#include <cmath>

namespace lumo::layout {
namespace {

struct Span {
    double left = 0.0, right = 0.0;
    std::uint32_t cluster = 0;
};

/// The clusters standing over the columns [0, width) of a line whose left
/// edge is at `left`: each column goes to the cluster under its centre, or
/// the nearest one; neighbouring columns of one cluster make one stretch.
template <typename Owned>
std::vector<Owned> columns_of(std::vector<Span> spans, double left, long width) {
    std::vector<Owned> columns;
    if (spans.empty() || width <= 0) return columns;
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::size_t next = 0;  // the first span not wholly left of the column's centre
    for (long column = 0; column < width; ++column) {
        const double centre = left + static_cast<double>(column) + 0.5;
        while (next < spans.size() && spans[next].right <= centre) ++next;
        std::uint32_t owner;
        if (next < spans.size() && spans[next].left <= centre) {
            owner = spans[next].cluster;
        } else if (next == spans.size()) {
            owner = spans.back().cluster;
        } else if (next == 0 || spans[next].left - centre < centre - spans[next - 1].right) {
            owner = spans[next].cluster;
        } else {
            owner = spans[next - 1].cluster;
        }
        if (!columns.empty() && columns.back().cluster == owner && columns.back().right == column)
            ++columns.back().right;
        else
            columns.push_back({column, column + 1, owner});
    }
    return columns;
}

}  // namespace

BlockClusters::BlockClusters(const BlockCarets& carets) {
    const std::vector<CaretCharacter>& characters = carets.characters();
    const std::vector<bool>& boundaries = carets.grapheme_flags();
    std::vector<std::uint32_t> cluster_of(characters.size(), 0);
    for (std::size_t first = 0; first < characters.size();) {
        std::size_t end = first + 1;
        while (end < characters.size() && !boundaries[end]) ++end;
        const auto number = static_cast<std::uint32_t>(clusters_.size());
        std::fill(cluster_of.begin() + static_cast<std::ptrdiff_t>(first),
                  cluster_of.begin() + static_cast<std::ptrdiff_t>(end), number);
        TextCluster cluster;
        cluster.start = characters[first].start;
        cluster.end = characters[end - 1].end;
        cluster.line = carets.line_of(cluster.start);
        const CaretLine& line = carets.line(cluster.line);
        cluster.baseline = line.baseline;
        double left = INFINITY, right = -INFINITY;
        for (std::size_t c = std::max(first, line.first); c < std::min(end, line.end); ++c) {
            const CharacterBox& box = carets.box(c);
            if (box.ink_left < box.ink_right) left = std::min(left, box.ink_left), right = std::max(right, box.ink_right);
        }
        // As selection_rects() covers it; a cluster without room stands at its caret.
        const long top = line.y + std::min(0L, line.ink_top);
        const long bottom = line.y + std::max(line.height, line.ink_bottom);
        if (left < right) {
            const long x = std::lround(left);
            cluster.rect = {x, top, std::max(1L, std::lround(right) - x), bottom - top};
        } else {
            cluster.rect = {carets.caret(cluster.start).x, top, 0, bottom - top};
        }
        clusters_.push_back(cluster);
        first = end;
    }

    auto owner_of = [&](std::size_t position) {
        return cluster_of.empty() ? 0u : cluster_of[std::min(position, cluster_of.size() - 1)];
    };
    lines_.resize(carets.line_count());
    for (std::size_t number = 0; number < carets.line_count(); ++number) {
        const CaretLine& line = carets.line(number);
        LineOwners& owners = lines_[number];
        for (const DrawnRun& run : line.drawn) {
            owners.picture_owners.push_back(owner_of(run.first));
            std::vector<std::uint32_t>& glyphs = owners.glyph_owners.emplace_back();
            glyphs.reserve(run.glyph_characters.size());
            for (std::size_t character : run.glyph_characters) glyphs.push_back(owner_of(character));
        }
        std::vector<Span> spans;
        for (std::size_t c = line.first; c < line.end; ++c) {
            const CharacterBox& box = carets.box(c);
            if (box.left < box.right) spans.push_back({box.left, box.right, owner_of(c)});
        }
        const double left = std::min(line.start_edge, line.end_edge);
        const long width = std::lround(std::abs(line.end_edge - line.start_edge));
        owners.columns = columns_of<OwnedColumns>(std::move(spans), left, width);
    }
}

std::size_t BlockClusters::revealed(std::size_t reveal) const {
    return static_cast<std::size_t>(
        std::partition_point(clusters_.begin(), clusters_.end(),
                             [reveal](const TextCluster& cluster) { return cluster.end <= reveal; }) -
        clusters_.begin());
}

std::vector<ClusterShift> BlockClusters::reveal_shifts(std::size_t count) const {
    std::vector<ClusterShift> shifts(clusters_.size(), ClusterShift{0, 0, 0});
    std::fill(shifts.begin(), shifts.begin() + static_cast<std::ptrdiff_t>(std::min(count, shifts.size())),
              ClusterShift{});
    return shifts;
}

std::vector<LinePieces> BlockClusters::pieces(std::span<const ClusterShift> shifts) const {
    const ClusterShift hidden{0, 0, 0};
    auto shift_of = [&](std::uint32_t cluster) -> const ClusterShift& {
        return cluster < shifts.size() ? shifts[cluster] : hidden;
    };
    std::vector<LinePieces> lines(lines_.size());
    for (std::size_t number = 0; number < lines_.size(); ++number) {
        const LineOwners& owners = lines_[number];
        LinePieces& pieces = lines[number];
        for (std::size_t run = 0; run < owners.glyph_owners.size(); ++run) {
            const std::vector<std::uint32_t>& glyphs = owners.glyph_owners[run];
            if (glyphs.empty()) {
                const ClusterShift& shift = shift_of(owners.picture_owners[run]);
                if (shift.alpha != 0) pieces.runs.push_back({run, shift, true, {}});
                continue;
            }
            const std::size_t first_piece = pieces.runs.size();
            for (std::uint32_t g = 0; g < glyphs.size(); ++g) {
                const ClusterShift& shift = shift_of(glyphs[g]);
                if (shift.alpha == 0) continue;
                auto alike = std::find_if(pieces.runs.begin() + static_cast<std::ptrdiff_t>(first_piece),
                                          pieces.runs.end(), [&](const RunPiece& piece) { return piece.shift == shift; });
                if (alike == pieces.runs.end()) {
                    alike = pieces.runs.insert(pieces.runs.end(), {run, shift, false, {}});
                    alike->glyphs.reserve(glyphs.size() - g);
                }
                alike->glyphs.push_back(g);
            }
            // One piece holding every glyph is the run itself.
            if (pieces.runs.size() == first_piece + 1 && pieces.runs.back().glyphs.size() == glyphs.size()) {
                pieces.runs.back().whole = true;
                pieces.runs.back().glyphs.clear();
            }
        }
        for (const OwnedColumns& columns : owners.columns) {
            const ClusterShift& shift = shift_of(columns.cluster);
            if (shift.alpha == 0) continue;
            if (!pieces.decorations.empty() && pieces.decorations.back().shift == shift &&
                pieces.decorations.back().right == columns.left)
                pieces.decorations.back().right = columns.right;
            else
                pieces.decorations.push_back({columns.left, columns.right, shift});
        }
    }
    return lines;
}

}  // namespace lumo::layout
