// The settings guard: validates every assignment to a module attribute and
// refuses every deletion, reporting each refusal with one printed warning.
#include "engine/module_guard_py.h"

#include <string>

#include "engine/console_py.h"
#include "engine/host_text_py.h"
#include "engine/settings_guard.h"

namespace nb = nanobind;

namespace lumo::engine {
namespace {

bool is_instance(PyObject* value, PyObject* type) {
    int result = PyObject_IsInstance(value, type);
    if (result < 0) throw nb::python_error();
    return result == 1;
}

/// The assigned value, asked as the host asks: isinstance() and comparisons
/// may run the value's own code.
class HostAssignedValue final : public AssignedValue {
public:
    explicit HostAssignedValue(PyObject* value) : value_(value) {}

    bool is_bool() override { return PyBool_Check(value_); }
    bool is_int() override { return is_instance(value_, reinterpret_cast<PyObject*>(&PyLong_Type)); }
    bool is_float() override { return is_instance(value_, reinterpret_cast<PyObject*>(&PyFloat_Type)); }
    bool at_least(double bound) override { return compare(bound, Py_GE); }
    bool at_most(double bound) override { return compare(bound, Py_LE); }

private:
    bool compare(double bound, int op) {
        nb::object bound_obj = nb::steal(PyFloat_FromDouble(bound));
        if (!bound_obj.is_valid()) throw nb::python_error();
        int result = PyObject_RichCompareBool(value_, bound_obj.ptr(), op);
        if (result < 0) throw nb::python_error();
        return result == 1;
    }

    PyObject* value_;
};

int guarded_setattro(PyObject* module, PyObject* name, PyObject* value) {
    if (!PyUnicode_Check(name)) return PyObject_GenericSetAttr(module, name, value);
    try {
        // Compared as text, so a str subclass with the same characters matches too.
        const std::string name_text = utf8_of(name);
        if (value == nullptr) {
            print_line(text_from_utf8(deletion_warning(name_text)));
            return 0;
        }
        HostAssignedValue assigned(value);
        if (std::optional<std::string> refusal = assignment_refusal(name_text, assigned)) {
            print_line(text_from_utf8(*refusal));
            return 0;
        }
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
