// Sized pygame font objects of a font object: FreeType fonts for measuring,
// and the legacy engine that draws runs set in the emoji font.
#pragma once

#include <nanobind/nanobind.h>

#include <functional>

#include "font/lumo_font_object_py.h"

namespace lumo::font {

/// A pygame.freetype Font for the file at a pixel size, with the object's
/// anti-aliasing and any synthetic bold or slant the face word needs; the
/// system Arial, or pygame's default font, when the file cannot be used.
nanobind::object get_font_obj(LumoFontObject* self, nanobind::handle path_data, nanobind::handle size,
                              nanobind::handle face);

/// The pygame.font Font of the emoji file at a pixel size (the "seguiemj"
/// system font when the file cannot be loaded), one per size. `emoji_file`
/// gives what pygame opens for a new size: a file object over the font's
/// bytes in memory, or None for the emoji path itself.
nanobind::object get_old_engine(LumoFontObject* self, nanobind::handle size,
                                const std::function<nanobind::object()>& emoji_file);

/// (ascent, line height, sized font) of the fallback family in `face`, per (size, face).
nanobind::object get_metrics(LumoFontObject* self, nanobind::handle size, nanobind::handle face);

}  // namespace lumo::font
