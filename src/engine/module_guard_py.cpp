// The settings guard: validates every assignment to a module attribute and
// refuses every deletion, reporting each refusal with one printed warning.
#include "engine/module_guard_py.h"

#include <string>

#include "engine/console_py.h"
#include "engine/fixed_tables.h"
#include "engine/settings_table.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

bool name_is(PyObject* name, std::string_view candidate) {
    // Compared as text, so a str subclass with the same characters matches too.
    std::string ascii(candidate);
    return PyUnicode_CompareWithASCIIString(name, ascii.c_str()) == 0;
}

bool is_protected(PyObject* name) {
    for (std::string_view protected_name : kProtectedNames)
        if (name_is(name, protected_name)) return true;
    return false;
}

const SettingSpec* find_setting(PyObject* name) {
    for (const SettingSpec& spec : kSettings)
        if (name_is(name, spec.name)) return &spec;
    return nullptr;
}

void warn(const char* format, PyObject* name, const char* detail = nullptr) {
    nb::object text = nb::steal(PyUnicode_FromFormat(format, name, detail));
    if (!text.is_valid()) throw nb::python_error();
    print_line(text);
}

bool compare(PyObject* value, double bound, int op) {
    nb::object bound_obj = nb::steal(PyFloat_FromDouble(bound));
    int result = PyObject_RichCompareBool(value, bound_obj.ptr(), op);
    if (result < 0) throw nb::python_error();
    return result == 1;
}

bool is_instance(PyObject* value, PyObject* type) {
    int result = PyObject_IsInstance(value, type);
    if (result < 0) throw nb::python_error();
    return result == 1;
}

/// Whether `value` may be stored in `spec`; prints the refusal when not.
bool accept_setting(PyObject* name, const SettingSpec& spec, PyObject* value) {
    std::string description(spec.description);
    auto refuse_type = [&] {
        warn("[WARNING]: Invalid value for '%U'. It must be %s. Ignoring this assignment...", name,
             description.c_str());
        return false;
    };
    switch (spec.kind) {
        case SettingKind::Boolean:
            // Exactly a bool: 0 and 1 are refused although they compare equal.
            return PyBool_Check(value) ? true : refuse_type();
        case SettingKind::Number:
            if (!is_instance(value, reinterpret_cast<PyObject*>(&PyLong_Type)) &&
                !is_instance(value, reinterpret_cast<PyObject*>(&PyFloat_Type)))
                return refuse_type();
            // Compared as the host compares, so huge ints and NaN are refused, not converted.
            if (!compare(value, -kEmojiOffsetLimit, Py_GE) || !compare(value, kEmojiOffsetLimit, Py_LE)) {
                warn("[WARNING]: Invalid value for '%U'. Value is outside of safe range (-2.0 to 2.0). "
                     "Ignoring this assignment...",
                     name);
                return false;
            }
            return true;
        case SettingKind::PositiveInteger:
            // A bool is an int here, as the host's isinstance says: True is accepted.
            if (!is_instance(value, reinterpret_cast<PyObject*>(&PyLong_Type))) return refuse_type();
            if (compare(value, 0.0, Py_LE)) {
                warn("[WARNING]: Invalid value for '%U'. It must be greater than 0. Ignoring this assignment...",
                     name);
                return false;
            }
            return true;
    }
    return false;
}

int guarded_setattro(PyObject* module, PyObject* name, PyObject* value) {
    if (!PyUnicode_Check(name)) return PyObject_GenericSetAttr(module, name, value);
    try {
        if (value == nullptr) {
            if (is_protected(name))
                warn("[WARNING]: The variable '%U' is a protected local variable ( Read-Only ). "
                     "Ignoring the action of deleting its variable...",
                     name);
            else
                warn("[WARNING]: The variable '%U' is a Read-And-Write Only variable. "
                     "Ignoring the action of deleting its variable...",
                     name);
            return 0;
        }
        if (is_protected(name)) {
            warn("[WARNING]: The variable '%U' is a protected local variable ( Read-Only ). "
                 "Ignoring the action of overwriting its value...",
                 name);
            return 0;
        }
        const SettingSpec* spec = find_setting(name);
        if (spec != nullptr && !accept_setting(name, *spec, value)) return 0;
    } catch (nb::python_error& error) {
        error.restore();
        return -1;
    }
    return PyObject_GenericSetAttr(module, name, value);
}

}  // namespace

nb::object make_protected_engine_type(const char* module_name) {
    static std::string qualified_name;
    qualified_name = std::string(module_name) + "._ProtectedEngine";
    static PyType_Slot slots[] = {
        {Py_tp_setattro, reinterpret_cast<void*>(guarded_setattro)},
        {Py_tp_doc, const_cast<char*>("Module type that validates assignments to the engine's settings "
                                      "and refuses deletions.")},
        {0, nullptr},
    };
    // Same layout as the module type, so an existing module can take it as its class.
    static PyType_Spec spec = {qualified_name.c_str(), 0, 0, Py_TPFLAGS_DEFAULT, slots};
    nb::object bases = nb::make_tuple(nb::handle(reinterpret_cast<PyObject*>(&PyModule_Type)));
    PyObject* type = PyType_FromSpecWithBases(&spec, bases.ptr());
    if (type == nullptr) throw nb::python_error();
    return nb::steal(type);
}

}  // namespace lumo::engine
