// The LumoFont fields: kind checks on assignment, and the attributes through
// which the host reads them (and writes the four public ones).
#include <array>
#include <string>

#include "font/lumo_font_object_py.h"

namespace lumo::font {
namespace {

const char* kind_name(FieldKind kind) {
    switch (kind) {
        case FieldKind::Text: return "str";
        case FieldKind::Dict: return "dict";
        case FieldKind::List: return "list";
        default: return "object";
    }
}

/// Exact types, as a typed field accepts them: a dict subclass is refused.
bool kind_accepts(FieldKind kind, PyObject* value) {
    if (value == Py_None) return true;
    switch (kind) {
        case FieldKind::Text: return PyUnicode_CheckExact(value);
        case FieldKind::Dict: return PyDict_CheckExact(value);
        case FieldKind::List: return PyList_CheckExact(value);
        default: return true;
    }
}

PyObject* get_field(PyObject* self, void* closure) {
    const FieldSpec& field = *static_cast<const FieldSpec*>(closure);
    auto* font = reinterpret_cast<LumoFontObject*>(self);
    if (field.kind == FieldKind::Flag) return PyBool_FromLong(flag_slot(font, field));
    PyObject* value = field_slot(font, field);
    return Py_NewRef(value ? value : Py_None);
}

int set_public_field(PyObject* self, PyObject* value, void* closure) {
    const FieldSpec& field = *static_cast<const FieldSpec*>(closure);
    // Deleting a public attribute leaves None in it.
    return assign_field(reinterpret_cast<LumoFontObject*>(self), field, value ? value : Py_None) ? 0 : -1;
}

std::array<std::string, kLumoFontFields.size()> g_attribute_docs;

}  // namespace

bool assign_field(LumoFontObject* self, const FieldSpec& field, PyObject* value) {
    if (field.kind == FieldKind::Flag) {
        int truth = PyObject_IsTrue(value);
        if (truth < 0) return false;
        flag_slot(self, field) = truth;
        return true;
    }
    if (!kind_accepts(field.kind, value)) {
        PyErr_Format(PyExc_TypeError, "Expected %s, got %.200s", kind_name(field.kind), Py_TYPE(value)->tp_name);
        return false;
    }
    PyObject*& slot = field_slot(self, field);
    Py_INCREF(value);
    Py_XSETREF(slot, value);
    return true;
}

const FieldSpec* find_field(std::string_view name) {
    for (const FieldSpec& field : kLumoFontFields)
        if (field.name == name) return &field;
    return nullptr;
}

std::vector<PyGetSetDef> lumo_font_attributes() {
    std::vector<PyGetSetDef> attributes;
    for (std::size_t i = 0; i < kLumoFontFields.size(); ++i) {
        const FieldSpec& field = kLumoFontFields[i];
        g_attribute_docs[i] = field.public_attribute ? "Public cache or setting of the font object."
                                                     : "Internal state, read-only.";
        attributes.push_back({field.name.data(), get_field, field.public_attribute ? set_public_field : nullptr,
                              g_attribute_docs[i].c_str(), const_cast<FieldSpec*>(&field)});
    }
    attributes.push_back({nullptr, nullptr, nullptr, nullptr, nullptr});
    return attributes;
}

}  // namespace lumo::font
