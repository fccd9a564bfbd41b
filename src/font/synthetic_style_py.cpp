// The synthetic style decision: a face word whose family has no file of its
// own for it is imitated by emboldening or slanting the file it does have.
#include "font/synthetic_style_py.h"

#include <array>

#include "engine/host_values_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_text_py.h"
#include "font/synthetic_style.h"
#include "font/lumo_font_methods_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

/// The (bold, italic) pair the face-word table holds for `face`, or null.
nb::object table_entry(nb::handle face) {
    if (face.is_none() || !engine::truth_of(face.ptr())) return nb::object();
    nb::object lowered = engine::lowered_text(face);
    static PyObject* table_name = nullptr;
    PyObject* table =
        PyDict_GetItemWithError(engine::engine_namespace(), engine::interned_name(table_name, "_SYNTHETIC_FACE_MAP"));
    if (table == nullptr) {
        if (PyErr_Occurred()) throw nb::python_error();
        return nb::object();
    }
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

/// The files of the object's families (and of a family asked about by name)
/// for one face word, resolved when the decision first asks about them, and
/// the file being drawn.
class HostFamilyFiles final : public FamilyFiles {
public:
    HostFamilyFiles(font::LumoFontObject* self, nb::handle name, nb::handle face, nb::handle drawn)
        : self_(self), name_(name), face_(face), drawn_(drawn), regular_(reference_face(self, face)) {}

    bool has_own_face_file(FamilyRole family) override {
        const Files& files = files_of(family);
        return !engine::host_equal(files.face, files.regular);
    }
    bool draws_face_file(FamilyRole family) override { return engine::host_equal(drawn_, files_of(family).face); }
    bool draws_regular_file(FamilyRole family) override {
        return engine::host_equal(drawn_, files_of(family).regular);
    }

private:
    struct Files {
        nb::object face, regular;
    };

    const Files& files_of(FamilyRole family) {
        Files& files = files_[static_cast<std::size_t>(family)];
        if (!files.face.is_valid()) {
            nb::handle name = family == FamilyRole::primary    ? nb::handle(self_->primary_name)
                              : family == FamilyRole::fallback ? nb::handle(self_->fallback_name)
                                                               : name_;
            files.face = font::get_true_path(self_, name, face_);
            files.regular = font::get_true_path(self_, name, regular_);
        }
        return files;
    }

    font::LumoFontObject* self_;
    nb::handle name_, face_, drawn_;
    nb::object regular_;
    std::array<Files, 3> files_;
};

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
    HostFamilyFiles files(self, nb::handle(), face, actual_path);
    return lacks_face_file(files);
}

bool is_synthetic_needed(font::LumoFontObject* self, nb::handle name, nb::handle face, nb::handle actual_path) {
    if (!table_entry(face).is_valid()) return false;
    const bool drawn_file_known = actual_path.is_valid() && !actual_path.is_none();
    HostFamilyFiles files(self, name, face, actual_path);
    const bool family_named = !drawn_file_known && !name.is_none() && engine::truth_of(name.ptr());
    return needs_synthesis(true, drawn_file_known, family_named, files);
}

}  // namespace lumo::font
