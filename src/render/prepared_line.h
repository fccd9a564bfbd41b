// A line of text shaped and rasterised into runs, not yet painted: what its
// surface's size is, and what carets, blocks and effects read of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "shaping/prepared_run.h"

namespace lumo::render {

/// The characters a run of a line draws, in typed order.
struct RunCharacters {
    std::size_t visible_start = 0;  // its first among the line's visible characters (markup and dropped marks out)
    std::size_t length = 0;
    std::uint8_t level = 0;  // its bidirectional embedding level: odd is right to left
};

/// The rows a line's surface takes for a line height of `line_height`: 1.5
/// line heights, so that marks and descenders of the font fit.
long line_surface_height(int line_height);

struct PreparedLine {
    std::vector<shaping::PreparedRun> runs;  // in drawing order
    std::vector<RunCharacters> characters;   // one per run: what carets and hit tests read
    long total = 0;   // the sum of the runs' advances
    int height = 0;   // the line height of the call's fallback family
    bool draws_with_fonts = false;  // some run has a usable font
    bool instance_found = false;    // a font of the line has the call's named instance
    long surface_height() const;  // 1.5 line heights
};

/// The size of the line's surface: a lone run's own surface; else the runs
/// side by side, with room for the last run's overhang (or less, when it
/// ends short of its advance), 1.5 line heights tall.
std::pair<long, long> line_size(const PreparedLine& line);

/// Whether a call asking for the named instance `instance` of its variable
/// fonts must be refused: some font of `lines` draws, and none has it.
bool lacks_named_instance(std::string_view instance, std::span<const PreparedLine* const> lines);

}  // namespace lumo::render
