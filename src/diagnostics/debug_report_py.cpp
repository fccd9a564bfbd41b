// The debug report for the host: the walk (diagnostics/debug_report.h) asks
// the object's fonts and the host's faces and palette, and each entry becomes
// a dict.
#include "diagnostics/debug_report_py.h"

#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/debug_report.h"
#include "engine/call_arguments_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "engine/settings_py.h"
#include "font/font_set_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/path_data_py.h"
#include "render/segmentation_py.h"
#include "shaping/drawn_style_py.h"
#include "shaping/native_fonts_py.h"
#include "shaping/shaped_run_py.h"
#include "font/synthetic_style_py.h"

namespace nb = nanobind;

namespace lumo::diagnostics {
namespace {

using font::LumoFontObject;

nb::str text_of(std::string_view view) { return nb::str(view.data(), view.size()); }

nb::object character(char32_t code) { return nb::steal(PyUnicode_FromOrdinal(static_cast<int>(code))); }

bool is_record(nb::handle value) { return PyList_Check(value.ptr()) || PyTuple_Check(value.ptr()); }

/// The path text of path data: item 0 of a record, the value itself otherwise.
nb::object path_text(nb::handle path_data) {
    return is_record(path_data) ? nb::object(path_data[0]) : nb::borrow(path_data);
}

/// One entry of the report, its keys in the report's order.
nb::dict entry_of(nb::handle ch, nb::handle font, const EntryLabels& labels, nb::handle context, nb::handle tag_type) {
    nb::dict record;
    record["char"] = ch;
    record["hex"] = text_of(labels.hex);
    record["category"] = text_of(labels.category);
    record["script"] = text_of(labels.script);
    record["font"] = font;
    record["font_source"] = text_of(labels.font_source);
    record["ttc_index"] = labels.ttc_index;
    record["has_glyph"] = labels.has_glyph;
    record["synthetic"] = text_of(labels.synthetic);
    record["render_path"] = text_of(labels.render_path);
    record["tag_context"] = context;
    record["is_tag"] = labels.is_tag;
    record["tag_type"] = tag_type;
    return record;
}

/// What the report asks of the fonts it meets, asked once per font and
/// report. The report keeps no HarfBuzz font on the object: what it leaves
/// there stays something the host can serialise and copy.
class FontFacts {
public:
    explicit FontFacts(LumoFontObject* self) : self_(self) {}

    bool has_colour_glyphs(nb::handle path_data) { return facts_of(path_data).colour; }

    /// The axes and named instances of a variable font; null for any other.
    const shaping::FontVariations* variations(nb::handle path_data) {
        const Facts& facts = facts_of(path_data);
        return facts.variations.is_variable() ? &facts.variations : nullptr;
    }

private:
    struct Facts {
        bool colour = false;
        shaping::FontVariations variations;
    };

    const Facts& facts_of(nb::handle path_data) {
        font::PathData where = font::parse_path_data(path_data, 0);
        font::FontFileKey key;
        const bool keyed = font::file_key(where.path, where.index, key);
        if (keyed) {
            if (auto known = facts_.find(key); known != facts_.end()) return known->second;
        }
        Facts facts;
        nb::object font = shaping::font_for_question(self_, path_data);
        if (const shaping::HarfBuzzFontObject* harfbuzz = font.is_valid() ? shaping::as_harfbuzz_font(font) : nullptr;
            harfbuzz != nullptr && harfbuzz->font) {
            facts.colour = harfbuzz->font->has_colour_glyphs();
            facts.variations = harfbuzz->font->variations();
        }
        if (!keyed) return unkeyed_ = std::move(facts);
        return facts_.emplace(std::move(key), std::move(facts)).first->second;
    }

    LumoFontObject* self_;
    std::unordered_map<font::FontFileKey, Facts, font::FontSetKeyHash> facts_;
    Facts unkeyed_;  // of a path no key can hold, asked again each time
};

/// The report's questions answered by the object and the host: its fonts,
/// the faces as the host lower-cases them, and its palette.
class HostReport final : public ReportFonts, private SourceQuestions {
public:
    HostReport(LumoFontObject* self, nb::handle call_face) : self_(self), font_facts_(self) {
        faces_.push_back(nb::borrow(call_face));
    }

    nb::handle face(std::size_t number) const { return faces_[number]; }

