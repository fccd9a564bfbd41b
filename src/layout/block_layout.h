// A text block laid out from its prepared lines: broken into lines, each
// line's reach measured, the lines placed and aligned, and the frame its
// effects need around them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "layout/block_drawing.h"
#include "layout/text_block.h"
#include "layout/text_effects.h"
#include "render/prepared_line.h"
#include "shaping/decoration_metrics.h"

namespace lumo::layout {

/// What a block is laid out and drawn with besides its text and font.
struct BlockOptions {
    Rgba colour{255, 255, 255, 255};
    long wraplength = 0;
    Align align = Align::start;
    double line_spacing = 1.0;
    Direction direction = Direction::left_to_right;
    TextEffects effects;
};

/// The line metrics of the call's font, which every line of a block shares.
struct BlockMetrics {
    int baseline = 0;      // rows from a line's top to its baseline
    long line_height = 0;
    shaping::LineDecorations decorations;  // read only when the effects underline or strike through
};

/// The lines the line renderer prepares: a block measures lines to break
/// them and then draws the ones it keeps (usually its last measure of each),
/// so each line is prepared once per markup and direction and kept.
class BlockLines : public LineWidths {
public:
    /// The line, shared: a laid-out block keeps the lines it draws.
    std::shared_ptr<const render::PreparedLine> line(std::u32string_view markup, bool right_to_left);
    long width(std::u32string_view markup, bool right_to_left) final;
    std::optional<LineAdvance> advance(std::u32string_view markup, bool right_to_left) final;

protected:
    /// The line of `markup` in a paragraph of that direction, prepared now.
    virtual render::PreparedLine prepare(std::u32string_view markup, bool right_to_left) = 0;

private:
    std::map<std::pair<std::u32string, bool>, std::shared_ptr<const render::PreparedLine>> lines_;
};

/// The block's lines placed, ready to draw (without effects, on a block of
/// the geometry's size), and the size it is drawn at with its effects.
struct LaidOutBlock {
    std::u32string text;
    std::vector<TypedChar> characters;  // the text's, its markup left out
    std::vector<BlockLine> breaks;      // the lines as broken
    std::vector<std::shared_ptr<const render::PreparedLine>> lines;  // and as drawn
    std::vector<LineExtent> extents;
    long line_height = 0;
    BlockDrawing drawing;  // its lines point into `lines`
    EffectFrame frame;
};

/// How a prepared line's ink reaches, from its top, as it is painted.
LineExtent line_extent(const render::PreparedLine& line);

/// `text` broken into lines by `options` (its "^" tags are colour tags where
/// `is_palette_key` says so; empty: no markup), measured by `lines`.
LaidOutBlock break_block(std::u32string text, const std::function<bool(char32_t)>& is_palette_key,
                         const BlockOptions& options, BlockLines& lines);

/// Places the lines of a broken block with `metrics`, taking them from
/// `lines`: each line's extent (its underline and strikethrough included),
/// the block's geometry and its frame.
void place_block(LaidOutBlock& block, const BlockOptions& options, const BlockMetrics& metrics, BlockLines& lines);

}  // namespace lumo::layout
