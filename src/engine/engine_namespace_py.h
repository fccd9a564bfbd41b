// The lumo_font module namespace, where the host's settings live, and the
// references the engine keeps for the life of the interpreter.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// Remembers `ns` as the engine's module namespace until interpreter exit.
void bind_engine_namespace(nanobind::dict ns);

/// The engine's module namespace (borrowed); raises when the engine has not started.
PyObject* engine_namespace();

/// Stores a new reference to `value` in `slot`, replacing what was there, and
/// empties `slot` when the interpreter starts to exit, while it can still free
/// what the reference points to.
void hold_until_exit(PyObject*& slot, PyObject* value);

/// `text` as an interned str, made on first use and kept in `slot` (held
/// until exit): for names looked up on every line drawn.
PyObject* interned_name(PyObject*& slot, const char* text);

}  // namespace lumo::engine
