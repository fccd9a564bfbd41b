// Argument handling for the engine's native methods.
#include "engine/call_arguments_py.h"

#include <cstring>

namespace lumo::engine {

bool parse_call_arguments(const char* function, std::initializer_list<const char*> names, std::size_t required,
                          PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames, std::span<PyObject*> out) {
    const std::size_t count = names.size();
    for (PyObject*& slot : out) slot = nullptr;
    if (static_cast<std::size_t>(nargs) > count) {
        PyErr_Format(PyExc_TypeError, "%s() takes at most %zu positional argument%s (%zd given)", function, count,
                     count == 1 ? "" : "s", nargs);
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
                         names.begin()[index]);
            return false;
        }
        out[index] = args[nargs + k];
    }
    for (std::size_t i = 0; i < required; ++i) {
        if (out[i] == nullptr) {
            PyErr_Format(PyExc_TypeError, "%s() missing required argument '%s' (pos %zu)", function,
                         names.begin()[i], i + 1);
            return false;
        }
    }
    return true;
}

}  // namespace lumo::engine
