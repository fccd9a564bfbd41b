// Sized pygame font objects of a font object: FreeType fonts for measuring,
// and the legacy engine that draws runs set in the emoji font.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"

namespace lumo::font {

/// A file object over the bytes of the font file a path data names, as the
/// object already holds them in memory (reading them there first), or None
/// when it cannot: pygame then opens the path itself. pygame's font engines
/// keep a file open per font they make from a path (pygame-ce's FreeType
/// fonts too); over bytes in memory they keep none. The shaping layer, which
/// owns the bytes, installs the source at start-up.
using FontStreamSource = nanobind::object (*)(LumoFontObject* self, nanobind::handle path_data);
void set_font_stream_source(FontStreamSource source);

/// A pygame.freetype Font for the file at a pixel size, with the object's
/// anti-aliasing and any synthetic bold or slant the face word needs; the
/// system Arial, or pygame's default font, when the file cannot be used.
nanobind::object get_font_obj(LumoFontObject* self, nanobind::handle path_data, nanobind::handle size,
                              nanobind::handle face);

/// The pygame.font Font of the emoji file at a pixel size (the "seguiemj"
/// system font when the file cannot be loaded), one per size.
nanobind::object get_old_engine(LumoFontObject* self, nanobind::handle size);

/// (ascent, line height, sized font) of the fallback family in `face`, per (size, face).
nanobind::object get_metrics(LumoFontObject* self, nanobind::handle size, nanobind::handle face);

struct LineMetrics {
    double ascent = 0.0;
    double line_height = 0.0;
};

/// The ascent and line height of get_metrics() as numbers.
LineMetrics line_metrics(LumoFontObject* self, nanobind::handle size, nanobind::handle face);

}  // namespace lumo::font
