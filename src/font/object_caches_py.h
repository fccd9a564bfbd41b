// Lookups in the font object's caches. The caches are the host's dicts, which
// the host may replace (even by None) at any moment its own code runs: a key's
// __eq__, a value's __del__. So a cache is held while it is searched, and what
// is found is returned as a strong reference.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::font {

/// The entry under `key`, or an invalid object when there is none.
nanobind::object cache_find(PyObject* cache, PyObject* key);

/// Stores `value` under `key`.
void cache_store(PyObject* cache, PyObject* key, PyObject* value);

}  // namespace lumo::font
