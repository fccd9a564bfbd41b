// The font each character was last drawn with, kept natively across lines:
// a line asks the host's best-path cache (a dict of (character, face) keys)
// only for what this memo cannot answer. The memo stands for that dict while
// the dict is the same object, unchanged since the engine last wrote to it,
// and the fields the choice reads are the same objects; else it starts afresh.
#pragma once

#include <Python.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "font/emoji_presentation.h"
#include "font/lumo_font_object_py.h"

namespace lumo::font {

class FontChoiceMemo {
public:
    ~FontChoiceMemo() { clear(); }

    /// Starts afresh unless the object's best-path cache and the fields the
    /// choice depends on are what they were when the memo last learned.
    void follow(LumoFontObject* self);

    /// The memo's number for a face word (equal words share one), or -1 for
    /// a face that is not plain text, which the memo leaves to the host's cache.
    int face_slot(PyObject* face);

    /// The path data remembered for `code` in the face numbered `face`, or nullptr.
    PyObject* find(char32_t code, int face, bool modern_font, Presentation presentation) const;

    /// Remembers `path` (borrowed) and that the best-path cache now holds
    /// what the engine put there.
    void remember(LumoFontObject* self, char32_t code, int face, bool modern_font, Presentation presentation,
                  PyObject* path);

    /// Forgets every choice (the face numbers stay).
    void clear_choices();
    /// Forgets everything, releasing what it holds (the object's GC clear).
    void clear();
    int traverse(visitproc visit, void* arg);

private:
    using Key = std::uint64_t;  // code point, flags and face number
    static Key key_of(char32_t code, int face, bool modern_font, Presentation presentation);

    /// What the memo's answers were learned under.
    struct Sources {
        PyObject* path_cache = nullptr;
        Py_ssize_t path_cache_size = -1;      // -1: not a plain dict
        std::uint64_t path_cache_version = 0;  // changes with every change of the dict
        PyObject* primary_name = nullptr;
        PyObject* fallback_name = nullptr;
        PyObject* emoji_path = nullptr;
        PyObject* intl_font_paths = nullptr;
        bool operator==(const Sources&) const = default;
    };
    static Sources sources_of(LumoFontObject* self);

    Sources sources_;
    std::unordered_map<Key, PyObject*> paths_;  // strong references
    std::vector<PyObject*> faces_;              // the face words keys number, held
};

/// The object's memo, made on first use.
FontChoiceMemo& font_choice_memo(LumoFontObject* self);

}  // namespace lumo::font
