// The LumoFont object: its fields, what kind of value each accepts, and the
// table that drives allocation, garbage collection, attribute access and the
// state snapshot from one place.
#pragma once

#include <Python.h>

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace lumo::font {

class FontChoiceMemo;
class HostFontSet;
class InsertionOrder;

struct LumoFontObject {
    PyObject_HEAD
    PyObject* primary_name;           // family root, or the primary font's path text
    PyObject* fallback_name;          // likewise for the fallback font; "" once found missing
    PyObject* fallback_dir;           // folder of the international fonts
    PyObject* emoji_path;             // the emoji font file
    PyObject* primary_path;           // path record when the primary font was given as a file
    PyObject* fallback_path;          // likewise for the fallback font
    int anti_alias;
    PyObject* font_objs;              // sized fonts and FreeType faces
    PyObject* hb_fonts;               // HarfBuzz fonts per (path, face index)
    PyObject* path_cache;             // best font per (character, face)
    PyObject* cmap_cache;             // coverage per (path, face index)
    PyObject* pg_font_cache;          // carried in snapshots only
    PyObject* std_metrics;            // line metrics per (size, face)
    PyObject* font_map;               // the font index
    PyObject* path_resolve_cache;     // path data per (name, face)
    PyObject* intl_font_paths;        // font files of fallback_dir
    PyObject* glyph_cache;            // rendered characters of the dynamic path
    PyObject* text_cache;             // rendered lines
    PyObject* emoji_fallback_engine;  // legacy emoji fonts per pixel size
    int initialized;
    PyObject* cached_p_path;          // carried in snapshots only
    PyObject* cached_f_path_std;      // carried in snapshots only
    PyObject* init_face;              // the face used when a call names none
    // Not fields (not in snapshots), made on first use: drawn text blocks,
    // and the family names already reported as drawn by a stand-in.
    PyObject* block_cache;
    PyObject* substituted_families;
    // Not a field either: the font choices kept natively across lines.
    FontChoiceMemo* font_choices;
    // The order the engine filled the text and glyph caches in.
    InsertionOrder* text_order;
    InsertionOrder* glyph_order;
    // What the engine learned from the font caches, in typed form.
    HostFontSet* font_set;
};

enum class FieldKind {
    Text,  // str or None
    Dict,  // dict or None
    List,  // list or None
    Any,   // any value
    Flag,  // a C int used as a boolean
};

struct FieldSpec {
    std::string_view name;
    std::size_t offset;
    FieldKind kind;
    bool public_attribute;  // the host may assign and delete it
};

#define LUMO_FIELD(member, name, kind, is_public) \
    FieldSpec { name, offsetof(LumoFontObject, member), FieldKind::kind, is_public }

/// Every field, in declaration order.
inline constexpr std::array<FieldSpec, 23> kLumoFontFields = {{
    LUMO_FIELD(primary_name, "primary_name", Text, false),
    LUMO_FIELD(fallback_name, "fallback_name", Text, false),
    LUMO_FIELD(fallback_dir, "fallback_dir", Text, false),
    LUMO_FIELD(emoji_path, "emoji_path", Text, false),
    LUMO_FIELD(primary_path, "_primary_path", Any, false),
    LUMO_FIELD(fallback_path, "_fallback_path", Any, false),
    LUMO_FIELD(anti_alias, "_anti_alias", Flag, false),
    LUMO_FIELD(font_objs, "_font_objs", Dict, false),
    LUMO_FIELD(hb_fonts, "_hb_fonts", Dict, false),
    LUMO_FIELD(path_cache, "_path_cache", Dict, false),
    LUMO_FIELD(cmap_cache, "_cmap_cache", Dict, false),
    LUMO_FIELD(pg_font_cache, "_pg_font_cache", Dict, false),
    LUMO_FIELD(std_metrics, "_std_metrics", Dict, false),
    LUMO_FIELD(font_map, "_font_map", Dict, false),
    LUMO_FIELD(path_resolve_cache, "_path_resolve_cache", Dict, false),
    LUMO_FIELD(intl_font_paths, "_intl_font_paths", List, false),
    LUMO_FIELD(glyph_cache, "_glyph_cache", Dict, true),
    LUMO_FIELD(text_cache, "_text_cache", Dict, true),
    LUMO_FIELD(emoji_fallback_engine, "emoji_fallback_engine", Dict, true),
    LUMO_FIELD(initialized, "_initialized", Flag, false),
    LUMO_FIELD(cached_p_path, "_cached_p_path", Any, false),
    LUMO_FIELD(cached_f_path_std, "_cached_f_path_std", Any, false),
    LUMO_FIELD(init_face, "init_face", Text, true),
}};

#undef LUMO_FIELD

/// The storage of a value field of `self`.
inline PyObject*& field_slot(LumoFontObject* self, const FieldSpec& field) {
    return *reinterpret_cast<PyObject**>(reinterpret_cast<char*>(self) + field.offset);
}

/// The storage of a flag field of `self`.
inline int& flag_slot(LumoFontObject* self, const FieldSpec& field) {
    return *reinterpret_cast<int*>(reinterpret_cast<char*>(self) + field.offset);
}

/// Stores `value` in a value field after checking its kind; on a wrong kind
/// raises TypeError "Expected <kind>, got <type>" and keeps the old value.
/// Returns false with the error set.
bool assign_field(LumoFontObject* self, const FieldSpec& field, PyObject* value);

/// The field named `name`, or nullptr.
const FieldSpec* find_field(std::string_view name);

/// The attribute table of the type (one per field), ending with a sentinel.
std::vector<PyGetSetDef> lumo_font_attributes();

/// The LumoFont type once it is created (borrowed).
PyTypeObject* lumo_font_type();

/// Whether `object` is a LumoFont (or an instance of a host subclass).
bool is_lumo_font(PyObject* object);

}  // namespace lumo::font
