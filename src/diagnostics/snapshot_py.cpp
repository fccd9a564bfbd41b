// The state snapshot of a font object: a tuple of all 23 fields in
// alphabetical order of their names, tagged with a layout checksum that the
// reconstructing side verifies.
#include "diagnostics/snapshot_py.h"

#include <nanobind/stl/string.h>

#include <algorithm>
#include <array>
#include <string>

#include "diagnostics/snapshot_layout.h"
#include "engine/call_arguments_py.h"
#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"

namespace nb = nanobind;

namespace lumo::diagnostics {
namespace {

using font::FieldKind;
using font::FieldSpec;
using font::kLumoFontFields;
using font::LumoFontObject;

constexpr std::size_t kStateItems = kLumoFontFields.size();

/// The fields in snapshot order.
const std::array<const FieldSpec*, kStateItems>& snapshot_order() {
    static const auto order = [] {
        std::array<std::string_view, kStateItems> names{};
        for (std::size_t i = 0; i < kStateItems; ++i) names[i] = kLumoFontFields[i].name;
        std::array<const FieldSpec*, kStateItems> fields{};
        const std::vector<std::size_t> positions = diagnostics::snapshot_order(names);
        for (std::size_t i = 0; i < kStateItems; ++i) fields[i] = &kLumoFontFields[positions[i]];
        return fields;
    }();
    return order;
}

/// The host instance dict of a subclass instance, or null for a plain
/// LumoFont, whose type has no room for one.
nb::object instance_dict(PyObject* self) {
    nb::object attributes = nb::steal(PyObject_GenericGetDict(self, nullptr));
    if (attributes.is_valid()) return attributes;
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) throw nb::python_error();
    PyErr_Clear();
    return nb::object();
}

nb::object reconstructor() {
    return nb::handle(engine::engine_namespace()).attr("get")("_restore_lumo_font");
}

nb::object restore(nb::handle cls, nb::handle checksum, nb::handle state) {
    if (!state.is_none() && !PyTuple_Check(state.ptr())) engine::raise_argument_type_error("state", "tuple", state);
    if (!PyLong_Check(checksum.ptr())) engine::raise_argument_type_error("checksum", "int", checksum);
    long value = PyLong_AsLong(checksum.ptr());
    if (value == -1 && PyErr_Occurred()) PyErr_Clear();
    if (!accepted_checksum(value)) {
        nb::object pickle_error = nb::module_::import_("pickle").attr("PickleError");
        nb::object offered = nb::module_::import_("builtins").attr("hex")(checksum);
        std::array<std::string_view, kStateItems> fields{};
        for (std::size_t i = 0; i < kStateItems; ++i) fields[i] = snapshot_order()[i]->name;
        const std::string message = incompatible_checksum_message(nb::cast<std::string>(offered), fields);
        PyErr_SetString(pickle_error.ptr(), message.c_str());
        throw nb::python_error();
    }
    nb::object instance = cls.attr("__new__")(cls);
    if (!font::is_lumo_font(instance.ptr())) {
        PyErr_Format(PyExc_TypeError, "Expected LumoFont, got %.200s", Py_TYPE(instance.ptr())->tp_name);
        throw nb::python_error();
    }
    if (!state.is_none()) restore_lumo_font(reinterpret_cast<LumoFontObject*>(instance.ptr()), state);
    return instance;
}

}  // namespace

nb::object reduce_lumo_font(LumoFontObject* self) {
    nb::list items;
    bool any_value = false;
    for (const FieldSpec* field : snapshot_order()) {
        if (field->kind == FieldKind::Flag) {
            items.append(nb::bool_(font::flag_slot(self, *field) != 0));
            continue;
        }
        PyObject* value = font::field_slot(self, *field);
        any_value |= value != Py_None;
        items.append(nb::handle(value));
    }
    nb::object attributes = instance_dict(reinterpret_cast<PyObject*>(self));
    bool has_attributes = attributes.is_valid() && PyDict_Size(attributes.ptr()) > 0;
    if (has_attributes) items.append(attributes);
    nb::tuple state = nb::tuple(items);
    nb::handle cls(reinterpret_cast<PyObject*>(Py_TYPE(self)));
    if (state_goes_with_reconstructor(any_value, has_attributes))
        return nb::make_tuple(reconstructor(), nb::make_tuple(cls, kLayoutChecksum, state));
    return nb::make_tuple(reconstructor(), nb::make_tuple(cls, kLayoutChecksum, nb::none()), state);
}

void restore_lumo_font(LumoFontObject* self, nb::handle state) {
    if (!PyTuple_Check(state.ptr())) {
        PyErr_Format(PyExc_TypeError, "Expected tuple, got %.200s", Py_TYPE(state.ptr())->tp_name);
        throw nb::python_error();
    }
    const Py_ssize_t length = PyTuple_GET_SIZE(state.ptr());
    const StateShape shape = state_shape(static_cast<std::size_t>(length), kStateItems);
    // A short tuple is refused before anything is assigned, rather than read past its end.
    if (shape == StateShape::too_short) {
        PyErr_SetString(PyExc_TypeError, short_state_message(kStateItems, static_cast<std::size_t>(length)).c_str());
        throw nb::python_error();
    }
    // Instance attributes need an object that can hold them: refused before anything changes.
    const bool has_attributes = shape == StateShape::fields_and_attributes;
    nb::object attributes = has_attributes ? instance_dict(reinterpret_cast<PyObject*>(self)) : nb::object();
    if (has_attributes && !attributes.is_valid()) {
        PyErr_Format(PyExc_TypeError, "%.200s objects hold no instance attributes; the state has %zd items",
                     Py_TYPE(self)->tp_name, length);
        throw nb::python_error();
    }
    for (std::size_t i = 0; i < kStateItems; ++i) {
        PyObject* item = PyTuple_GET_ITEM(state.ptr(), i);
        if (!font::assign_field(self, *snapshot_order()[i], item)) throw nb::python_error();
    }
    if (has_attributes) attributes.attr("update")(nb::handle(PyTuple_GET_ITEM(state.ptr(), kStateItems)));
}

namespace {

PyObject* restore_function(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    PyObject* given[3];
    if (!engine::parse_call_arguments("_restore_lumo_font", {"cls", "checksum", "state"}, 3, args, nargs, kwnames,
                                      given))
        return nullptr;
    return engine::call_guarded([&] { return restore(given[0], given[1], given[2]); });
}

// A plain built-in function: pickle stores it by its module and name.
PyMethodDef g_restore_definition = {
    "_restore_lumo_font", reinterpret_cast<PyCFunction>(+restore_function), METH_FASTCALL | METH_KEYWORDS,
    "_restore_lumo_font(cls, checksum, state)\n--\n\n"
    "Rebuilds a LumoFont (or subclass) object from its snapshot; used by pickle and copy."};

}  // namespace

void install_snapshot_functions(nb::module_& package) {
    nb::object function = nb::steal(PyCFunction_NewEx(&g_restore_definition, nullptr, package.attr("__name__").ptr()));
    if (!function.is_valid()) throw nb::python_error();
    nb::setattr(package, "_restore_lumo_font", function);
}

}  // namespace lumo::diagnostics
