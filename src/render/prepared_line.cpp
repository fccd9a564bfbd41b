// Prepared lines: their size and what a call's named instance needs of them.
#include "render/prepared_line.h"

#include <algorithm>

namespace lumo::render {

long line_surface_height(int line_height) { return static_cast<long>(line_height * 1.5); }

long PreparedLine::surface_height() const { return line_surface_height(height); }

std::pair<long, long> line_size(const PreparedLine& line) {
    if (line.runs.size() == 1) return {line.runs.front().width, line.runs.front().height};
    if (line.runs.empty()) return {1, line.surface_height()};
    const shaping::PreparedRun& last = line.runs.back();
    return {std::max(1L, line.total) + last.width - last.advance, line.surface_height()};
}

bool lacks_named_instance(std::string_view instance, std::span<const PreparedLine* const> lines) {
    if (instance.empty()) return false;
    bool draws_with_fonts = false;
    for (const PreparedLine* line : lines) {
        if (line->instance_found) return false;
        draws_with_fonts = draws_with_fonts || line->draws_with_fonts;
    }
    return draws_with_fonts;
}

}  // namespace lumo::render
