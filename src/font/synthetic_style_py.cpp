// The synthetic style decision: a face word whose family has no file of its
// own for it is imitated by emboldening or slanting the file it does have.
#include "font/synthetic_style_py.h"

#include "engine/host_values_py.h"
#include "engine/engine_namespace_py.h"
#include "font/lumo_font_methods_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// The (bold, italic) pair the face-word table holds for `face`, or null.
nb::object table_entry(nb::handle face) {
    if (face.is_none() || !engine::truth_of(face.ptr())) return nb::object();
    nb::object lowered = face.attr("lower")();
    PyObject* table = PyDict_GetItemString(engine::engine_namespace(), "_SYNTHETIC_FACE_MAP");
    if (table == nullptr) return nb::object();
    int present = PySequence_Contains(table, lowered.ptr());
    if (present < 0) throw nb::python_error();
    if (present == 0) return nb::object();
    return nb::steal(PyObject_GetItem(table, lowered.ptr()));
}

/// The face whose file counts as the family's regular one. Normally the
/// object's own face; but when the word asked for is that face itself (an
/// object made as "Noto Sans Bold" draws "bold" by default), comparing it with
/// itself would always call for synthesis and embolden a real bold file a
/// second time, so the family's "regular" face is the reference instead.
nb::object reference_face(font::LumoFontObject* self, nb::handle face) {
    nb::object init_face = nb::borrow(self->init_face);  // held: the comparisons may run host code
    nb::str regular("regular");
    if (!init_face.is_none() && engine::host_equal(face, init_face) && !engine::host_equal(init_face, regular)) return regular;
    return nb::borrow(init_face);
}

}  // namespace

engine::SyntheticStyle synthetic_flags(nb::handle face) {
    nb::object entry = table_entry(face);
    if (!entry.is_valid()) return {false, false};
    nb::object bold = nb::steal(PySequence_GetItem(entry.ptr(), 0));
    nb::object italic = nb::steal(PySequence_GetItem(entry.ptr(), 1));
    if (!bold.is_valid() || !italic.is_valid()) throw nb::python_error();
    return {engine::truth_of(bold.ptr()), engine::truth_of(italic.ptr())};
}

bool lacks_face_file(font::LumoFontObject* self, nb::handle face, nb::handle actual_path) {
    nb::object regular = reference_face(self, face);
    nb::object primary_face = font::get_true_path(self, self->primary_name, face);
    nb::object primary_regular = font::get_true_path(self, self->primary_name, regular);
    // A family with its own file for the face: neither of its files is imitated.
    if (!engine::host_equal(primary_face, primary_regular) &&
        (engine::host_equal(actual_path, primary_face) || engine::host_equal(actual_path, primary_regular)))
        return false;
    nb::object fallback_face = font::get_true_path(self, self->fallback_name, face);
    nb::object fallback_regular = font::get_true_path(self, self->fallback_name, regular);
    if (engine::host_equal(fallback_face, fallback_regular)) return true;
    return !engine::host_equal(actual_path, fallback_face) && !engine::host_equal(actual_path, fallback_regular);
}

bool is_synthetic_needed(font::LumoFontObject* self, nb::handle name, nb::handle face, nb::handle actual_path) {
    if (!table_entry(face).is_valid()) return false;
    if (actual_path.is_valid() && !actual_path.is_none()) return lacks_face_file(self, face, actual_path);
    nb::object regular = reference_face(self, face);
    if (name.is_none() || !engine::truth_of(name.ptr())) return false;
    return engine::host_equal(font::get_true_path(self, name, face), font::get_true_path(self, name, regular));
}

}  // namespace lumo::font
