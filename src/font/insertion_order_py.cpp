// The native insertion order of a first-in-first-out cache; see insertion_order_py.h.
#include "font/insertion_order_py.h"

#include "font/lumo_font_object_py.h"
#include "font/object_caches_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

DictState state_of(PyObject* cache) {
    const bool plain = PyDict_CheckExact(cache);
    return {reinterpret_cast<std::uintptr_t>(cache), plain ? dict_version(cache) : 0,
            plain ? static_cast<std::size_t>(PyDict_GET_SIZE(cache)) : 0, plain};
}

}  // namespace

void InsertionOrder::rebuild(PyObject* cache) {
    order_.rebuild(state_of(cache), [cache](auto&& append) {
        Py_ssize_t position = 0;
        PyObject *key = nullptr, *value = nullptr;
        while (PyDict_Next(cache, &position, &key, &value)) append(nb::borrow(key));
    });
}

void InsertionOrder::store(PyObject* cache, PyObject* key, PyObject* value) {
    nb::object held = nb::borrow(cache);
    const bool mirrored = order_.mirrors(state_of(cache));
    const std::size_t size_before = order_.size();
    cache_store(cache, key, value);  // the key's hash and equality may be host code
    if (!order_.note_store(mirrored, size_before, state_of(cache), nb::borrow(key))) rebuild(cache);
}

void InsertionOrder::trim(PyObject* cache, PyObject* limit) {
    // Held: the limit's comparison and the dropped entries' __del__ are host code.
    nb::object held = nb::borrow(cache);
    for (;;) {
        const Py_ssize_t length = PyObject_Length(cache);
        if (length < 0) throw nb::python_error();
        const int over = PyObject_RichCompareBool(nb::int_(length).ptr(), limit, Py_GT);
        if (over < 0) throw nb::python_error();
        if (over == 0) return;
        nb::object oldest;
        if (std::optional<nb::object> known = order_.take_oldest(state_of(cache))) {
            oldest = std::move(*known);
        } else {
            nb::object iterator = nb::steal(PyObject_GetIter(cache));
            if (!iterator.is_valid()) throw nb::python_error();
            oldest = nb::steal(PyIter_Next(iterator.ptr()));
            if (!oldest.is_valid()) throw nb::python_error();
        }
        if (PyObject_DelItem(cache, oldest.ptr()) != 0) throw nb::python_error();
        order_.note_deleted(state_of(cache));
    }
}

int InsertionOrder::traverse(visitproc visit, void* arg) {
    int status = 0;
    order_.each_key([&](const nb::object& key) {
        if (status == 0) status = visit(key.ptr(), arg);
    });
    return status;
}

InsertionOrder& text_cache_order(LumoFontObject* self) {
    if (self->text_order == nullptr) self->text_order = new InsertionOrder();
    return *self->text_order;
}

InsertionOrder& glyph_cache_order(LumoFontObject* self) {
    if (self->glyph_order == nullptr) self->glyph_order = new InsertionOrder();
    return *self->glyph_order;
}

}  // namespace lumo::font
