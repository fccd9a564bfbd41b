// Lookups in the font object's caches. The caches are the host's dicts, which
// the host may replace (even by None) at any moment its own code runs: a key's
// __eq__, a value's __del__. So a cache is held while it is searched, and what
// is found is returned as a strong reference.
#pragma once

#include <nanobind/nanobind.h>

#include <cstdint>

namespace lumo::font {

/// The entry under `key`, or an invalid object when there is none.
nanobind::object cache_find(PyObject* cache, PyObject* key);

/// The version tag of a dict (exactly a dict): CPython gives every dict a new
/// one at each change (PEP 509), the cheap way to know that no entry was
/// added, removed or replaced since it was read.
std::uint64_t dict_version(PyObject* dict);

/// Stores `value` under `key`.
void cache_store(PyObject* cache, PyObject* key, PyObject* value);

}  // namespace lumo::font
