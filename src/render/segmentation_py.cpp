// Cutting a line into runs, and ordering them for drawing.
#include "render/segmentation_py.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "engine/engine_namespace_py.h"
#include "engine/host_text_py.h"
#include "font/lumo_font_methods_py.h"
#include "render/char_categories.h"
#include "render/markup.h"
#include "render/run_direction.h"
#include "render/script_groups.h"
#include "font/emoji_ranges.h"

namespace nb = nanobind;

namespace lumo::render {
namespace {

bool same_path(nb::handle a, nb::handle b) {
    if (a.ptr() == b.ptr()) return true;
    if (!a.is_valid() || !b.is_valid()) return false;
    int equal = PyObject_RichCompareBool(a.ptr(), b.ptr(), Py_EQ);
    if (equal < 0) throw nb::python_error();
    return equal == 1;
}

/// A stretch of the line's visible characters sharing font, script group,
/// colour and face: `length` characters from `start`.
struct Piece {
    std::size_t start;
    std::size_t length;
    nb::object path;
    nb::object color;
    int script_group;
    nb::object face;
};

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

namespace {

class Segmenter {
public:
    Segmenter(font::LumoFontObject* self, nb::handle text, const LineContext& context)
        : self_(self), line_(engine::code_points_of(text)), context_(context),
          color_(nb::borrow(context.color)), face_(nb::borrow(context.face)),
          primary_path_(nb::borrow(context.primary_path)), fallback_path_(nb::borrow(context.fallback_path)) {
        visible_.reserve(line_.size());
    }

    /// The line's visible characters, once pieces() has run.
    const std::u32string& visible() const { return visible_; }

    /// The line's stretches of one font, group, colour and face, in typed order.
    std::vector<Piece> pieces() {
        MarkupLexer lexer(line_, &is_palette_key);
        MarkupToken token;
        while (lexer.next(token)) {
            switch (token.kind) {
            case MarkupKind::colour_tag: colour_tag(token.code); break;
            case MarkupKind::face_open: face_open_tag(token); break;
            case MarkupKind::face_close: face_close_tag(); break;
            case MarkupKind::character:
                if (!is_dropped_mark(token.code)) place(token.code, starts_keycap(self_, line_, token.start));
                break;
            }
        }
        flush();
        return std::move(pieces_);
    }

private:
    void flush() {
        if (visible_.size() == piece_start_) return;
        pieces_.push_back({piece_start_, visible_.size() - piece_start_, last_path_, color_, group_, face_});
        piece_start_ = visible_.size();
    }

    /// A colour tag: the palette's colour from here on, or the call's for "^r".
    void colour_tag(char32_t key) {
        flush();
        if (key == U'r') {
            color_ = nb::borrow(context_.color);
            return;
        }
        nb::handle palette(PyDict_GetItemString(engine::engine_namespace(), "RICH_PALETTE"));
        nb::object key_text = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(key)));
        nb::object colour = nb::steal(PyObject_GetItem(palette.ptr(), key_text.ptr()));
        if (!colour.is_valid()) throw nb::python_error();
        if (!colour.is_none() && !PyTuple_Check(colour.ptr())) {
            PyErr_Format(PyExc_TypeError, "Expected %s, got %.200s", "tuple", Py_TYPE(colour.ptr())->tp_name);
            throw nb::python_error();
        }
        color_ = colour;
    }

    /// "<word={": the face changes until "}>".
    void face_open_tag(const MarkupToken& token) {
        flush();
        const std::u32string_view word = std::u32string_view(line_).substr(token.word_start, token.word_end - token.word_start);
        face_ = engine::text_of_code_points(word).attr("lower")().attr("strip")();
        forget_paths();
        primary_path_ = font::get_true_path(self_, self_->primary_name, face_);
        fallback_path_ = font::get_true_path(self_, self_->fallback_name, face_);
        last_path_ = nb::object();
    }

    void face_close_tag() {
        flush();
        face_ = nb::borrow(context_.face);
        forget_paths();
        primary_path_ = nb::borrow(context_.primary_path);
        fallback_path_ = nb::borrow(context_.fallback_path);
        last_path_ = nb::object();
    }

