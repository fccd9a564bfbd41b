// Output lines of the engine, written through the host's print().
#include "engine/console_py.h"

namespace nb = nanobind;

namespace lumo::engine {

void print_line(nb::handle text) {
    // Looked up on every call: a host that replaces print() gets the lines too.
    PyObject* builtins = PyEval_GetBuiltins();
    PyObject* print_function = builtins ? PyDict_GetItemString(builtins, "print") : nullptr;
    if (print_function == nullptr) {
        PyErr_SetString(PyExc_RuntimeError, "lumo_font: print() is not available");
        throw nb::python_error();
    }
    nb::handle callable(print_function);
    callable(text);
}

void print_line(std::string_view utf8_text) {
    print_line(nb::str(utf8_text.data(), utf8_text.size()));
}

}  // namespace lumo::engine
