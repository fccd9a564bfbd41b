// Text blocks and line metrics as LumoFont methods (vectorcall):
// render_block(text, size, color=(255, 255, 255), face="", *, wraplength=0,
// align="start", line_spacing=1.0, background=None, direction="ltr"),
// size_block(...) with the same arguments (and the effects outline,
// outline_color, shadow, shadow_color, shadow_blur, underline,
// strikethrough), draw_block(surface, pos, ..., anchor="topleft") and get_linesize(size, face=""),
// get_ascent(size, face=""), get_descent(size, face="").
#pragma once

#include <Python.h>

namespace lumo::layout {

PyObject* render_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* size_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
/// layout_block(...) with render_block()'s arguments: a TextLayout.
PyObject* layout_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* draw_block_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* block_lines_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* get_linesize_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* get_ascent_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);
PyObject* get_descent_method(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

}  // namespace lumo::layout
