// Glyph coverage and the fallback layers: which font file draws a character,
// decided once per (character, face) from the fonts' character maps.
#include <string>

#include "engine/host_errors_py.h"
#include "engine/host_values_py.h"
#include "engine/host_text_py.h"
#include "engine/settings_py.h"
#include "font/cmap_reader.h"
#include "font/code_point_set_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "font/emoji_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// The coverage of the face a path data names: read once, then kept under (path, face index).
nb::object coverage_of(LumoFontObject* self, nb::handle path_data) {
    // A bare path stands for a single-font file.
    auto [real_path, face_index] = parse_path_data(path_data, -1);

    nb::object key = nb::make_tuple(real_path, face_index);
    if (nb::object known = cache_find(self->cmap_cache, key.ptr()); known.is_valid()) return known;

    CodePointSet coverage;
    // A name the file system cannot hold covers nothing.
    if (std::optional<std::string> path = engine::file_path_of(real_path); path && !path->empty())
        coverage = read_unicode_coverage(*path, face_index);
    nb::object wrapped = wrap_code_point_set(std::move(coverage));
    cache_store(self->cmap_cache, key.ptr(), wrapped.ptr());
    return wrapped;
}

bool covers(nb::handle coverage, std::uint32_t code) {
    if (const CodePointSet* set = as_code_point_set(coverage)) return set->contains(code);
    // A map put there by the host or an old snapshot: ask it as the host would.
    nb::object key = nb::int_(code);
    int present = PySequence_Contains(coverage.ptr(), key.ptr());
    if (present < 0) throw nb::python_error();
    return present == 1;
}

}  // namespace

bool has_glyph(LumoFontObject* self, nb::handle path_field, std::uint32_t code) {
    nb::object path_data = nb::borrow(path_field);  // may be a field that host code replaces
    if (!engine::truth_of(path_data.ptr())) return false;
    return covers(coverage_of(self, path_data), code);
}

bool has_glyph(LumoFontObject* self, nb::handle path_field, nb::handle code) {
    nb::object path_data = nb::borrow(path_field);  // may be a field that host code replaces
    if (!engine::truth_of(path_data.ptr())) return false;
    nb::object coverage = coverage_of(self, path_data);
    if (!PyLong_Check(code.ptr())) {
        int present = as_code_point_set(coverage) ? 0 : PySequence_Contains(coverage.ptr(), code.ptr());
        if (present < 0) throw nb::python_error();
        return present == 1;
    }
    int overflow = 0;
    long value = PyLong_AsLongAndOverflow(code.ptr(), &overflow);
    if (overflow != 0 || value < 0 || value > 0x10FFFF) return false;
    return covers(coverage, static_cast<std::uint32_t>(value));
}

namespace {

/// The first text font that covers `code` in `face`: the primary (when
/// MODERN_FONT puts it first), the fallback, then the international fonts in
/// their order; an invalid object when none does.
nb::object covering_text_font(LumoFontObject* self, std::uint32_t code, nb::handle face, nb::handle primary,
                              bool modern_font) {
    if (modern_font && has_glyph(self, primary, code)) return nb::borrow(primary);
    nb::object fallback = get_true_path(self, self->fallback_name, face);
    if (engine::truth_of(fallback.ptr()) && has_glyph(self, fallback, code)) return fallback;
    nb::object international = nb::steal(PyObject_GetIter(self->intl_font_paths));
    if (!international.is_valid()) throw nb::python_error();
    while (PyObject* raw = PyIter_Next(international.ptr())) {
        nb::object font_path = nb::steal(raw);
        if (has_glyph(self, font_path, code)) return font_path;
    }
    if (PyErr_Occurred()) throw nb::python_error();
    return nb::object();
}

}  // namespace

nb::object search_fallback_layers(LumoFontObject* self, std::uint32_t code, nb::handle face) {
    nb::object found = covering_text_font(self, code, face, nb::none(), false);
    if (found.is_valid()) return found;
    // The primary family is the last resort, whether it covers the character or not.
    return get_true_path(self, self->primary_name, face);
}

nb::object search_fallback_layers(LumoFontObject* self, nb::handle code, nb::handle face) {
    nb::object number = nb::steal(PyNumber_Index(code.ptr()));
    if (!number.is_valid()) throw nb::python_error();
    long value = PyLong_AsLong(number.ptr());
    if (value == -1 && PyErr_Occurred()) throw nb::python_error();
    // A number no character has is covered by no font: only the last resort is left.
    std::uint32_t code_point = (value < 0 || value > 0x10FFFF) ? 0x110000u : static_cast<std::uint32_t>(value);
    return search_fallback_layers(self, code_point, face);
}

nb::object find_best_font_path(LumoFontObject* self, nb::handle ch, nb::handle face, bool modern_font,
                               Presentation presentation, const EmojiFontIsColour& emoji_font_is_colour) {
    // Only an emoji of a colour emoji font is drawn otherwise when asked; what
    // is asked of it is remembered under the character and its selector.
    if (presentation != Presentation::by_default && !(font::is_emoji(ch) && emoji_font_is_colour()))
        presentation = Presentation::by_default;
    nb::object asked = nb::borrow(ch);
    if (presentation != Presentation::by_default)
        asked = nb::borrow(ch) + nb::str(presentation == Presentation::text ? "\uFE0E" : "\uFE0F");
    nb::object key = nb::make_tuple(asked, face);
    if (nb::object known = cache_find(self->path_cache, key.ptr()); known.is_valid()) return known;

    std::uint32_t code = engine::code_point_of(ch);
    // Resolved for every character, even when another layer draws it.
    nb::object primary = get_true_path(self, self->primary_name, face);
    nb::object path = nb::none();
    if (font::is_emoji(ch) && has_glyph(self, self->emoji_path, code)) {
        path = nb::borrow(self->emoji_path);
        const bool wants_text = presentation == Presentation::text ||
                                (presentation == Presentation::by_default && !has_emoji_presentation(code));
        // A symbol a text font has is drawn as text, not as a colourful picture.
        if (wants_text && emoji_font_is_colour()) {
            if (nb::object text_font = covering_text_font(self, code, face, primary, modern_font); text_font.is_valid())
                path = text_font;
        }
    }
    if (!engine::truth_of(path.ptr())) {
        if (modern_font && has_glyph(self, primary, code))
            path = primary;
        else
            path = search_fallback_layers(self, code, face);
    }
    cache_store(self->path_cache, key.ptr(), path.ptr());
    return path;
}

}  // namespace lumo::font
