// Argument handling for the engine's native methods.
#include "engine/call_arguments_py.h"

#include <cstring>

namespace lumo::engine {

bool parse_call_arguments(const char* function, std::initializer_list<const char*> names, std::size_t required,
                          PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames, std::span<PyObject*> out) {
    return parse_call_arguments(function, std::span<const char* const>(names.begin(), names.size()), required,
                                names.size(), args, nargs, kwnames, out);
}

bool parse_call_arguments(const char* function, std::span<const char* const> names, std::size_t required,
                          std::size_t positional, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                          std::span<PyObject*> out) {
    const std::size_t count = names.size();
    nargs = PyVectorcall_NARGS(nargs);
    for (PyObject*& slot : out) slot = nullptr;
    if (static_cast<std::size_t>(nargs) > positional) {
        PyErr_Format(PyExc_TypeError, "%s() takes at most %zu positional argument%s (%zd given)", function,
                     positional, positional == 1 ? "" : "s", nargs);
        return false;
    }
    for (Py_ssize_t i = 0; i < nargs; ++i) out[static_cast<std::size_t>(i)] = args[i];

    const Py_ssize_t keyword_count = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < keyword_count; ++k) {
        PyObject* keyword = PyTuple_GET_ITEM(kwnames, k);
        std::size_t index = 0;
        for (const char* name : names) {
            if (PyUnicode_CompareWithASCIIString(keyword, name) == 0) break;
            ++index;
        }
        if (index == count) {
            PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%U'", function, keyword);
            return false;
        }
        if (out[index] != nullptr) {
            PyErr_Format(PyExc_TypeError, "%s() got multiple values for argument '%s'", function,
                         names[index]);
            return false;
        }
        out[index] = args[nargs + k];
    }
    for (std::size_t i = 0; i < required; ++i) {
        if (out[i] == nullptr) {
            PyErr_Format(PyExc_TypeError, "%s() missing required argument '%s' (pos %zu)", function,
                         names[i], i + 1);
            return false;
        }
    }
    return true;
}

bool flag_argument(PyObject* value, bool otherwise) {
    if (value == nullptr) return otherwise;
    const int truth = PyObject_IsTrue(value);
    if (truth < 0) throw nanobind::python_error();
    return truth == 1;
}

void require_positive_size(nanobind::handle size) {
    if (size.ptr() == nullptr || !PyLong_Check(size.ptr())) return;  // the type check words that error
    int overflow = 0;
    const long value = PyLong_AsLongAndOverflow(size.ptr(), &overflow);
    if (value == -1 && PyErr_Occurred()) throw nanobind::python_error();
    if (overflow > 0 || value >= 1) return;
    PyErr_Format(PyExc_ValueError, "size must be a positive integer, got %S", size.ptr());
    throw nanobind::python_error();
}

}  // namespace lumo::engine
