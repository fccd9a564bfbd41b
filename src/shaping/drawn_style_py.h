// How one font file draws a face word: from its own file, from a variable
// font's axes and named instances, or imitated by synthetic bold and slant.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"
#include "shaping/drawn_style.h"
#include "shaping/font_variations.h"

namespace lumo::shaping {

/// The style of a run drawn with `font_path` in `face` (decide_drawn_style),
/// the questions answered by the object's families.
DrawnStyle drawn_style(font::LumoFontObject* self, nanobind::handle font_path, nanobind::handle face,
                       const FontVariations* variations, bool can_imitate);

/// The axis values `face` is drawn at with the font at `font_path`, as
/// {tag: value}; empty when the font draws it without them. For the command
/// line's check of face words and for tests.
nanobind::dict face_axes_of(font::LumoFontObject* self, nanobind::handle face, nanobind::handle font_path);

}  // namespace lumo::shaping
