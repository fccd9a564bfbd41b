// Face path resolution: a family name and a face word become the path data of
// the one file to draw with, from the object's own path records, the file
// system or the font index (an installed stand-in for a family it lacks),
// remembered for the object's life.
#include <string>
#include <vector>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/family_substitutes.h"
#include "font/lumo_font_methods_py.h"
#include "font/object_caches_py.h"
#include "font/path_data_py.h"
#include "base/fs_paths.h"
#include "index/text_rules.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

bool is_empty_name(nb::handle name) {
    if (name.is_none()) return true;
    int truth = PyObject_IsTrue(name.ptr());
    if (truth < 0) throw nb::python_error();
    return truth == 0;
}

/// `record` when it is a non-empty path record whose path equals `name`.
bool record_names(PyObject* record, nb::handle name) {
    int truth = PyObject_IsTrue(record);
    if (truth < 0) throw nb::python_error();
    if (truth == 0) return false;
    nb::object first = nb::steal(PySequence_GetItem(record, 0));
    if (!first.is_valid()) throw nb::python_error();
    int equal = PyObject_RichCompareBool(name.ptr(), first.ptr(), Py_EQ);
    if (equal < 0) throw nb::python_error();
    return equal == 1;
}

/// Whether something exists at the path text `name`; anything that cannot be
/// examined (a NUL byte, an unencodable name) does not exist.
bool exists_on_disk(nb::handle name) {
    std::optional<std::string> path = engine::file_path_of(name);
    return path && base::path_exists(*path);
}

/// `low_name` + separator + face text, stripped at both ends.
nb::str candidate_key(const std::string& low_name, const char* separator, nb::handle face) {
    std::string face_text = face.is_none() ? "None" : engine::utf8_of(nb::str(face));
    return engine::text_from_utf8(index::strip_text(low_name + separator + face_text));
}

/// The index's record for the lower-case family `low_name` in `face`: the
/// face spelt family+blank+face or family+hyphen+face, else the family's
/// default face. Invalid when the index does not know the family.
nb::object index_record(LumoFontObject* self, const nb::dict& paths, const std::string& low_name, nb::handle face) {
    for (const char* separator : {" ", "-"}) {
        nb::str key = candidate_key(low_name, separator, face);
        if (PyObject* record = PyDict_GetItemWithError(paths.ptr(), key.ptr())) return nb::borrow(record);
        if (PyErr_Occurred()) throw nb::python_error();
    }
    nb::dict names = index_member(self->font_map, "names");
    nb::object target = engine::text_from_utf8(low_name);
    if (PyObject* alias = PyDict_GetItemWithError(names.ptr(), target.ptr())) {
        if (!PyUnicode_CheckExact(alias)) {
            PyErr_Format(PyExc_TypeError, "Expected str, got %.200s", Py_TYPE(alias)->tp_name);
            throw nb::python_error();
        }
        target = nb::borrow(alias);
    } else if (PyErr_Occurred()) {
        throw nb::python_error();
    }
    if (PyObject* record = PyDict_GetItemWithError(paths.ptr(), target.ptr())) return nb::borrow(record);
    if (PyErr_Occurred()) throw nb::python_error();
    return nb::object();
}

/// The index's face names (its text keys), in its order.
std::vector<std::string> face_names_of(const nb::dict& paths) {
    std::vector<std::string> names;
    for (auto [key, record] : paths)
        if (PyUnicode_CheckExact(key.ptr())) names.push_back(engine::utf8_of(key));
    return names;
}

/// Says once per object and family name which installed family draws for it.
void report_substitute(LumoFontObject* self, nb::handle name, const std::string& family) {
    if (self->substituted_families == nullptr) {
        self->substituted_families = PySet_New(nullptr);
        if (self->substituted_families == nullptr) throw nb::python_error();
    }
    nb::object reported = nb::borrow(self->substituted_families);
    int known = PySet_Contains(reported.ptr(), name.ptr());
    if (known < 0) throw nb::python_error();
    if (known) return;
    // Noted first: a host print() that draws with this object does not report it again.
    if (PySet_Add(reported.ptr(), name.ptr()) != 0) throw nb::python_error();
    nb::object asked = engine::text_from_utf8(engine::utf8_of(name));
    engine::print_line(nb::str("[WARNING] Font family {} is not installed; drawing with {} instead")
                           .format(nb::repr(asked), nb::repr(engine::text_from_utf8(family))));
}

/// What draws for a family that neither the file system nor the index knows:
/// an installed stand-in (its metric twin, a default sans, or else the
/// index's first regular face), or the name itself when none is installed.
nb::object substitute_for(LumoFontObject* self, const nb::dict& paths, nb::handle name, const std::string& low_name,
                          nb::handle face) {
    std::string family = substitute_family(low_name, [&](std::string_view candidate) {
        return index_record(self, paths, std::string(candidate), face).is_valid();
    });
    if (family.empty()) family = first_regular_face(face_names_of(paths));
    if (family.empty()) return nb::borrow(name);
    nb::object record = index_record(self, paths, index::lower_text(family), face);
    if (!record.is_valid()) return nb::borrow(name);
    report_substitute(self, name, family);
    return record;
}

nb::object resolve_uncached(LumoFontObject* self, nb::handle name, nb::handle face) {
    // Held: comparing names may run host code that replaces the object's fields.
    nb::object primary_path = nb::borrow(self->primary_path), fallback_path = nb::borrow(self->fallback_path);
    if (record_names(primary_path.ptr(), name)) return primary_path;
    if (record_names(fallback_path.ptr(), name)) return fallback_path;
    if (exists_on_disk(name)) {
        nb::list record;
        record.append(name);
        record.append(-1);
        return record;
    }
    nb::dict paths = index_member(self->font_map, "paths");
    if (!PyUnicode_Check(name.ptr())) {
        PyErr_Format(PyExc_AttributeError, "'%.50s' object has no attribute 'lower'", Py_TYPE(name.ptr())->tp_name);
        throw nb::python_error();
    }
    std::string low_name = index::lower_text(engine::utf8_of(name));
    if (nb::object record = index_record(self, paths, low_name, face); record.is_valid()) return record;
    return substitute_for(self, paths, name, low_name, face);
}

}  // namespace

nb::object get_true_path(LumoFontObject* self, nb::handle name_field, nb::handle face_field) {
    // Callers pass the object's own fields, which host code run by the lookups may replace.
    nb::object name = nb::borrow(name_field), face = nb::borrow(face_field);
    if (is_empty_name(name)) return nb::none();
    nb::object key = nb::make_tuple(name, face);
    if (nb::object known = cache_find(self->path_resolve_cache, key.ptr()); known.is_valid()) return known;
    nb::object answer = resolve_uncached(self, name, face);
    cache_store(self->path_resolve_cache, key.ptr(), answer.ptr());
    return answer;
}

}  // namespace lumo::font
