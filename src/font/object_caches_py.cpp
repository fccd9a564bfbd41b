// Lookups in the font object's caches.
#include "font/object_caches_py.h"

namespace nb = nanobind;

namespace lumo::font {

nb::object cache_find(PyObject* cache, PyObject* key) {
    nb::object held = nb::borrow(cache);
    if (PyDict_CheckExact(cache)) {
        PyObject* value = PyDict_GetItemWithError(cache, key);
        if (value == nullptr && PyErr_Occurred()) throw nb::python_error();
        return nb::borrow(value);
    }
    int present = PySequence_Contains(cache, key);
    if (present < 0) throw nb::python_error();
    if (present == 0) return nb::object();
    nb::object value = nb::steal(PyObject_GetItem(cache, key));
    if (!value.is_valid()) throw nb::python_error();
    return value;
}

std::uint64_t dict_version(PyObject* dict) {
    // Deprecated as a public field since 3.12, still kept up to date by 3.13.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    return reinterpret_cast<PyDictObject*>(dict)->ma_version_tag;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

void cache_store(PyObject* cache, PyObject* key, PyObject* value) {
    nb::object held = nb::borrow(cache);
    int status = PyDict_CheckExact(cache) ? PyDict_SetItem(cache, key, value) : PyObject_SetItem(cache, key, value);
    if (status != 0) throw nb::python_error();
}

}  // namespace lumo::font
