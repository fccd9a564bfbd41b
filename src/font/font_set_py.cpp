// The font set of a font object and the keys it is asked with; see font_set_py.h.
#include "font/font_set_py.h"

#include <climits>

#include "font/object_caches_py.h"

namespace lumo::font {
namespace {

/// The UTF-8 of exactly a str, without copying; false for anything else
/// (and for text with lone surrogates, which has no UTF-8).
bool exact_text(PyObject* text, std::string& into) {
    if (!PyUnicode_CheckExact(text)) return false;
    Py_ssize_t size = 0;
    const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size);
    if (utf8 == nullptr) {
        PyErr_Clear();
        return false;
    }
    into.assign(utf8, static_cast<std::size_t>(size));
    return true;
}

}  // namespace

int HostFontSet::traverse(visitproc visit, void* arg) const {
    int status = 0;
    each_host_value([&](const nanobind::object& value) {
        if (status == 0 && value.is_valid()) status = visit(value.ptr(), arg);
    });
    return status;
}

HostFontSet& font_set(LumoFontObject* self) {
    if (self->font_set == nullptr) self->font_set = new HostFontSet();
    return *self->font_set;
}

ViewStamp stamp_of(PyObject* cache) {
    if (cache == nullptr || !PyDict_CheckExact(cache)) return {};
    return {reinterpret_cast<std::uintptr_t>(cache), dict_version(cache)};
}

bool file_key(nanobind::handle path, int face_index, FontFileKey& key) {
    key.face_index = face_index;
    key.has_path = !path.is_none();
    if (!key.has_path) {
        key.path.clear();
        return true;
    }
    return exact_text(path.ptr(), key.path);
}

namespace {

bool exact_long(PyObject* value, long& into) {
    if (!PyLong_CheckExact(value)) return false;
    int overflow = 0;
    into = PyLong_AsLongAndOverflow(value, &overflow);
    if (into == -1 && PyErr_Occurred()) {
        PyErr_Clear();
        return false;
    }
    return overflow == 0;
}

}  // namespace

bool dynamic_glyph_context(nanobind::handle size, nanobind::handle colour, nanobind::handle modern_font,
                           nanobind::handle smooth_font, nanobind::handle emoji_offset_y, nanobind::handle face,
                           DynamicGlyphContext& context) {
    if (!exact_long(size.ptr(), context.size) || !PyTuple_CheckExact(colour.ptr())) return false;
    const Py_ssize_t items = PyTuple_GET_SIZE(colour.ptr());
    context.colour.resize(static_cast<std::size_t>(items));
    for (Py_ssize_t i = 0; i < items; ++i)
        if (!exact_long(PyTuple_GET_ITEM(colour.ptr(), i), context.colour[static_cast<std::size_t>(i)])) return false;
    if (!PyBool_Check(modern_font.ptr()) || !PyBool_Check(smooth_font.ptr()) ||
        !PyFloat_CheckExact(emoji_offset_y.ptr()))
        return false;
    context.modern_font = modern_font.ptr() == Py_True;
    context.smooth_font = smooth_font.ptr() == Py_True;
    context.emoji_offset_y = PyFloat_AS_DOUBLE(emoji_offset_y.ptr());
    return exact_text(face.ptr(), context.face);
}

bool family_face_key(nanobind::handle family, nanobind::handle face, FamilyFaceKey& key) {
    key.has_face = !face.is_none();
    if (!key.has_face) key.face.clear();
    return exact_text(family.ptr(), key.family) && (!key.has_face || exact_text(face.ptr(), key.face));
}

bool size_face_key(nanobind::handle size, nanobind::handle face, SizeFaceKey& key) {
    if (!PyLong_CheckExact(size.ptr())) return false;
    int overflow = 0;
    key.pixel_size = PyLong_AsLongAndOverflow(size.ptr(), &overflow);
    if (overflow != 0) return false;
    return exact_text(face.ptr(), key.face);
}

bool sized_face_key(nanobind::handle path, int face_index, nanobind::handle size, nanobind::handle face,
                    std::span<const float> coordinates, SizedFaceKey& key) {
    if (!PyLong_CheckExact(size.ptr())) return false;
    int overflow = 0;
    const long pixel_size = PyLong_AsLongAndOverflow(size.ptr(), &overflow);
    if (overflow != 0 || pixel_size < INT_MIN || pixel_size > INT_MAX) return false;
    key.pixel_size = static_cast<int>(pixel_size);
    key.coordinates.assign(coordinates.begin(), coordinates.end());
    return file_key(path, face_index, key.file) && exact_text(face.ptr(), key.face);
}

}  // namespace lumo::font
