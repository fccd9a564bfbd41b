// The font object's internal operations, called directly by the engine's
// other parts (and exposed on the class under their underscore names).
// Each raises nb::python_error with the host's exception set on failure.
#pragma once

#include <nanobind/nanobind.h>

#include <cstdint>
#include <functional>

#include "font/emoji_presentation.h"
#include "font/lumo_font_object_py.h"

namespace lumo::font {

/// The constructor: sorts the font arguments into names and paths, takes the
/// face word from the primary name, and creates empty caches.
void construct_lumo_font(LumoFontObject* self, nanobind::handle primary_name, nanobind::handle fallback_name,
                         nanobind::handle fallback_dir, nanobind::handle emoji_path, nanobind::handle init_face);

/// Loads the font index, checks the fallback family and lists the
/// international fonts, once; retried after a failure.
void ensure_initialized(LumoFontObject* self);

/// The path data of the file that serves family `name` in face `face`.
nanobind::object get_true_path(LumoFontObject* self, nanobind::handle name, nanobind::handle face);

/// Whether the face named by `path_data` maps `code` to a glyph.
bool has_glyph(LumoFontObject* self, nanobind::handle path_data, std::uint32_t code);
/// The same for a host value `code` (anything that is not a code point is covered by nothing).
bool has_glyph(LumoFontObject* self, nanobind::handle path_data, nanobind::handle code);

/// Whether the object's emoji font draws its glyphs in colour. The font
/// layer cannot load fonts for drawing: those that draw pass the answer in.
using EmojiFontIsColour = std::function<bool()>;

/// The path data of the font that draws the one-character text `ch` in
/// `face`, with MODERN_FONT as the caller read it for the whole call. With a
/// colour emoji font, a character Unicode draws as text by default ("©",
/// "♥") is drawn by a text font that covers it, unless the text asks for the
/// emoji (`presentation`); U+FE0E after any emoji asks for a text font. A
/// monochrome emoji font draws every emoji it covers, whatever is asked.
nanobind::object find_best_font_path(LumoFontObject* self, nanobind::handle ch, nanobind::handle face, bool modern_font,
                                     Presentation presentation, const EmojiFontIsColour& emoji_font_is_colour);

/// The fallback, international and last-resort layers for `code` in `face`.
nanobind::object search_fallback_layers(LumoFontObject* self, std::uint32_t code, nanobind::handle face);
nanobind::object search_fallback_layers(LumoFontObject* self, nanobind::handle code, nanobind::handle face);

}  // namespace lumo::font
