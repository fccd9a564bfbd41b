// Lookups in the font object's caches. The caches are the host's dicts, which
// the host may replace (even by None): plain dicts take the fast path, anything
// else goes through the host's own protocols and raises its own errors.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::font {

/// The entry under `key` (borrowed), or nullptr when there is none.
PyObject* cache_find(PyObject* cache, PyObject* key);

/// Stores `value` under `key`.
void cache_store(PyObject* cache, PyObject* key, PyObject* value);

}  // namespace lumo::font
