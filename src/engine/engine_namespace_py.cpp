// The lumo_font module namespace and the engine's interpreter-long references.
#include "engine/engine_namespace_py.h"

#include <algorithm>
#include <vector>

namespace nb = nanobind;

namespace lumo::engine {
namespace {

PyObject* g_namespace = nullptr;

std::vector<PyObject**>& held_slots() {
    static std::vector<PyObject**> slots;
    return slots;
}

void release_held_slots() {
    for (PyObject** slot : held_slots()) Py_CLEAR(*slot);
}

}  // namespace

void hold_until_exit(PyObject*& slot, PyObject* value) {
    auto& slots = held_slots();
    if (slots.empty()) nb::module_::import_("atexit").attr("register")(nb::cpp_function(&release_held_slots));
    if (std::find(slots.begin(), slots.end(), &slot) == slots.end()) slots.push_back(&slot);
    Py_XINCREF(value);
    Py_XSETREF(slot, value);
}

PyObject* interned_name(PyObject*& slot, const char* text) {
    if (slot == nullptr) {
        nb::object name = nb::steal(PyUnicode_InternFromString(text));
        if (!name.is_valid()) throw nb::python_error();
        hold_until_exit(slot, name.ptr());
    }
    return slot;
}

void bind_engine_namespace(nb::dict ns) { hold_until_exit(g_namespace, ns.ptr()); }

PyObject* engine_namespace() {
    if (g_namespace == nullptr) {
        PyErr_SetString(PyExc_RuntimeError, "lumo_font is not started (import lumo_font first)");
        throw nb::python_error();
    }
    return g_namespace;
}

}  // namespace lumo::engine
