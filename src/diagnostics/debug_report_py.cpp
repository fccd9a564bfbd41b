// The debug report: walks a text as rendering does, reading the markup its own
// way (a face-open tag with or without a slash, no nesting), and returns one
// dict per character or tag instead of drawing.
#include "diagnostics/debug_report_py.h"

#include <unordered_map>
#include <string>
#include <string_view>

#include "diagnostics/debug_labels.h"
#include "engine/call_arguments_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "engine/host_values_py.h"
#include "engine/settings_py.h"
#include "font/font_set_py.h"
#include "font/lumo_font_methods_py.h"
#include "font/path_data_py.h"
#include "render/markup.h"
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

nb::dict tag_record(nb::handle context, nb::handle tag_type) {
    return entry_of(nb::str(" "), nb::str("-"), tag_labels(), context, tag_type);
}

/// The families' files in the report's face, compared with the font chosen.
class HostSources final : public SourceQuestions {
public:
    HostSources(LumoFontObject* self, nb::handle chosen, nb::handle file_name, nb::handle face)
        : self_(self), chosen_(chosen), file_name_(file_name),
          primary_(font::get_true_path(self, self->primary_name, face)),
          fallback_(font::get_true_path(self, self->fallback_name, face)) {}

    bool is_primary() override { return is_file_of(primary_); }
    bool is_fallback() override { return is_file_of(fallback_); }
    bool is_emoji_font() override {
        nb::object emoji_path = nb::borrow(self_->emoji_path);  // held while compared by host code
        return engine::truth_of(emoji_path.ptr()) && engine::host_equal(file_name_, emoji_path);
    }

private:
    bool is_file_of(nb::handle family_file) {
        return engine::host_equal(chosen_, family_file) || engine::host_equal(file_name_, nb::str(path_text(family_file)));
    }

    LumoFontObject* self_;
    nb::handle chosen_, file_name_;
    nb::object primary_, fallback_;
};

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

/// The effects drawing `chosen` in `face` imitates: none for a face a
/// variable font draws on its own axes.
shaping::DrawnStyle imitated_style(LumoFontObject* self, FontFacts& font_facts, nb::handle chosen, nb::handle face) {
    const shaping::FontVariations* variations =
        engine::truth_of(face) && engine::truth_of(chosen) ? font_facts.variations(chosen) : nullptr;
    return shaping::drawn_style(self, chosen, face, variations, true);
}

nb::dict character_record(LumoFontObject* self, FontFacts& font_facts, Py_UCS4 code, nb::handle face,
                          bool keycap, font::Presentation presentation) {
    nb::object ch = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(code)));
    // A keycap's digit is drawn with its keycap by the emoji font, as render does.
    nb::object chosen = keycap ? nb::borrow(self->emoji_path)
                               : render::font_for_character(
                                     self, ch, face, engine::setting_flag(engine::SettingId::ModernFont), presentation,
                                     [&] { return font_facts.has_colour_glyphs(nb::borrow(self->emoji_path)); });
    CharacterFacts facts;
    facts.code = code;
    facts.font_chosen = engine::truth_of(chosen);
    nb::object font_name = nb::str("NOT_FOUND");
    if (facts.font_chosen) {
        nb::object file_name = nb::str(path_text(chosen));
        if (is_record(chosen) && PyObject_Length(chosen.ptr()) >= 2)
            facts.ttc_index = nb::cast<long>(nb::int_(chosen[1]));
        font_name = engine::text_of_code_points(file_name_of(engine::code_points_of(file_name)));
        facts.covered = font::has_glyph(self, chosen, static_cast<std::uint32_t>(code));
        HostSources sources(self, chosen, file_name, face);
        facts.source = font_source_of(true, sources);
    }
    const shaping::DrawnStyle style = imitated_style(self, font_facts, chosen, face);
    facts.synthetic_bold = style.synthetic_bold;
    facts.synthetic_italic = style.synthetic_italic;
    facts.colour_glyphs = facts.font_chosen && font_facts.has_colour_glyphs(chosen);
    return entry_of(ch, font_name, character_labels(facts), face, nb::str("-"));
}

nb::list debug_info(LumoFontObject* self, PyObject* text_input, PyObject* face_argument) {
    if (face_argument != nullptr && face_argument != Py_None && !PyUnicode_Check(face_argument))
        engine::raise_argument_type_error("face", "str", face_argument);
    font::ensure_initialized(self);
    nb::object base_face = (face_argument != nullptr && face_argument != Py_None &&
                            PyUnicode_GET_LENGTH(face_argument) > 0)
                               ? nb::handle(face_argument).attr("lower")()
                               : nb::borrow(self->init_face);
    nb::object text = PyUnicode_Check(text_input) ? nb::borrow(text_input) : nb::str(nb::handle(text_input));
    nb::object face = base_face;
    nb::list info;
    FontFacts font_facts(self);
    const std::u32string line = engine::code_points_of(text);
    render::MarkupLexer lexer(line, &render::is_palette_key);
    render::MarkupToken token;
    while (lexer.next(token)) {
        switch (token.kind) {
        case render::MarkupKind::colour_tag: {
            nb::object key = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(token.code)));
            info.append(tag_record(face, nb::str("COLOR:") + nb::str(key)));
            break;
        }
        case render::MarkupKind::face_open: {
            const std::u32string_view word = std::u32string_view(line).substr(token.word_start, token.word_end - token.word_start);
            face = engine::text_of_code_points(word).attr("lower")().attr("strip")();
            info.append(tag_record(face, nb::str("FACE_OPEN:") + nb::str(face)));
            break;
        }
        case render::MarkupKind::face_close:
            face = base_face;
            info.append(tag_record(face, nb::str("FACE_CLOSE")));
            break;
        case render::MarkupKind::character:
            info.append(character_record(self, font_facts, token.code, face,
                                         render::starts_keycap(self, line, token.start),
                                         font::requested_presentation(line, token.start)));
            break;
        }
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
