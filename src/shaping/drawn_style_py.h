// How one font file draws a face word: from its own file, from a variable
// font's axes and named instances, or imitated by synthetic bold and slant.
#pragma once

#include <nanobind/nanobind.h>

#include <vector>

#include "font/lumo_font_object_py.h"
#include "shaping/font_variations.h"

namespace lumo::shaping {

struct DrawnStyle {
    std::vector<AxisSetting> face_settings;  // the axis values the face word is drawn at
    bool synthetic_bold = false;
    bool synthetic_italic = false;
};

/// The style of a run drawn with `font_path` in `face`. A variable font
/// (`variations`, null for none) that is not the family's own file for the
/// face draws the face from its named instance or axes, and only what it has
/// no axis for (bold without `wght`, italic without `ital` or `slnt`) is
/// imitated; every other font is imitated exactly when the synthetic-style
/// decision asks for it. No imitation at all when `can_imitate` is false
/// (FreeType's styling calls are missing); the decision is then not asked.
DrawnStyle drawn_style(font::LumoFontObject* self, nanobind::handle font_path, nanobind::handle face,
                       const FontVariations* variations, bool can_imitate);

/// The axis values `face` is drawn at with the font at `font_path`, as
/// {tag: value}; empty when the font draws it without them. For the command
/// line's check of face words and for tests.
nanobind::dict face_axes_of(font::LumoFontObject* self, nanobind::handle face, nanobind::handle font_path);

}  // namespace lumo::shaping
