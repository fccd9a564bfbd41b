// Cutting a line into runs, and ordering them for drawing.
#include "render/segmentation_py.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "engine/engine_namespace_py.h"
#include "font/lumo_font_methods_py.h"
#include "render/char_categories.h"
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

nb::object text_of(std::u32string_view chars) {
    nb::object text = nb::steal(
        PyUnicode_FromKindAndData(PyUnicode_4BYTE_KIND, chars.data(), static_cast<Py_ssize_t>(chars.size())));
    if (!text.is_valid()) throw nb::python_error();
    return text;
}

class Segmenter {
public:
    Segmenter(font::LumoFontObject* self, nb::handle text, const LineContext& context)
        : self_(self), text_(text), length_(PyUnicode_GET_LENGTH(text.ptr())), context_(context),
          color_(nb::borrow(context.color)), face_(nb::borrow(context.face)),
          primary_path_(nb::borrow(context.primary_path)), fallback_path_(nb::borrow(context.fallback_path)) {
        visible_.reserve(static_cast<std::size_t>(length_));
    }

    /// The line's visible characters, once pieces() has run.
    const std::u32string& visible() const { return visible_; }

    /// The line's stretches of one font, group, colour and face, in typed order.
    std::vector<Piece> pieces() {
        Py_ssize_t i = 0;
        while (i < length_) {
            Py_UCS4 ch = at(i);
            if (ch == '^' && i + 1 < length_ && colour_tag(at(i + 1))) {
                i += 2;
            } else if (ch == '<' && face_open_tag(i)) {
                // face_open_tag moved i past the tag
            } else if (ch == '}' && i + 1 < length_ && at(i + 1) == '>') {
                face_close_tag();
                i += 2;
            } else {
                if (!is_dropped_mark(ch)) place(ch, starts_keycap(self_, text_, i));
                ++i;
            }
        }
        flush();
        return std::move(pieces_);
    }

private:
    Py_UCS4 at(Py_ssize_t i) const { return PyUnicode_READ_CHAR(text_.ptr(), i); }

    void flush() {
        if (visible_.size() == piece_start_) return;
        pieces_.push_back({piece_start_, visible_.size() - piece_start_, last_path_, color_, group_, face_});
        piece_start_ = visible_.size();
    }

    /// "^" followed by a palette key or "r": the colour changes. The palette is
    /// read now, so a host that changed it is followed.
    bool colour_tag(Py_UCS4 key) {
        nb::object key_text = nb::steal(PyUnicode_FromOrdinal(static_cast<int>(key)));
        nb::handle palette(PyDict_GetItemString(engine::engine_namespace(), "RICH_PALETTE"));
        bool restore = key == 'r';
        if (!restore) {
            if (!palette.is_valid()) return false;
            int known = PySequence_Contains(palette.ptr(), key_text.ptr());
            if (known < 0) throw nb::python_error();
            if (known == 0) return false;
        }
        flush();
        if (restore) {
            color_ = nb::borrow(context_.color);
            return true;
        }
        nb::object colour = nb::steal(PyObject_GetItem(palette.ptr(), key_text.ptr()));
        if (!colour.is_valid()) throw nb::python_error();
        if (!colour.is_none() && !PyTuple_Check(colour.ptr())) {
            PyErr_Format(PyExc_TypeError, "Expected %s, got %.200s", "tuple", Py_TYPE(colour.ptr())->tp_name);
            throw nb::python_error();
        }
        color_ = colour;
        return true;
    }

    /// "<word={" within reach: the face changes until "}>".
    bool face_open_tag(Py_ssize_t& i) {
        Py_ssize_t window_end = std::min(length_, i + kMaxFaceTagReach + 2);
        Py_ssize_t open_at = -1;
        for (Py_ssize_t j = i; j + 1 < window_end; ++j)
            if (at(j) == '=' && at(j + 1) == '{') {
                open_at = j;
                break;
            }
        if (open_at < 0) return false;
        flush();
        Py_ssize_t word_start = (i + 1 < length_ && at(i + 1) == '/') ? i + 2 : i + 1;
        nb::object word = nb::steal(PyUnicode_Substring(text_.ptr(), std::min(word_start, open_at), open_at));
        if (!word.is_valid()) throw nb::python_error();
        face_ = word.attr("lower")().attr("strip")();
        forget_paths();
        primary_path_ = font::get_true_path(self_, self_->primary_name, face_);
        fallback_path_ = font::get_true_path(self_, self_->fallback_name, face_);
        last_path_ = nb::object();
        i = open_at + 2;
        return true;
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
    nb::handle text_;
    Py_ssize_t length_;
    const LineContext& context_;
    nb::object color_, face_, primary_path_, fallback_path_;
    nb::object last_path_;  // invalid (no character yet) is distinct from a None path
    int group_ = -1;
    std::u32string visible_;  // the line without its markup and dropped marks
    std::size_t piece_start_ = 0;
    std::vector<Piece> pieces_;
};

}  // namespace

bool starts_keycap(font::LumoFontObject* self, nb::handle text, Py_ssize_t i) {
    const Py_ssize_t length = PyUnicode_GET_LENGTH(text.ptr());
    auto at = [&](Py_ssize_t k) { return PyUnicode_READ_CHAR(text.ptr(), k); };
    if (!font::is_keycap_base(at(i))) return false;
    Py_ssize_t next = i + 1;
    if (next < length && at(next) == 0xFE0F) ++next;
    if (next >= length || at(next) != font::kCombiningKeycap) return false;
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
            runs.push_back({text_of(visible.substr(piece.start, piece.length)), piece.path, piece.color,
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
            runs.push_back({text_of(visible.substr(start, i - start)), piece.path, piece.color, piece.script_group,
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
