// The debug report: one record per character or tag of a text, telling which
// font the engine chose for it and why.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::diagnostics {

/// LumoFont.get_debug_info(text_input, face="") as a vectorcall method.
PyObject* debug_info_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace lumo::diagnostics
