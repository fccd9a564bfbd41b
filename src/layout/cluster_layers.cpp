// The layers of a frame drawn cluster by cluster; see cluster_layers.h.
#include "layout/cluster_layers.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace lumo::layout {

PieceMargins margins_of(std::span<const LinePieces> lines) {
    PieceMargins margins;
    auto include = [&](const ClusterShift& shift) {
        margins.left = std::max(margins.left, -shift.dx);
        margins.right = std::max(margins.right, shift.dx);
        margins.top = std::max(margins.top, -shift.dy);
        margins.bottom = std::max(margins.bottom, shift.dy);
    };
    for (const LinePieces& line : lines) {
        for (const RunPiece& piece : line.runs) include(piece.shift);
        for (const DecorationPiece& piece : line.decorations) include(piece.shift);
    }
    return margins;
}

std::vector<std::uint8_t> layer_alphas(std::span<const LinePieces> lines) {
    std::vector<std::uint8_t> alphas;
    for (const LinePieces& line : lines) {
        for (const RunPiece& piece : line.runs) alphas.push_back(piece.shift.alpha);
        for (const DecorationPiece& piece : line.decorations) alphas.push_back(piece.shift.alpha);
    }
    std::sort(alphas.begin(), alphas.end(), std::greater<>());
    alphas.erase(std::unique(alphas.begin(), alphas.end()), alphas.end());
    alphas.erase(std::remove(alphas.begin(), alphas.end(), std::uint8_t{0}), alphas.end());
    return alphas;
}

shaping::PreparedRun PieceLayouts::piece_of(const shaping::PreparedRun& run, const RunPiece& piece) {
    shaping::PreparedRun cut = run;
    if (piece.whole || !run.layout) return cut;
    while (next_ < layouts_.size() && layouts_[next_].use_count() > 1) ++next_;
    if (next_ == layouts_.size()) layouts_.push_back(std::make_shared<shaping::RunLayout>());
    shaping::RunLayout& layout = *layouts_[next_];
    const shaping::RunLayout& whole = *run.layout;
    layout.total_advance = whole.total_advance;
    layout.logical_width = whole.logical_width;
    layout.start_x = whole.start_x;
    layout.surface_width = whole.surface_width;
    layout.glyph_damage = whole.glyph_damage;
    layout.glyphs.clear();
    layout.painted_before = {};  // a strip of the glyphs it held before is no longer its own
    for (std::uint32_t glyph : piece.glyphs)
        if (glyph < whole.glyphs.size()) layout.glyphs.push_back(whole.glyphs[glyph]);
    layout.empty = layout.glyphs.empty();
    cut.layout = layouts_[next_++];
    return cut;
}

ClusterLayer::ClusterLayer(const BlockDrawing& block, std::span<const LinePieces> pieces, std::uint8_t alpha,
                           const PieceMargins& margins, PieceLayouts& layouts)
    : layouts_(layouts) {
    drawing_ = block;
    drawing_.lines.clear();
    drawing_.width = block.width + margins.left + margins.right;
    drawing_.height = block.height + margins.top + margins.bottom;
    // Pointers into these must hold while lines are added: room for a line per piece at most.
    std::size_t line_count = 0;
    for (const LinePieces& line : pieces) line_count += line.runs.size() + line.decorations.size();
    lines_.reserve(line_count);
    spans_.reserve(line_count);
    for (std::size_t number = 0; number < pieces.size() && number < block.lines.size(); ++number) {
        const LinePieces& line = pieces[number];
        // One line per vertical shift, in the order the shifts first come.
        std::vector<long> shifts;
        auto note = [&](const ClusterShift& shift) {
            if (shift.alpha == alpha && std::find(shifts.begin(), shifts.end(), shift.dy) == shifts.end())
                shifts.push_back(shift.dy);
        };
        for (const RunPiece& piece : line.runs) note(piece.shift);
        for (const DecorationPiece& piece : line.decorations) note(piece.shift);
        for (long dy : shifts) add(block.lines[number], line, alpha, dy, margins);
    }
}

/// Adds the pieces of one line with `alpha` that share `dy`, as a line of
/// their own drawn `dy` rows lower: each piece where its run stands, moved by its dx.
void ClusterLayer::add(const PlacedLine& placed, const LinePieces& pieces, std::uint8_t alpha, long dy,
                       const PieceMargins& margins) {
    const render::PreparedLine& line = *placed.line;
    std::vector<long> pens(line.runs.size() + 1, 0);
    for (std::size_t r = 0; r < line.runs.size(); ++r) pens[r + 1] = pens[r] + line.runs[r].advance;
    auto takes = [&](const ClusterShift& shift) { return shift.alpha == alpha && shift.dy == dy; };

    // The line starts at its leftmost piece: a run never paints left of where it starts.
    // (long is 32 bits on Windows: no shifted constant stands for "none yet".)
    long leftmost = std::numeric_limits<long>::max();
    for (const RunPiece& piece : pieces.runs)
        if (takes(piece.shift) && piece.run < line.runs.size())
            leftmost = std::min(leftmost, pens[piece.run] + piece.shift.dx);
    if (leftmost == std::numeric_limits<long>::max()) leftmost = 0;

    render::PreparedLine& drawn = lines_.emplace_back();
    drawn.runs.reserve(pieces.runs.size() + 1);
    drawn.height = line.height;
    drawn.total = line.total;
    long pen = leftmost;
    for (const RunPiece& piece : pieces.runs) {
        if (!takes(piece.shift) || piece.run >= line.runs.size()) continue;
        const long at = pens[piece.run] + piece.shift.dx;
        if (at != pen && drawn.runs.empty()) {
            drawn.runs.emplace_back();  // nothing, as wide as the way to the first piece
            drawn.runs.back().advance = at - pen;
        } else if (at != pen) {
            drawn.runs.back().advance += at - pen;
        }
        drawn.runs.push_back(layouts_.piece_of(line.runs[piece.run], piece));
        drawn.runs.back().advance = 0;  // set by the next piece
        pen = at;
    }
    std::vector<DecorationSpan>& spans = spans_.emplace_back();
    for (const DecorationPiece& piece : pieces.decorations)
        if (takes(piece.shift))
            spans.push_back({piece.left + piece.shift.dx - leftmost, piece.right + piece.shift.dx - leftmost});
    if (drawn.runs.empty() && spans.empty()) {
        lines_.pop_back();
        spans_.pop_back();
        return;
    }
    drawing_.lines.push_back({&drawn, placed.x + margins.left + leftmost, placed.y + margins.top + dy, &spans});
}

}  // namespace lumo::layout
