// Frames of a laid-out block drawn from pieces of its lines; see cluster_frames_py.h.
#include "layout/cluster_frames_py.h"

#include <algorithm>
#include <cstring>

#include "shaping/pixel_blend.h"
#include "shaping/surface_pixels_py.h"

namespace nb = nanobind;

namespace lumo::layout {
namespace {

/// How far pieces reach past the layout's rectangle on each side.
struct Margins {
    long left = 0, top = 0, right = 0, bottom = 0;
};

Margins margins_of(std::span<const LinePieces> lines) {
    Margins margins;
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

/// Run layouts for pieces, reused from frame to frame: a layout no frame
/// holds any more is filled again.
class LayoutPool {
public:
    explicit LayoutPool(std::vector<std::shared_ptr<shaping::RunLayout>>& layouts) : layouts_(layouts) {}

    /// The run with only the glyphs of `piece`, drawn where the run is.
    shaping::PreparedRun piece_of(const shaping::PreparedRun& run, const RunPiece& piece) {
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

private:
    std::vector<std::shared_ptr<shaping::RunLayout>>& layouts_;
    std::size_t next_ = 0;
};

/// The lines and decorations one layer draws, kept while it is painted.
class LayerDrawing {
public:
    LayerDrawing(const BlockPicture& picture, const Margins& margins, std::size_t line_count, LayoutPool& pool)
        : pool_(pool) {
        drawing_ = picture.drawing;
        drawing_.lines.clear();
        drawing_.width = picture.drawing.width + margins.left + margins.right;
        drawing_.height = picture.drawing.height + margins.top + margins.bottom;
        // Pointers into these must hold while lines are added: room for a line per piece at most.
        lines_.reserve(line_count);
        spans_.reserve(line_count);
    }

    /// Adds the pieces of one line of `picture` with `alpha` that share
    /// `dy`, as a line of their own drawn `dy` rows lower: each piece where
    /// its run stands, moved by its dx.
    void add(const PlacedLine& placed, const LinePieces& pieces, std::uint8_t alpha, long dy, const Margins& margins) {
        const render::PreparedLine& line = *placed.line;
        std::vector<long> pens(line.runs.size() + 1, 0);
        for (std::size_t r = 0; r < line.runs.size(); ++r) pens[r + 1] = pens[r] + line.runs[r].advance;
        auto takes = [&](const ClusterShift& shift) { return shift.alpha == alpha && shift.dy == dy; };

        // The line starts at its leftmost piece: a run never paints left of where it starts.
        long leftmost = 1L << 40;
        for (const RunPiece& piece : pieces.runs)
            if (takes(piece.shift) && piece.run < line.runs.size())
                leftmost = std::min(leftmost, pens[piece.run] + piece.shift.dx);
        if (leftmost == 1L << 40) leftmost = 0;

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
            drawn.runs.push_back(pool_.piece_of(line.runs[piece.run], piece));
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

    const BlockDrawing& drawing() const { return drawing_; }

private:
    LayoutPool& pool_;
    BlockDrawing drawing_;
    std::vector<render::PreparedLine> lines_;
    std::vector<std::vector<DecorationSpan>> spans_;
};

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

/// Every piece of `alpha`, drawn as the block is drawn onto `onto`.
nb::object draw_layer(const BlockPicture& picture, std::span<const LinePieces> pieces, std::uint8_t alpha,
                      const Margins& margins, nb::handle onto, LayoutPool& pool) {
    std::size_t line_count = 0;
    for (const LinePieces& line : pieces) line_count += line.runs.size() + line.decorations.size();
    LayerDrawing layer(picture, margins, line_count, pool);
    for (std::size_t number = 0; number < pieces.size() && number < picture.drawing.lines.size(); ++number) {
        const LinePieces& line = pieces[number];
        // One line per vertical shift, in the order the shifts first come.
        std::vector<long> shifts;
        auto note = [&](const ClusterShift& shift) {
            if (shift.alpha == alpha && std::find(shifts.begin(), shifts.end(), shift.dy) == shifts.end())
                shifts.push_back(shift.dy);
        };
        for (const RunPiece& piece : line.runs) note(piece.shift);
        for (const DecorationPiece& piece : line.decorations) note(piece.shift);
        for (long dy : shifts) layer.add(picture.drawing.lines[number], line, alpha, dy, margins);
    }
    return draw_block_surface(layer.drawing(), picture.effects, *picture.surfaces, onto);
}

}  // namespace

ClusterFrame draw_cluster_frame(const BlockPicture& picture, std::span<const LinePieces> pieces,
                                FrameSurfaces* kept) {
    const Margins margins = margins_of(pieces);
    std::vector<std::uint8_t> alphas;
    for (const LinePieces& line : pieces) {
        for (const RunPiece& piece : line.runs) alphas.push_back(piece.shift.alpha);
        for (const DecorationPiece& piece : line.decorations) alphas.push_back(piece.shift.alpha);
    }
    // The opaque pieces first, then the fainter ones from the most to the least opaque.
    std::sort(alphas.begin(), alphas.end(), std::greater<>());
    alphas.erase(std::unique(alphas.begin(), alphas.end()), alphas.end());
    alphas.erase(std::remove(alphas.begin(), alphas.end(), std::uint8_t{0}), alphas.end());

    const EffectFrame plain = frame_block(picture.drawing.width, picture.drawing.height, picture.effects);
    const long width = plain.width + margins.left + margins.right;
    const long height = plain.height + margins.top + margins.bottom;
    shaping::require_surface_within_limits(width, height);
    std::vector<std::shared_ptr<shaping::RunLayout>> own_layouts;
    LayoutPool pool(kept ? kept->layouts : own_layouts);
    nb::object frame;
    for (std::uint8_t alpha : alphas) {
        nb::object layer = draw_layer(picture, pieces, alpha, margins,
                                      blank_surface(kept ? (frame.is_valid() ? &kept->layer : &kept->text) : nullptr,
                                                    width, height),
                                      pool);
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
