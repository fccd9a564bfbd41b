// Preparing a line's runs; see line_preparation.h.
#include "render/line_preparation.h"

#include <algorithm>
#include <vector>

#include "render/run_direction.h"

namespace lumo::render {

shaping::ShapingDirection direction_of_level(std::uint8_t level) {
    return is_right_to_left(level) ? shaping::ShapingDirection::right_to_left
                                   : shaping::ShapingDirection::left_to_right;
}

PreparedLine prepare_runs(std::span<const RunRequest> runs, int height, RunFonts& fonts) {
    PreparedLine line;
    line.height = height;
    line.runs.reserve(runs.size());
    line.characters.reserve(runs.size());
    // Runs of one font and face (words and the spaces between them) share it.
    std::vector<int> usable;
    for (std::size_t index = 0; index < runs.size(); ++index) {
        const RunRequest& run = runs[index];
        line.characters.push_back({run.visible_start, run.text.size(), run.level});
        if (std::find(usable.begin(), usable.end(), run.font) == usable.end()) {
            const RunFonts::Resolved resolved = fonts.resolve(run.font);
            line.draws_with_fonts = line.draws_with_fonts || resolved.draws_with_font;
            line.instance_found = line.instance_found || resolved.instance_found;
            if (resolved.usable) usable.push_back(run.font);
        }
        line.runs.push_back(fonts.prepare(index, run, direction_of_level(run.level)));
        line.total += line.runs.back().advance;
    }
    return line;
}

}  // namespace lumo::render
