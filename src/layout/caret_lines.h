// From a block laid out for drawing to the core's carets and hit tests: the
// characters of each line's runs, the clusters and advances of their glyphs,
// and the trailing white space a line does not draw but a caret passes.
#pragma once

#include <functional>
#include <span>
#include <string_view>

#include "layout/block_carets.h"
#include "layout/block_layout.h"
#include "layout/text_block.h"
#include "render/prepared_line.h"

namespace lumo::layout {

/// One line of a laid-out block as it is drawn.
struct DrawnLine {
    const BlockLine* line = nullptr;
    const render::PreparedLine* prepared = nullptr;
    long x = 0, y = 0;  // its top-left corner on the block
    LineExtent extent;
};

/// Prepares a line of text for measuring, as the block's lines are
/// (`markup` with the tags in force, right to left or not).
using PrepareLine = std::function<const render::PreparedLine&(std::u32string_view markup, bool right_to_left)>;

/// The carets of a block of `text` (its characters `typed`, as its lines
/// were broken) whose lines are `lines`, `line_height` tall with the baseline
/// `ascent` below their top. `prepare` measures the white space that ends
/// lines: it is not drawn, but a caret after it stands past the line's end.
BlockCarets block_carets(std::u32string_view text, std::span<const TypedChar> typed, std::span<const DrawnLine> lines,
                         long line_height, long ascent, const PrepareLine& prepare);

/// The carets of a laid-out block, its lines standing where its frame puts
/// them (effects frame the block).
BlockCarets block_carets(const LaidOutBlock& block, const PrepareLine& prepare);

}  // namespace lumo::layout
