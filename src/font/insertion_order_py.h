// The order in which the engine put entries into one of the object's
// first-in-first-out caches (the text and glyph caches), kept natively so that
// trimming takes the oldest key at once: asking the dict for its first key
// walks past every entry deleted before it, which a cache trimmed one entry
// per line accumulates by the thousand. The mirror is used only while the
// dict is the same object, unchanged by anyone else (its version tag) and as
// big as the mirror; otherwise the dict is asked, and the mirror rebuilt.
#pragma once

#include <Python.h>

#include <cstdint>
#include <deque>

namespace lumo::font {

class InsertionOrder {
public:
    ~InsertionOrder() { clear(); }

    /// Stores `value` under `key` in `cache` (the host's dict, or anything
    /// the host put in its place) and notes where it went.
    void store(PyObject* cache, PyObject* key, PyObject* value);

    /// Drops the oldest entries, first in iteration order, until `cache`
    /// holds at most `limit` (compared as the host compares: `limit` is the
    /// setting's value).
    void trim(PyObject* cache, PyObject* limit);

    void clear();
    int traverse(visitproc visit, void* arg);

private:
    bool mirrors(PyObject* cache) const;
    void rebuild(PyObject* cache);

    std::deque<PyObject*> keys_;  // strong references, oldest first
    PyObject* cache_ = nullptr;   // compared only, never dereferenced unless it is the field's value
    std::uint64_t version_ = 0;
};

struct LumoFontObject;

/// The object's order of its text cache and of its glyph cache, made on first use.
InsertionOrder& text_cache_order(LumoFontObject* self);
InsertionOrder& glyph_cache_order(LumoFontObject* self);

}  // namespace lumo::font
