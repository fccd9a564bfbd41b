// Laying out a text block from its prepared lines; see block_layout.h.
#include "layout/block_layout.h"

#include <algorithm>
#include <cmath>

namespace lumo::layout {

std::shared_ptr<const render::PreparedLine> BlockLines::line(std::u32string_view markup, bool right_to_left) {
    std::pair<std::u32string, bool> key{std::u32string(markup), right_to_left};
    auto known = lines_.find(key);
    if (known != lines_.end()) return known->second;
    auto prepared = std::make_shared<const render::PreparedLine>(prepare(markup, right_to_left));
    return lines_.emplace(std::move(key), std::move(prepared)).first->second;
}

long BlockLines::width(std::u32string_view markup, bool right_to_left) {
    return render::line_size(*line(markup, right_to_left)).first;
}

std::optional<LineAdvance> BlockLines::advance(std::u32string_view markup, bool right_to_left) {
    const render::PreparedLine& prepared = *line(markup, right_to_left);
    LineAdvance advance{prepared.total, prepared.runs.size(), 0};
    if (!prepared.runs.empty()) advance.last_reach = prepared.runs.back().width - prepared.runs.back().advance;
    return advance;
}

LineExtent line_extent(const render::PreparedLine& line) {
    LineExtent extent;
    if (line.runs.empty()) return extent;
    extent.width = render::line_size(line).first;
    extent.ink_top = line.surface_height();
    for (const shaping::PreparedRun& run : line.runs) {
        if (run.has_picture()) {
            // A picture may hold ink anywhere on it: from the top to its height.
            extent.ink_top = 0;
            extent.ink_bottom = std::max(extent.ink_bottom, static_cast<long>(run.height));
        } else if (run.layout && !run.layout->glyphs.empty()) {
            const shaping::InkReach ink = shaping::ink_reach(*run.layout);
            extent.ink_top = std::min(extent.ink_top, run.baseline - static_cast<long>(std::ceil(ink.above)));
            extent.ink_bottom = std::max(extent.ink_bottom, run.baseline + static_cast<long>(std::ceil(ink.below)));
        }
    }
    if (extent.ink_top > extent.ink_bottom) extent.ink_top = extent.ink_bottom = 0;  // no ink at all
    return extent;
}

LaidOutBlock break_block(std::u32string text, const std::function<bool(char32_t)>& is_palette_key,
                         const BlockOptions& options, BlockLines& lines) {
    LaidOutBlock block;
    block.text = std::move(text);
    block.characters = typed_characters(block.text, is_palette_key);
    block.breaks = break_into_lines(block.text, block.characters, options.direction, options.wraplength, lines);
    return block;
}

void place_block(LaidOutBlock& block, const BlockOptions& options, const BlockMetrics& metrics, BlockLines& lines) {
    BlockDrawing& drawing = block.drawing;
    drawing.colour = options.colour;
    drawing.baseline = metrics.baseline;
    block.line_height = metrics.line_height;
    if (options.effects.underline || options.effects.strikethrough) drawing.decorations = metrics.decorations;
    const DecorationReach decorated = decoration_reach(drawing, options.effects);
    for (const BlockLine& line : block.breaks) {
        block.lines.push_back(lines.line(line.markup, line.right_to_left));
        const render::PreparedLine& prepared = *block.lines.back();
        drawing.lines.push_back({&prepared, 0, 0});
        LineExtent extent = line_extent(prepared);
        // A line's underline may reach below its ink, and the block holds it.
        if (decorated.top < decorated.bottom && prepared.total > 0) {
            if (extent.ink_top >= extent.ink_bottom) extent.ink_top = extent.ink_bottom = decorated.top;
            extent.ink_top = std::min(extent.ink_top, decorated.top);
            extent.ink_bottom = std::max(extent.ink_bottom, decorated.bottom);
        }
        block.extents.push_back(extent);
    }
    const BlockGeometry geometry = place_lines(block.extents, block.breaks, options.align, options.wraplength,
                                               metrics.line_height, options.line_spacing);
    for (std::size_t i = 0; i < drawing.lines.size(); ++i) {
        drawing.lines[i].x = geometry.x[i];
        drawing.lines[i].y = geometry.y[i];
    }
    drawing.width = geometry.width;
    drawing.height = geometry.height;
    block.frame = frame_block(geometry.width, geometry.height, options.effects);
}

}  // namespace lumo::layout
