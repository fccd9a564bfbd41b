// Cutting a line into runs: the core segmenter asks this file's host objects
// for fonts, palette colours and faces.
#include "render/segmentation_py.h"

#include <string>
#include <string_view>

#include "engine/engine_namespace_py.h"
#include "engine/host_text_py.h"
#include "font/emoji_ranges.h"
#include "font/font_choice_memo_py.h"
#include "font/lumo_font_methods_py.h"
#include "render/line_segmenter.h"
#include "shaping/shaped_run_py.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

bool same_path(nb::handle a, nb::handle b) {
    if (a.ptr() == b.ptr()) return true;
    int equal = PyObject_RichCompareBool(a.ptr(), b.ptr(), Py_EQ);
    if (equal < 0) throw nb::python_error();
    return equal == 1;
}

}  // namespace

bool is_palette_key(char32_t key) {
    nb::handle palette(PyDict_GetItemString(engine::engine_namespace(), "RICH_PALETTE"));
    if (!palette.is_valid()) return false;
    nb::object held = nb::borrow(palette);  // the membership test may run host code
    nb::object key_text = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(key)));
    int known = PySequence_Contains(held.ptr(), key_text.ptr());
    if (known < 0) throw nb::python_error();
    return known == 1;
}

nb::object font_for_character(font::LumoFontObject* self, nb::handle ch, nb::handle face, bool modern_font,
                              font::Presentation presentation, const font::EmojiFontIsColour& emoji_font_is_colour) {
    if (emoji_font_is_colour) return font::find_best_font_path(self, ch, face, modern_font, presentation, emoji_font_is_colour);
    return font::find_best_font_path(self, ch, face, modern_font, presentation,
                                     [self] { return shaping::draws_in_colour(self, self->emoji_path); });
}

bool starts_keycap(font::LumoFontObject* self, std::u32string_view line, std::size_t i) {
    return is_keycap_sequence_at(line, i) && font::has_glyph(self, self->emoji_path, font::kCombiningKeycap);
}

namespace {

/// The fonts, colours and faces of one line as host objects; the segmenter
/// knows them by their index here.
class HostObjects final : public SegmentationHost {
public:
    HostObjects(font::LumoFontObject* self, const LineContext& context)
        : self_(self), context_(context), memo_(font::font_choice_memo(self)) {
        memo_.follow(self);
        colours_.push_back(nb::borrow(context.color));
        faces_.push_back({nb::borrow(context.face), add_font(nb::borrow(context.fallback_path)),
                          memo_.face_slot(context.face.ptr())});
    }

    nb::handle font(int id) const { return fonts_[static_cast<std::size_t>(id)]; }
    nb::handle colour(int id) const { return colours_[static_cast<std::size_t>(id)]; }
    nb::handle face(int id) const { return faces_[static_cast<std::size_t>(id)].word; }

    bool is_palette_key(char32_t key) override { return render::is_palette_key(key); }

    int palette_colour(char32_t key) override {
        nb::handle palette(PyDict_GetItemString(engine::engine_namespace(), "RICH_PALETTE"));
        nb::object key_text = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(key)));
        nb::object colour = nb::steal(PyObject_GetItem(palette.ptr(), key_text.ptr()));
        if (!colour.is_valid()) throw nb::python_error();
        if (!colour.is_none() && !PyTuple_Check(colour.ptr())) {
            PyErr_Format(PyExc_TypeError, "Expected %s, got %.200s", "tuple", Py_TYPE(colour.ptr())->tp_name);
            throw nb::python_error();
        }
        colours_.push_back(std::move(colour));
        return static_cast<int>(colours_.size() - 1);
    }

    int call_colour() override { return 0; }

    int open_face(std::u32string_view word) override {
        nb::object face = engine::text_of_code_points(word).attr("lower")().attr("strip")();
        // Both families are resolved in the new face when the tag is met.
        font::get_true_path(self_, self_->primary_name, face);
        nb::object fallback = font::get_true_path(self_, self_->fallback_name, face);
        const int slot = memo_.face_slot(face.ptr());
        faces_.push_back({std::move(face), add_font(std::move(fallback)), slot});
        return static_cast<int>(faces_.size() - 1);
    }

    int call_face() override { return 0; }

    int font_for(char32_t code, int face, font::Presentation presentation) override {
        const Face& in_face = faces_[static_cast<std::size_t>(face)];
        if (PyObject* known = memo_.find(code, in_face.memo_slot, context_.modern_font, presentation))
            return add_font(nb::borrow(known));
        nb::object one = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(code)));
        if (!one.is_valid()) throw nb::python_error();
        nb::object path = font_for_character(self_, one, in_face.word, context_.modern_font, presentation);
        memo_.remember(self_, code, in_face.memo_slot, context_.modern_font, presentation, path.ptr());
        return add_font(std::move(path));
    }

    int fallback_font(int face) override { return faces_[static_cast<std::size_t>(face)].fallback_font; }

    int emoji_font() override { return add_font(nb::borrow(self_->emoji_path)); }

    bool same_font(int a, int b) override { return same_path(font(a), font(b)); }

    bool is_no_font(int id) override { return font(id).is_none(); }

    bool emoji_draws_keycap() override {
        return font::has_glyph(self_, self_->emoji_path, font::kCombiningKeycap);
    }

private:
    struct Face {
        nb::object word;
        int fallback_font;
        int memo_slot;  // the face's number in the font choice memo
    };

    /// The font's number: one per distinct object, so that runs compare fonts as numbers.
    int add_font(nb::object path) {
        for (std::size_t i = fonts_.size(); i-- > 0;)
            if (fonts_[i].ptr() == path.ptr()) return static_cast<int>(i);
        fonts_.push_back(std::move(path));
        return static_cast<int>(fonts_.size() - 1);
    }

    font::LumoFontObject* self_;
    const LineContext& context_;
    font::FontChoiceMemo& memo_;
    std::vector<nb::object> fonts_, colours_;
    std::vector<Face> faces_;
};

}  // namespace

SegmentedRuns segment_line(font::LumoFontObject* self, nb::handle text, const LineContext& context) {
    HostObjects host(self, context);
    const std::u32string line = engine::code_points_of(text);
    SegmentedLine segmented = segment_markup(line, host, context.markup);
    const std::vector<LinePiece> pieces = pieces_in_drawing_order(segmented, context.right_to_left_paragraph);
    SegmentedRuns result;
    result.visible = std::move(segmented.visible);
    const std::u32string_view visible = result.visible;
    result.runs.reserve(pieces.size());
    for (const LinePiece& piece : pieces)
        result.runs.push_back({visible.substr(piece.start, piece.length), nb::borrow(host.font(piece.font)),
                               nb::borrow(host.colour(piece.colour)), piece.script_group,
                               nb::borrow(host.face(piece.face)), piece.level, piece.start});
    return result;
}

}  // namespace lumo::render
