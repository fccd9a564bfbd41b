// The host-tunable settings as module attributes.
#include "engine/settings_py.h"

#include <array>
#include <string>

#include "engine/engine_namespace_py.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

// Interned keys: a lookup hashes nothing and compares pointers first.
std::array<PyObject*, kSettings.size()> g_keys{};

nb::object default_value(const SettingSpec& spec) {
    switch (spec.kind) {
        case SettingKind::Boolean: return nb::bool_(spec.default_value != 0);
        case SettingKind::Number: return nb::float_(spec.default_value);
        case SettingKind::PositiveInteger: return nb::int_(static_cast<long>(spec.default_value));
    }
    return nb::none();
}

nb::object expected_type(const SettingSpec& spec) {
    nb::handle int_type(reinterpret_cast<PyObject*>(&PyLong_Type));
    switch (spec.kind) {
        case SettingKind::Boolean: return nb::borrow(reinterpret_cast<PyObject*>(&PyBool_Type));
        case SettingKind::Number:
            return nb::make_tuple(int_type, nb::handle(reinterpret_cast<PyObject*>(&PyFloat_Type)));
        case SettingKind::PositiveInteger: return nb::borrow(int_type);
    }
    return nb::none();
}

}  // namespace

void install_settings(nb::dict ns) {
    for (const SettingSpec& spec : kSettings) {
        std::string name(spec.name);
        PyObject*& key = g_keys[static_cast<std::size_t>(spec.id)];
        if (key == nullptr) key = PyUnicode_InternFromString(name.c_str());
        if (key == nullptr) throw nb::python_error();
        ns[nb::handle(key)] = default_value(spec);
    }
}

void install_validators(nb::dict ns) {
    nb::dict validators;
    for (const SettingSpec& spec : kSettings)
        validators[nb::str(spec.name.data(), spec.name.size())] =
            nb::make_tuple(expected_type(spec), nb::str(spec.description.data(), spec.description.size()));
    ns["_CONFIG_VALIDATORS"] = validators;
}

nb::handle setting_value(SettingId id) {
    PyObject* key = g_keys[static_cast<std::size_t>(id)];
    PyObject* value = key ? PyDict_GetItemWithError(engine_namespace(), key) : nullptr;
    if (value == nullptr) {
        if (!PyErr_Occurred())
            PyErr_Format(PyExc_AttributeError, "lumo_font setting '%s' is missing",
                         std::string(setting_spec(id).name).c_str());
        throw nb::python_error();
    }
    return value;
}

bool setting_flag(SettingId id) {
    int truth = PyObject_IsTrue(setting_value(id).ptr());
    if (truth < 0) throw nb::python_error();
    return truth == 1;
}

}  // namespace lumo::engine
