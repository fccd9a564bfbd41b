// The engine's module-level functions that need no font work. They are plain
// CPython functions so that their documentation reads exactly as their stubs'.
#include "engine/module_functions_py.h"

#include "engine/scanning_flag.h"
#include "engine/version.h"

#include "api_docstrings.h"  // generated from scripts/stub_patterns.txt

namespace nb = nanobind;

namespace lumo::engine {
namespace {

PyObject* py_is_scanning(PyObject*, PyObject*) { return PyBool_FromLong(is_scanning()); }

PyObject* py_get_engine_version(PyObject*, PyObject*) {
    // A new text on every call, decoded from the version's bytes.
    return PyUnicode_DecodeUTF8(kEngineVersion.data(), static_cast<Py_ssize_t>(kEngineVersion.size()), "strict");
}

PyMethodDef kFunctions[] = {
    {"is_scanning", py_is_scanning, METH_NOARGS,
     "is_scanning()\n--\n\n" LUMO_DOC_IS_SCANNING},
    {"get_engine_version", py_get_engine_version, METH_NOARGS,
     "get_engine_version()\n--\n\n" LUMO_DOC_GET_ENGINE_VERSION},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

void install_module_functions(nb::dict ns, nb::str module_name) {
    for (PyMethodDef* def = kFunctions; def->ml_name != nullptr; ++def) {
        nb::object function = nb::steal(PyCFunction_NewEx(def, nullptr, module_name.ptr()));
        if (!function.is_valid()) throw nb::python_error();
        ns[def->ml_name] = function;
    }
    ns["__version__"] = nb::str(kPackageVersion.data(), kPackageVersion.size());
}

}  // namespace lumo::engine
