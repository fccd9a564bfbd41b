// The font set of a font object (font_set.h), kept in step with the object's
// host-visible caches: the engine asks the set first and the cache only when
// the set cannot answer, and teaches the set what it read or wrote there.
#pragma once

#include <nanobind/nanobind.h>

#include <optional>
#include <span>
#include <utility>

#include "font/font_set.h"
#include "font/lumo_font_object_py.h"
#include "font/object_caches_py.h"

namespace lumo::font {

class HostFontSet final : public FontSet<nanobind::object> {
public:
    int traverse(visitproc visit, void* arg) const;
};

/// The object's font set, made on first use.
HostFontSet& font_set(LumoFontObject* self);

/// The stamp of a cache field's value now: the empty stamp for anything but
/// a plain dict, which the host may change without the engine noticing.
ViewStamp stamp_of(PyObject* cache);

/// Fills `key` for the file at `path` (text or None) and `face_index`,
/// reusing its storage. False for a key the set does not keep: text that is
/// not exactly a str (a subclass may compare otherwise) or not UTF-8.
bool file_key(nanobind::handle path, int face_index, FontFileKey& key);

/// Fills `key` for a family name (exactly a str) and face word (exactly a
/// str, or None); false otherwise.
bool family_face_key(nanobind::handle family, nanobind::handle face, FamilyFaceKey& key);

/// Fills `key` for a pixel size (exactly an int that fits) and face word
/// (exactly a str); false otherwise.
bool size_face_key(nanobind::handle size, nanobind::handle face, SizeFaceKey& key);

/// Fills `key` for a face of the file at `path` and `face_index` at a pixel
/// size (exactly an int that fits) in a face word (exactly a str), set to
/// `coordinates`; false otherwise.
bool sized_face_key(nanobind::handle path, int face_index, nanobind::handle size, nanobind::handle face,
                    std::span<const float> coordinates, SizedFaceKey& key);

/// Fills `context` from the parts of a glyph cache key besides its character:
/// a size that is exactly an int, a colour that is exactly a tuple of ints,
/// settings that are exactly bools and a float, a face that is exactly a
/// str. False for any other key, which the native memo does not keep.
bool dynamic_glyph_context(nanobind::handle size, nanobind::handle colour, nanobind::handle modern_font,
                           nanobind::handle smooth_font, nanobind::handle emoji_offset_y, nanobind::handle face,
                           DynamicGlyphContext& context);

/// The answer the host's cache in `field` holds under `key`, or else the one
/// `compute` gives, stored there. The field is read again after `compute`,
/// whose host code may replace it. `map` learns what was read or written
/// while the cache stays followable: `learned(answer)` gives the typed key
/// and value to learn, or nothing for an answer the set does not keep.
template <class Map, class Learned, class Compute>
nanobind::object consult_cache(PyObject*& field, Map& map, nanobind::handle key, Learned&& learned,
                               Compute&& compute) {
    nanobind::object cache = nanobind::borrow(field);
    const ViewStamp seen = stamp_of(cache.ptr());
    if (nanobind::object known = cache_find(cache.ptr(), key.ptr()); known.is_valid()) {
        if (auto entry = learned(known))
            map.learn_read(seen, stamp_of(cache.ptr()), std::move(entry->first), std::move(entry->second));
        return known;
    }
    nanobind::object answer = compute();
    cache = nanobind::borrow(field);
    const ViewStamp before = stamp_of(cache.ptr());
    cache_store(cache.ptr(), key.ptr(), answer.ptr());
    if (auto entry = learned(answer))
        map.learn_write(before, stamp_of(cache.ptr()), std::move(entry->first), std::move(entry->second));
    return answer;
}

}  // namespace lumo::font
