// The native insertion order of a first-in-first-out cache; see insertion_order_py.h.
#include "font/insertion_order_py.h"

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"
#include "font/object_caches_py.h"

namespace nb = nanobind;

namespace lumo::font {

bool InsertionOrder::mirrors(PyObject* cache) const {
    return cache == cache_ && PyDict_CheckExact(cache) && dict_version(cache) == version_ &&
           static_cast<std::size_t>(PyDict_GET_SIZE(cache)) == keys_.size();
}

void InsertionOrder::rebuild(PyObject* cache) {
    clear();
    if (!PyDict_CheckExact(cache)) return;
    Py_ssize_t position = 0;
    PyObject *key = nullptr, *value = nullptr;
    while (PyDict_Next(cache, &position, &key, &value)) {
        Py_INCREF(key);
        keys_.push_back(key);
    }
    cache_ = cache;
    version_ = dict_version(cache);
}

void InsertionOrder::store(PyObject* cache, PyObject* key, PyObject* value) {
    nb::object held = nb::borrow(cache);
    const bool mirrored = mirrors(cache);
    const std::size_t size_before = keys_.size();
    cache_store(cache, key, value);  // the key's hash and equality may be host code
    if (!mirrored || !PyDict_CheckExact(cache)) {
        rebuild(cache);
        return;
    }
    const auto size_now = static_cast<std::size_t>(PyDict_GET_SIZE(cache));
    if (size_now == size_before + 1) {
        Py_INCREF(key);
        keys_.push_back(key);  // a new key goes last in a dict's order
    } else if (size_now != size_before) {
        rebuild(cache);
        return;
    }
    version_ = dict_version(cache);
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
        if (mirrors(cache) && !keys_.empty()) {
            oldest = nb::steal(keys_.front());
            keys_.pop_front();
        } else {
            clear();
            nb::object iterator = nb::steal(PyObject_GetIter(cache));
            if (!iterator.is_valid()) throw nb::python_error();
            oldest = nb::steal(PyIter_Next(iterator.ptr()));
            if (!oldest.is_valid()) throw nb::python_error();
        }
        if (PyObject_DelItem(cache, oldest.ptr()) != 0) throw nb::python_error();
        if (cache == cache_ && PyDict_CheckExact(cache)) version_ = dict_version(cache);
    }
}

void InsertionOrder::clear() {
    // Released after the mirror is emptied: a key's destructor may be host code.
    std::deque<PyObject*> keys;
    keys.swap(keys_);
    cache_ = nullptr;
    version_ = 0;
    for (PyObject* key : keys) Py_DECREF(key);
}

int InsertionOrder::traverse(visitproc visit, void* arg) {
    for (PyObject* key : keys_) Py_VISIT(key);
    return 0;
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
