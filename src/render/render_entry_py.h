// The render entry point: argument handling, the text cache, the dynamic
// per-character path and the composition of a line from its runs.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"

namespace lumo::render {

/// LumoFont.render(text, size, color=(255, 255, 255), dynamic=False, face="") as a vectorcall method.
PyObject* render_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace lumo::render
