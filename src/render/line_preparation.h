// Preparing a line's runs once the segmenter has cut them: each run shaped
// and laid out in its embedding level's direction, with a font resolved once
// per line for every run of one font and face, while that font can draw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "render/prepared_line.h"
#include "shaping/prepared_run.h"
#include "shaping/run_layout.h"

namespace lumo::render {

/// One run of a line as the segmenter cut it; its font (a font file in a
/// face) known by a number: equal numbers are the same font.
struct RunRequest {
    std::u32string_view text;  // its characters in typed order
    int font = 0;
    std::uint8_t level = 0;  // its bidirectional embedding level: odd runs are right to left
    std::size_t visible_start = 0;  // its first character among the line's visible ones
};

/// What preparing a line asks of its fonts.
class RunFonts {
public:
    virtual ~RunFonts() = default;

    struct Resolved {
        bool usable = false;          // it draws (or the older emoji engine does): later runs may share it
        bool draws_with_font = false;  // a font file shapes it
        bool instance_found = false;  // it has the call's named variable-font instance
    };

    /// Resolves font `font`; the runs prepared next with that number use it.
    virtual Resolved resolve(int font) = 0;

    /// Run number `index` of the line, `run`, shaped and laid out in
    /// `direction` with the font last resolved for its number.
    virtual shaping::PreparedRun prepare(std::size_t index, const RunRequest& run,
                                         shaping::ShapingDirection direction) = 0;
};

/// The direction a run of embedding level `level` is shaped in.
shaping::ShapingDirection direction_of_level(std::uint8_t level);

/// The line of `runs` (in drawing order), `height` rows tall per the call's
/// line metrics. A font that cannot be used is resolved again, and so
/// reported again, for every run that asks for it.
PreparedLine prepare_runs(std::span<const RunRequest> runs, int height, RunFonts& fonts);

}  // namespace lumo::render