    bool is_palette_key(char32_t key) override { return render::is_palette_key(key); }
    void face_opened(std::u32string_view word) override {
        faces_.push_back(engine::text_of_code_points(word).attr("lower")().attr("strip")());
    }
    bool starts_keycap(std::u32string_view text, std::size_t position) override {
        return render::starts_keycap(self_, text, position);
    }
    bool choose_font(char32_t code, std::size_t face, bool keycap, font::Presentation presentation) override {
        nb::object ch = character(code);
        chosen_ = keycap ? nb::borrow(self_->emoji_path)
                         : render::font_for_character(
                               self_, ch, faces_[face], engine::setting_flag(engine::SettingId::ModernFont),
                               presentation,
                               [&] { return font_facts_.has_colour_glyphs(nb::borrow(self_->emoji_path)); });
        return engine::truth_of(chosen_);
    }
    std::u32string chosen_path() override {
        file_name_ = nb::str(path_text(chosen_));
        return engine::code_points_of(file_name_);
    }
    long chosen_face_index() override {
        if (!is_record(chosen_) || PyObject_Length(chosen_.ptr()) < 2) return -1;
        return nb::cast<long>(nb::int_(chosen_[1]));
    }
    bool chosen_covers(char32_t code) override {
        return font::has_glyph(self_, chosen_, static_cast<std::uint32_t>(code));
    }
    SourceQuestions& chosen_sources(std::size_t face) override {
        primary_ = font::get_true_path(self_, self_->primary_name, faces_[face]);
        fallback_ = font::get_true_path(self_, self_->fallback_name, faces_[face]);
        return *this;
    }
    /// None for a face that a variable font draws on its own axes.
    shaping::DrawnStyle imitated_style(std::size_t face) override {
        const shaping::FontVariations* variations =
            engine::truth_of(faces_[face]) && engine::truth_of(chosen_) ? font_facts_.variations(chosen_) : nullptr;
        return shaping::drawn_style(self_, chosen_, faces_[face], variations, true);
    }
    bool chosen_has_colour_glyphs() override { return font_facts_.has_colour_glyphs(chosen_); }

private:
    bool is_primary() override { return is_file_of(primary_); }
    bool is_fallback() override { return is_file_of(fallback_); }
    bool is_emoji_font() override {
        nb::object emoji_path = nb::borrow(self_->emoji_path);  // held while compared by host code
        return engine::truth_of(emoji_path.ptr()) && engine::host_equal(file_name_, emoji_path);
    }
    bool is_file_of(nb::handle family_file) {
        return engine::host_equal(chosen_, family_file) ||
               engine::host_equal(file_name_, nb::str(path_text(family_file)));
    }

    LumoFontObject* self_;
    FontFacts font_facts_;
    std::vector<nb::object> faces_;  // the call's face, then those the face tags open
    nb::object chosen_, file_name_, primary_, fallback_;  // the font chosen for the character in hand
};

nb::object tag_type(const ReportEntry& entry, nb::handle face) {
    switch (entry.tag) {
    case ReportTag::colour: return nb::str("COLOR:") + nb::str(character(entry.code));
    case ReportTag::face_open: return nb::str("FACE_OPEN:") + nb::str(face);
    case ReportTag::face_close: return nb::str("FACE_CLOSE");
    case ReportTag::none: break;
    }
    return nb::str("-");
}

nb::list debug_info(LumoFontObject* self, PyObject* text_input, PyObject* face_argument) {
    if (face_argument != nullptr && face_argument != Py_None && !PyUnicode_Check(face_argument))
        engine::raise_argument_type_error("face", "str", face_argument);
    font::ensure_initialized(self);
    nb::object call_face = (face_argument != nullptr && face_argument != Py_None &&
                            PyUnicode_GET_LENGTH(face_argument) > 0)
                               ? nb::handle(face_argument).attr("lower")()
                               : nb::borrow(self->init_face);
    nb::object text = PyUnicode_Check(text_input) ? nb::borrow(text_input) : nb::str(nb::handle(text_input));
    HostReport fonts(self, call_face);
    nb::list info;
    for (const ReportEntry& entry : debug_report(engine::code_points_of(text), fonts)) {
        nb::object ch = entry.tag == ReportTag::none ? character(entry.code) : nb::str(" ");
        info.append(entry_of(ch, engine::text_of_code_points(entry.font), entry.labels, fonts.face(entry.face),
                             tag_type(entry, fonts.face(entry.face))));
    }
    return info;
}

}  // namespace

PyObject* debug_info_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    PyObject* given[2];
    if (!engine::parse_call_arguments("get_debug_info", {"text_input", "face"}, 1, args, nargs, kwnames, given))
        return nullptr;
    return engine::call_guarded([&] { return debug_info(reinterpret_cast<LumoFontObject*>(self), given[0], given[1]); });
}

}  // namespace lumo::diagnostics
