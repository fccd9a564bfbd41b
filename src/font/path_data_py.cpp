// Path data: a path record or a bare path text; the index members that hold records.
#include "font/path_data_py.h"

#include <climits>

#include "engine/host_errors_py.h"

namespace nb = nanobind;

namespace lumo::font {
namespace {

int face_index_of(PyObject* item) {
    nb::object number = nb::steal(PyNumber_Index(item));
    if (!number.is_valid()) throw nb::python_error();
    int overflow = 0;
    long value = PyLong_AsLongAndOverflow(number.ptr(), &overflow);
    if (overflow != 0 || value > INT_MAX || value < INT_MIN) {
        PyErr_SetString(PyExc_OverflowError, "value too large to convert to int");
        throw nb::python_error();
    }
    return static_cast<int>(value);
}

}  // namespace

PathData parse_path_data(nb::handle path_data, int bare_index) {
    PathData result{nb::borrow(path_data), bare_index};
    if (PyList_Check(path_data.ptr()) || PyTuple_Check(path_data.ptr())) {
        result.path = nb::steal(PySequence_GetItem(path_data.ptr(), 0));
        if (!result.path.is_valid()) throw nb::python_error();
        nb::object index_item = nb::steal(PySequence_GetItem(path_data.ptr(), 1));
        if (!index_item.is_valid()) throw nb::python_error();
        result.index = face_index_of(index_item.ptr());
    }
    if (!result.path.is_none() && !PyUnicode_CheckExact(result.path.ptr())) engine::raise_expected_type("str", result.path);
    return result;
}

nb::dict index_member(PyObject* font_map_field, const char* member) {
    nb::object font_map = nb::borrow(font_map_field);  // may be a field that host code replaces
    if (font_map.is_none()) engine::raise_missing_attribute(font_map, "get");
    nb::object value = font_map.attr("get")(member);
    if (value.is_none()) return nb::dict();
    if (!PyDict_CheckExact(value.ptr())) engine::raise_expected_type("dict", value);
    return nb::borrow<nb::dict>(value);
}

}  // namespace lumo::font