    void place(Py_UCS4 ch, bool keycap) {
        int group = classify_script(ch);
        bool inheritable = is_mark(ch) || is_format(ch);
        nb::object path;
        if (keycap) {
            path = nb::borrow(self_->emoji_path);
        } else if (inheritable && last_path_.is_valid() && !last_path_.is_none() && group_ != 0) {
            // Marks and joiners stay with the character they belong to.
            path = last_path_;
            group = group_;
        } else if (ch == 0x20 || ch == 0xA0) {
            // Spaces take the fallback font so a line keeps one height, and cost no lookup.
            path = fallback_path_;
        } else if (ch < kRememberedCodes && remembered_[ch].is_valid()) {
            // Asked before in this face during this line: the answer cannot have changed.
            path = remembered_[ch];
        } else {
            nb::object one = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(ch)));
            path = font::find_best_font_path(self_, one, face_, context_.modern_font);
            if (ch < kRememberedCodes) remembered_[ch] = path;
        }
        if (visible_.size() == piece_start_) {
            group_ = group;
        } else if (!same_path(path, last_path_) || group != group_) {
            flush();
            group_ = group;
        }
        visible_.push_back(ch);
        last_path_ = path;
    }

    void forget_paths() {
        for (nb::object& path : remembered_) path = nb::object();
    }

    // Paths of Latin-1 characters already placed in the current face.
    static constexpr Py_UCS4 kRememberedCodes = 256;
    std::array<nb::object, kRememberedCodes> remembered_;
    font::LumoFontObject* self_;
    std::u32string line_;  // the text as typed, markup included
    const LineContext& context_;
    nb::object color_, face_, primary_path_, fallback_path_;
    nb::object last_path_;  // invalid (no character yet) is distinct from a None path
    int group_ = -1;
    std::u32string visible_;  // the line without its markup and dropped marks
    std::size_t piece_start_ = 0;
    std::vector<Piece> pieces_;
};

}  // namespace

bool starts_keycap(font::LumoFontObject* self, std::u32string_view line, std::size_t i) {
    if (!font::is_keycap_base(line[i])) return false;
    std::size_t next = i + 1;
    if (next < line.size() && line[next] == 0xFE0F) ++next;
    if (next >= line.size() || line[next] != font::kCombiningKeycap) return false;
    return font::has_glyph(self, self->emoji_path, font::kCombiningKeycap);
}

std::vector<Run> segment_line(font::LumoFontObject* self, nb::handle text, const LineContext& context) {
    Segmenter segmenter(self, text, context);
    const std::vector<Piece> pieces = segmenter.pieces();
    const std::u32string_view visible = segmenter.visible();
    const std::span<const std::uint32_t> line(reinterpret_cast<const std::uint32_t*>(visible.data()), visible.size());
    std::vector<Run> runs;
    runs.reserve(pieces.size());
    // A line without right-to-left characters is left to right throughout.
    if (!may_hold_right_to_left(line)) {
        for (const Piece& piece : pieces)
            runs.push_back({std::u32string(visible.substr(piece.start, piece.length)), piece.path, piece.color,
                            piece.script_group, piece.face, 0});
        return runs;
    }

    const std::vector<std::uint8_t> levels = embedding_levels(line);
    // A piece is cut again wherever the level changes: digits inside
    // right-to-left text, a bracket between words of two directions.
    std::vector<std::uint8_t> run_levels;
    for (const Piece& piece : pieces) {
        std::size_t start = piece.start;
        const std::size_t end = piece.start + piece.length;
        for (std::size_t i = start + 1; i <= end; ++i) {
            if (i < end && levels[i] == levels[start]) continue;
            runs.push_back({std::u32string(visible.substr(start, i - start)), piece.path, piece.color, piece.script_group,
                            piece.face, levels[start]});
            run_levels.push_back(levels[start]);
            start = i;
        }
    }
    std::vector<Run> ordered;
    ordered.reserve(runs.size());
    for (std::size_t index : visual_order(run_levels)) ordered.push_back(std::move(runs[index]));
    return ordered;
}

}  // namespace lumo::render
