// Drawing one run: shaped with HarfBuzz, rasterised with FreeType and painted
// into a new per-pixel-alpha surface; emoji-font runs go to the legacy engine.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"

namespace lumo::shaping {

/// (surface, advance in pixels) for `text` drawn with the font at `font_path`.
nanobind::object render_shaped_run(font::LumoFontObject* self, nanobind::handle text, nanobind::handle size,
                                   nanobind::handle color, nanobind::handle font_path, nanobind::handle face);

/// The HarfBuzz font of a file and face, one per (path, face index); None,
/// after a printed line, when it cannot be loaded.
nanobind::object get_hb_font(font::LumoFontObject* self, nanobind::handle path_data);

}  // namespace lumo::shaping
