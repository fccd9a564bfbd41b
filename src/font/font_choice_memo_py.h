// The font each character was last drawn with, kept natively across lines
// (font_choice_memo.h): a line asks the host's best-path cache (a dict of
// (character, face) keys) only for what the memo cannot answer.
#pragma once

#include <Python.h>
#include <nanobind/nanobind.h>

#include "font/emoji_presentation.h"
#include "font/font_choice_memo.h"
#include "font/lumo_font_object_py.h"

namespace lumo::font {

class FontChoiceMemo {
public:
    /// Starts afresh unless the object's best-path cache and the fields the
    /// choice depends on are what they were when the memo last learned.
    void follow(LumoFontObject* self) { memo_.follow(sources_of(self)); }

    /// The memo's number for a face word (equal words share one), or -1 for
    /// a face that is not plain text, which the memo leaves to the host's cache.
    int face_slot(PyObject* face);

    /// The path data remembered for `code` in the face numbered `face`, or nullptr.
    PyObject* find(char32_t code, int face, bool modern_font, Presentation presentation) const {
        const nanobind::object* path = memo_.find(code, face, modern_font, presentation);
        return path != nullptr ? path->ptr() : nullptr;
    }

    /// Remembers `path` (borrowed) and that the best-path cache now holds
    /// what the engine put there.
    void remember(LumoFontObject* self, char32_t code, int face, bool modern_font, Presentation presentation,
                  PyObject* path) {
        memo_.remember(sources_of(self), code, face, modern_font, presentation, nanobind::borrow(path));
    }

    /// Forgets every choice (the face numbers stay).
    void clear_choices() { memo_.clear_choices(); }
    /// Forgets everything, releasing what it holds (the object's GC clear).
    void clear() { memo_.clear(); }
    int traverse(visitproc visit, void* arg);

private:
    static ChoiceSources sources_of(LumoFontObject* self);

    ChoiceMemo<nanobind::object> memo_;
};

/// The object's memo, made on first use.
FontChoiceMemo& font_choice_memo(LumoFontObject* self);

}  // namespace lumo::font
