// Cutting a line into runs: one font file, one script group, one colour, one
// face and one bidirectional level each, with the inline markup applied,
// invisible marks dropped, and the runs put into drawing order.
#pragma once

#include <nanobind/nanobind.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "font/emoji_presentation.h"
#include "font/lumo_font_methods_py.h"
#include "font/lumo_font_object_py.h"

namespace lumo::render {

struct Run {
    std::u32string_view text;  // the run's characters in typed order, in SegmentedRuns::visible
    nanobind::object path;   // path data of the font that draws it
    nanobind::object color;  // colour in force
    int script_group;        // 0..7
    nanobind::object face;   // face word in force
    std::uint8_t level = 0;  // bidirectional embedding level: odd runs are right to left
    std::size_t visible_start = 0;  // its first character among the line's visible ones (markup and dropped marks out)
};

struct LineContext {
    nanobind::handle color;           // the colour the call asked for
    nanobind::handle face;            // the call's resolved face
    nanobind::handle primary_path;    // path data of the primary family in that face
    nanobind::handle fallback_path;   // and of the fallback family
    bool modern_font = true;          // MODERN_FONT as the call read it
    bool right_to_left_paragraph = false;  // a line of a right-to-left text block
    bool markup = true;               // tags change colour and face; off, they are drawn as typed
};

/// The font that draws the one-character text `ch` in `face` as a line
/// draws it, with what the text around it asks (font::find_best_font_path).
/// Whether the emoji font draws in colour is asked of the object's HarfBuzz
/// font, loaded for drawing, unless the caller answers it another way.
nanobind::object font_for_character(font::LumoFontObject* self, nanobind::handle ch, nanobind::handle face,
                                    bool modern_font, font::Presentation presentation,
                                    const font::EmojiFontIsColour& emoji_font_is_colour = {});

/// Whether `key` names a colour of the module's palette (RICH_PALETTE), read
/// now, so a host that changed the palette is followed.
bool is_palette_key(char32_t key);

/// Whether the character at `i` of `text` starts a keycap emoji that the
/// object's emoji font draws: a digit, '#' or '*' followed by U+20E3 (after
/// an optional U+FE0F). Such a digit is drawn by the emoji font with its keycap.
bool starts_keycap(font::LumoFontObject* self, std::u32string_view line, std::size_t i);

/// A line's runs, and the visible characters their texts view.
struct SegmentedRuns {
    std::u32string visible;
    std::vector<Run> runs;  // left to right in drawing order
};

/// The runs of `text`.
SegmentedRuns segment_line(font::LumoFontObject* self, nanobind::handle text, const LineContext& context);

}  // namespace lumo::render
