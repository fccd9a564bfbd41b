// Errors raised to the host in the forms it knows.
#include "engine/host_errors_py.h"

#include <cstdlib>
#include <cstring>

#include "engine/host_text_py.h"

namespace nb = nanobind;

namespace lumo::engine {

void raise_argument_type_error(const char* argument, const char* expected, nb::handle given) {
    PyErr_Format(PyExc_TypeError, "Argument '%.200s' has incorrect type (expected %.200s, got %.200s)", argument,
                 expected, Py_TYPE(given.ptr())->tp_name);
    throw nb::python_error();
}

void raise_expected_type(const char* expected, nb::handle given) {
    PyErr_Format(PyExc_TypeError, "Expected %s, got %.200s", expected, Py_TYPE(given.ptr())->tp_name);
    throw nb::python_error();
}

void raise_value_error(const std::string& message) {
    PyErr_SetString(PyExc_ValueError, message.c_str());
    throw nb::python_error();
}

void raise_missing_attribute(nb::handle given, const char* attribute) {
    PyErr_Format(PyExc_AttributeError, "'%.50s' object has no attribute '%s'", Py_TYPE(given.ptr())->tp_name, attribute);
    throw nb::python_error();
}

void require_text_argument(nb::handle value, const char* argument) {
    if (!PyUnicode_Check(value.ptr())) raise_argument_type_error(argument, "str", value);
}

nb::object os_error(const base::FileError& error) {
    nb::object exception = nb::handle(PyExc_OSError)(error.error_number, nb::str(std::strerror(error.error_number)),
                                                     text_from_path_bytes(error.path));
    return exception;
}

void raise_os_error(const base::FileError& error) {
    nb::object exception = os_error(error);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception.ptr())), exception.ptr());
    throw nb::python_error();
}

nb::str exception_message(const nb::python_error& error) { return nb::str(error.value()); }

bool is_recoverable(const nb::python_error& error) {
    return error.matches(PyExc_Exception) && !error.matches(PyExc_MemoryError);
}

bool memory_is_short(std::size_t bytes) {
    void* probe = std::malloc(bytes);
    std::free(probe);
    return probe == nullptr;
}

void require_headroom_for_wrapper() {
    // Well above what growing the instance table of a program with a hundred
    // thousand live wrappers takes.
    constexpr std::size_t kHeadroomBytes = std::size_t{8} << 20;
    if (memory_is_short(kHeadroomBytes)) {
        PyErr_NoMemory();
        throw nb::python_error();
    }
}

}  // namespace lumo::engine
