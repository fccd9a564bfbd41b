// The order in which the engine put entries into the object's text and glyph
// caches (insertion_order.h), following the host's dicts.
#pragma once

#include <Python.h>
#include <nanobind/nanobind.h>

#include "font/insertion_order.h"

namespace lumo::font {

class InsertionOrder {
public:
    /// Stores `value` under `key` in `cache` (the host's dict, or anything
    /// the host put in its place) and notes where it went.
    void store(PyObject* cache, PyObject* key, PyObject* value);

    /// Drops the oldest entries, first in iteration order, until `cache`
    /// holds at most `limit` (compared as the host compares: `limit` is the
    /// setting's value).
    void trim(PyObject* cache, PyObject* limit);

    void clear() { order_.clear(); }
    int traverse(visitproc visit, void* arg);

private:
    void rebuild(PyObject* cache);

    KeyOrder<nanobind::object> order_;
};

struct LumoFontObject;

/// The object's order of its text cache and of its glyph cache, made on first use.
InsertionOrder& text_cache_order(LumoFontObject* self);
InsertionOrder& glyph_cache_order(LumoFontObject* self);

}  // namespace lumo::font
