// Whether a face word is imitated by emboldening or slanting, because the
// family has no file of its own for it.
#pragma once

#include <nanobind/nanobind.h>

#include "engine/fixed_tables.h"
#include "font/lumo_font_object_py.h"

namespace lumo::font {

/// The (bold, italic) effects a face word asks for; none for an empty or
/// unknown face word.
engine::SyntheticStyle synthetic_flags(nanobind::handle face);

/// Whether drawing `actual_path` in `face` draws a file that is not the
/// family's own file for that face, whatever the face word: the files of
/// the primary family when it has one for the face, and of the fallback
/// family, are the family's own; any other file is not.
bool lacks_face_file(font::LumoFontObject* self, nanobind::handle face, nanobind::handle actual_path);

/// Whether drawing `actual_path` (or family `name` when `actual_path` is
/// null) in `face` needs synthesis: a face word of the synthetic table
/// drawn from a file that is not the family's own for it.
bool is_synthetic_needed(font::LumoFontObject* self, nanobind::handle name, nanobind::handle face,
                         nanobind::handle actual_path);

}  // namespace lumo::font
