// The native memo of font choices; see font_choice_memo_py.h.
#include "font/font_choice_memo_py.h"

#include "font/object_caches_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

std::uintptr_t identity(PyObject* object) { return reinterpret_cast<std::uintptr_t>(object); }

}  // namespace

int FontChoiceMemo::face_slot(PyObject* face) {
    if (!PyUnicode_CheckExact(face)) return -1;
    // Exact str against exact str: no host code runs.
    return memo_.face_slot(nb::borrow(face), [](const nb::object& known, const nb::object& asked) {
        return known.ptr() == asked.ptr() || PyUnicode_Compare(known.ptr(), asked.ptr()) == 0;
    });
}

ChoiceSources FontChoiceMemo::sources_of(LumoFontObject* self) {
    const bool plain = self->path_cache != nullptr && PyDict_CheckExact(self->path_cache);
    return {identity(self->path_cache),   plain ? PyDict_GET_SIZE(self->path_cache) : -1,
            plain ? dict_version(self->path_cache) : 0,
            identity(self->primary_name), identity(self->fallback_name), identity(self->emoji_path),
            identity(self->intl_font_paths)};
}

int FontChoiceMemo::traverse(visitproc visit, void* arg) {
    int status = 0;
    memo_.each_host_value([&](const nb::object& value) {
        if (status == 0 && value.is_valid()) status = visit(value.ptr(), arg);
    });
    return status;
}

FontChoiceMemo& font_choice_memo(LumoFontObject* self) {
    if (self->font_choices == nullptr) self->font_choices = new FontChoiceMemo();
    return *self->font_choices;
}

}  // namespace lumo::font
