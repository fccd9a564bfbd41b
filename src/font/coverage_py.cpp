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
#include "font/fallback_layers.h"
#include "font/font_set_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// The coverage the font set learned for the face `where` names, while the
/// coverage cache is unchanged since; null when it must be asked.
const LearnedCoverage<nb::object>* learned_coverage(LumoFontObject* self, const PathData& where) {
    static FontFileKey asked;  // reused: asking allocates nothing
    if (!file_key(where.path, where.index, asked)) return nullptr;
    return font_set(self).coverage.find(stamp_of(self->cmap_cache), asked);
}

/// The coverage of the face `where` names: read once, then kept under (path, face index).
nb::object coverage_of(LumoFontObject* self, const PathData& where) {
    // A map the host put there may change in place: only a CodePointSet is learned.
    auto learned = [&](nb::handle coverage) -> std::optional<std::pair<FontFileKey, LearnedCoverage<nb::object>>> {
        const CodePointSet* set = as_code_point_set(coverage);
        if (FontFileKey key; set != nullptr && file_key(where.path, where.index, key))
            return std::pair{std::move(key), LearnedCoverage<nb::object>{nb::borrow(coverage), set}};
        return std::nullopt;
    };
    return consult_cache(self->cmap_cache, font_set(self).coverage, nb::make_tuple(where.path, where.index), learned,
                         [&] {
                             CodePointSet coverage;
                             // A name the file system cannot hold covers nothing.
                             if (std::optional<std::string> path = engine::file_path_of(where.path);
                                 path && !path->empty())
                                 coverage = read_unicode_coverage(*path, where.index);
                             return wrap_code_point_set(std::move(coverage));
                         });
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
    // A bare path stands for a single-font file.
    const PathData where = parse_path_data(path_data, -1);
    if (const LearnedCoverage<nb::object>* learned = learned_coverage(self, where)) return learned->set->contains(code);
    return covers(coverage_of(self, where), code);
}

bool has_glyph(LumoFontObject* self, nb::handle path_field, nb::handle code) {
    nb::object path_data = nb::borrow(path_field);  // may be a field that host code replaces
    if (!engine::truth_of(path_data.ptr())) return false;
    nb::object coverage = coverage_of(self, parse_path_data(path_data, -1));
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

/// The font layers of one object for one character in one face, answered
/// from its fields and caches. The path data of the layer the search settles
/// on is the object it asked about.
class HostFontLayers final : public FontLayers {
public:
    HostFontLayers(LumoFontObject* self, nb::handle ch, nb::handle face, const EmojiFontIsColour& emoji_font_is_colour,
                   nb::handle primary = nb::handle())
        : self_(self), ch_(ch), face_(face), emoji_font_is_colour_(emoji_font_is_colour), primary_(nb::borrow(primary)) {}

    bool is_emoji(char32_t) override { return font::is_emoji(ch_); }
    bool emoji_font_is_colour() override { return emoji_font_is_colour_(); }

    bool emoji_font_covers(char32_t code) override {
        emoji_ = nb::borrow(self_->emoji_path);  // may be a field that host code replaces
        return has_glyph(self_, emoji_, code);
    }

    bool primary_covers(char32_t code) override { return has_glyph(self_, primary_, code); }

    bool fallback_covers(char32_t code) override {
        fallback_ = get_true_path(self_, self_->fallback_name, face_);
        return engine::truth_of(fallback_.ptr()) && has_glyph(self_, fallback_, code);
    }

    std::optional<bool> international_covers(std::size_t position, char32_t code) override {
        if (position == 0) {
            international_ = nb::steal(PyObject_GetIter(self_->intl_font_paths));
            if (!international_.is_valid()) throw nb::python_error();
        }
        PyObject* next = PyIter_Next(international_.ptr());
        if (next == nullptr) {
            if (PyErr_Occurred()) throw nb::python_error();
            return std::nullopt;
        }
        candidate_ = nb::steal(next);
        return has_glyph(self_, candidate_, code);
    }

    /// The path data of the layer chosen.
    nb::object path_of(const LayerChoice& choice) {
        switch (choice.layer) {
        case FontLayer::emoji: return emoji_;
        case FontLayer::primary: return primary_;
        case FontLayer::fallback: return fallback_;
        case FontLayer::international: return candidate_;
        case FontLayer::last_resort: break;
        }
        // The primary family is the last resort, whether it covers the character or not.
        return get_true_path(self_, self_->primary_name, face_);
    }

private:
    LumoFontObject* self_;
    nb::handle ch_, face_;
    const EmojiFontIsColour& emoji_font_is_colour_;
    nb::object primary_, emoji_, fallback_, international_, candidate_;
};

const EmojiFontIsColour kNeverAsked = [] { return false; };

}  // namespace

nb::object search_fallback_layers(LumoFontObject* self, std::uint32_t code, nb::handle face) {
    HostFontLayers layers(self, nb::handle(), face, kNeverAsked);
    return layers.path_of(font::search_fallback_layers(code, layers));
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
    if (presentation != Presentation::by_default) {
        HostFontLayers asking(self, ch, face, emoji_font_is_colour);
        presentation = effective_presentation(engine::code_point_of(ch), presentation, asking);
    }
    // What is asked of an emoji is remembered under the character and its selector.
    nb::object asked = nb::borrow(ch);
    if (presentation != Presentation::by_default)
        asked = nb::borrow(ch) + nb::str(presentation == Presentation::text ? "\uFE0E" : "\uFE0F");
    nb::object key = nb::make_tuple(asked, face);
    if (nb::object known = cache_find(self->path_cache, key.ptr()); known.is_valid()) return known;

    std::uint32_t code = engine::code_point_of(ch);
    // Resolved for every character, even when another layer draws it.
    nb::object primary = get_true_path(self, self->primary_name, face);
    HostFontLayers layers(self, ch, face, emoji_font_is_colour, primary);
    nb::object path = layers.path_of(choose_font_layer(code, modern_font, presentation, layers));
    cache_store(self->path_cache, key.ptr(), path.ptr());
    return path;
}

}  // namespace lumo::font
