// The host's truth and equality tests, raising its errors as C++ exceptions.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// bool(value) as the host computes it.
inline bool truth_of(nanobind::handle value) {
    int truth = PyObject_IsTrue(value.ptr());
    if (truth < 0) throw nanobind::python_error();
    return truth == 1;
}

/// a == b as the host computes it.
inline bool host_equal(nanobind::handle a, nanobind::handle b) {
    int result = PyObject_RichCompareBool(a.ptr(), b.ptr(), Py_EQ);
    if (result < 0) throw nanobind::python_error();
    return result == 1;
}

}  // namespace lumo::engine
