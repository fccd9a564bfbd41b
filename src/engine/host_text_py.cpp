// Conversions between the host's text objects and the core's byte strings.
#include "engine/host_text_py.h"

#include "engine/engine_namespace_py.h"
#include "engine/host_errors_py.h"

namespace nb = nanobind;

namespace lumo::engine {

std::string utf8_of(nb::handle text) {
    Py_ssize_t size = 0;
    if (const char* data = PyUnicode_AsUTF8AndSize(text.ptr(), &size))
        return std::string(data, static_cast<std::size_t>(size));
    // Only text holding lone surrogates gets here.
    PyErr_Clear();
    nb::object bytes = nb::steal(PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogatepass"));
    if (!bytes.is_valid()) throw nb::python_error();
    return std::string(PyBytes_AS_STRING(bytes.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes.ptr())));
}

nb::str text_from_utf8(std::string_view utf8) {
    PyObject* text = PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "surrogatepass");
    if (text == nullptr) throw nb::python_error();
    return nb::steal<nb::str>(text);
}

std::string path_bytes_of(nb::handle path) {
    nb::object bytes = nb::steal(PyUnicode_EncodeFSDefault(path.ptr()));
    if (!bytes.is_valid()) throw nb::python_error();
    return std::string(PyBytes_AS_STRING(bytes.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes.ptr())));
}

std::u32string code_points_of(nb::handle text) {
    if (!PyUnicode_Check(text.ptr())) raise_expected_type("str", text);
    const Py_ssize_t length = PyUnicode_GET_LENGTH(text.ptr());
    std::u32string code_points(static_cast<std::size_t>(length), U'\0');
    static_assert(sizeof(Py_UCS4) == sizeof(char32_t));
    if (length > 0 &&
        PyUnicode_AsUCS4(text.ptr(), reinterpret_cast<Py_UCS4*>(code_points.data()), length, 0) == nullptr)
        throw nb::python_error();
    return code_points;
}

nb::str text_of_code_points(std::u32string_view code_points) {
    PyObject* text =
        PyUnicode_FromKindAndData(PyUnicode_4BYTE_KIND, code_points.data(), static_cast<Py_ssize_t>(code_points.size()));
    if (text == nullptr) throw nb::python_error();
    return nb::steal<nb::str>(text);
}

std::optional<std::string> file_path_of(nb::handle path) {
    if (!PyUnicode_Check(path.ptr())) return std::nullopt;
    try {
        std::string bytes = path_bytes_of(path);
        if (bytes.find('\0') != std::string::npos) return std::nullopt;
        return bytes;
    } catch (nb::python_error& error) {
        if (!is_recoverable(error)) throw;
        return std::nullopt;
    }
}

nb::str text_from_path_bytes(std::string_view bytes) {
    PyObject* text = PyUnicode_DecodeFSDefaultAndSize(bytes.data(), static_cast<Py_ssize_t>(bytes.size()));
    if (text == nullptr) throw nb::python_error();
    return nb::steal<nb::str>(text);
}

}  // namespace lumo::engine

namespace lumo::engine {

Py_UCS4 code_point_of(nb::handle ch) {
    if (PyUnicode_Check(ch.ptr()) && PyUnicode_GET_LENGTH(ch.ptr()) == 1) return PyUnicode_READ_CHAR(ch.ptr(), 0);
    nb::object code = nb::module_::import_("builtins").attr("ord")(ch);  // raises the host's error
    return static_cast<Py_UCS4>(nb::cast<long>(code));
}

nb::object lowered_text(nb::handle text) {
    static PyObject* name = nullptr;
    PyObject* lowered = PyObject_CallMethodNoArgs(text.ptr(), interned_name(name, "lower"));
    if (lowered == nullptr) throw nb::python_error();
    return nb::steal(lowered);
}

}  // namespace lumo::engine
