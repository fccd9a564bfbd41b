// Face path resolution: a family name and a face word become the path data of
// the one file to draw with, from the object's own path records, the file
// system or the font index (an installed stand-in for a family it lacks),
// remembered for the object's life.
#include <string>
#include <vector>

#include "engine/console_py.h"
#include "engine/host_errors_py.h"
#include "engine/host_text_py.h"
#include "font/face_resolution.h"
#include "font/font_set_py.h"
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

/// The object's font files and its index, as the face choice asks about
/// them for one family name and face word.
class HostFaceIndex final : public FaceIndex {
public:
    HostFaceIndex(LumoFontObject* self, nb::handle name, nb::handle face)
        // Held: comparing names may run host code that replaces the object's fields.
        : self_(self), name_(name), face_(face), primary_path_(nb::borrow(self->primary_path)),
          fallback_path_(nb::borrow(self->fallback_path)) {}

    bool primary_record_names_family() override { return record_names(primary_path_.ptr(), name_); }
    bool fallback_record_names_family() override { return record_names(fallback_path_.ptr(), name_); }
    bool family_exists_on_disk() override { return exists_on_disk(name_); }

    std::string lower_family() override {
        paths_ = index_member(self_->font_map, "paths");
        if (!PyUnicode_Check(name_.ptr())) engine::raise_missing_attribute(name_, "lower");
        return index::lower_text(engine::utf8_of(name_));
    }

    std::string face_text() override { return face_.is_none() ? "None" : engine::utf8_of(nb::str(face_)); }

    int record_of(std::string_view face_name) override {
        nb::object key = engine::text_from_utf8(face_name);
        PyObject* record = PyDict_GetItemWithError(paths_.ptr(), key.ptr());
        if (record == nullptr) {
            if (PyErr_Occurred()) throw nb::python_error();
            return -1;
        }
        records_.push_back(nb::borrow(record));
        return static_cast<int>(records_.size() - 1);
    }

    std::optional<std::string> alias_of(std::string_view short_name) override {
        nb::dict names = index_member(self_->font_map, "names");
        nb::object key = engine::text_from_utf8(short_name);
        PyObject* alias = PyDict_GetItemWithError(names.ptr(), key.ptr());
        if (alias == nullptr) {
            if (PyErr_Occurred()) throw nb::python_error();
            return std::nullopt;
        }
        if (!PyUnicode_CheckExact(alias)) engine::raise_expected_type("str", alias);
        return engine::utf8_of(alias);
    }

    std::vector<std::string> face_names() override {
        std::vector<std::string> names;
        for (auto [key, record] : paths_)
            if (PyUnicode_CheckExact(key.ptr())) names.push_back(engine::utf8_of(key));
        return names;
    }

    /// The path data of the file chosen.
    nb::object path_of(const FaceFile& chosen) {
        switch (chosen.source) {
        case FaceSource::primary_record: return primary_path_;
        case FaceSource::fallback_record: return fallback_path_;
        case FaceSource::file_on_disk: {
            nb::list record;
            record.append(name_);
            record.append(-1);
            return record;
        }
        case FaceSource::stand_in: report_substitute(self_, name_, chosen.stand_in); [[fallthrough]];
        case FaceSource::index: return records_[static_cast<std::size_t>(chosen.record)];
        case FaceSource::unresolved: break;
        }
        return nb::borrow(name_);
    }

private:
    LumoFontObject* self_;
    nb::handle name_, face_;
    nb::object primary_path_, fallback_path_;
    nb::dict paths_;
    std::vector<nb::object> records_;  // every record found, numbered by position
};

}  // namespace

nb::object get_true_path(LumoFontObject* self, nb::handle name_field, nb::handle face_field) {
    // Callers pass the object's own fields, which host code run by the lookups may replace.
    nb::object name = nb::borrow(name_field), face = nb::borrow(face_field);
    if (is_empty_name(name)) return nb::none();
    HostFontSet& set = font_set(self);
    static FamilyFaceKey asked;  // reused: asking allocates nothing
    const bool keyed = family_face_key(name, face, asked);
    if (keyed) {
        if (const nb::object* known = set.resolved_files.find(stamp_of(self->path_resolve_cache), asked)) return *known;
    }
    auto learned = [&](nb::handle answer) -> std::optional<std::pair<FamilyFaceKey, nb::object>> {
        if (FamilyFaceKey key; keyed && family_face_key(name, face, key))
            return std::pair{std::move(key), nb::borrow(answer)};
        return std::nullopt;
    };
    return consult_cache(self->path_resolve_cache, set.resolved_files, nb::make_tuple(name, face), learned, [&] {
        HostFaceIndex index(self, name, face);
        return index.path_of(choose_face_file(index));
    });
}

}  // namespace lumo::font
