// Builds host objects from the JSON reader's events.
#include "index/json_to_python_py.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "index/json_reader.h"

namespace nb = nanobind;

namespace lumo::index {
namespace {

class PythonJsonBuilder final : public JsonHandler {
public:
    bool null_value() override { return add(nb::none()); }
    bool bool_value(bool value) override { return add(nb::bool_(value)); }

    bool integer_value(std::string_view digits) override {
        std::string text(digits);
        return add(nb::steal(PyLong_FromString(text.c_str(), nullptr, 10)));
    }

    bool float_value(std::string_view text) override {
        if (text == "NaN") return add(nb::float_(std::nan("")));
        if (text == "Infinity") return add(nb::float_(HUGE_VAL));
        if (text == "-Infinity") return add(nb::float_(-HUGE_VAL));
        std::string copy(text);
        double value = PyOS_string_to_double(copy.c_str(), nullptr, nullptr);
        if (value == -1.0 && PyErr_Occurred()) return false;
        return add(nb::float_(value));
    }

    bool string_value(std::string_view utf8) override { return add(text(utf8)); }

    bool begin_object() override { return open(nb::dict()); }
    bool begin_array() override { return open(nb::list()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(std::string_view utf8) override {
        pending_key_ = text(utf8);
        return pending_key_.is_valid();
    }

    nb::object result() { return std::move(result_); }

private:
    static nb::object text(std::string_view utf8) {
        return nb::steal(PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "surrogatepass"));
    }

    bool add(nb::object value) {
        if (!value.is_valid()) return false;
        if (open_.empty()) {
            result_ = std::move(value);
            return true;
        }
        PyObject* container = open_.back().ptr();
        if (PyList_Check(container)) return PyList_Append(container, value.ptr()) == 0;
        return PyDict_SetItem(container, pending_key_.ptr(), value.ptr()) == 0;
    }

    bool open(nb::object container) {
        if (!add(container)) return false;
        open_.push_back(std::move(container));
        return true;
    }

    bool close() {
        open_.pop_back();
        return true;
    }

    std::vector<nb::object> open_;
    nb::object pending_key_;
    nb::object result_;
};

}  // namespace

nb::object python_from_json(std::string_view utf8) {
    PythonJsonBuilder builder;
    if (std::optional<JsonError> error = read_json(utf8, builder)) {
        if (!error->stopped_by_handler) PyErr_SetString(PyExc_ValueError, error->message.c_str());
        if (!PyErr_Occurred()) PyErr_SetString(PyExc_ValueError, "malformed JSON");
        throw nb::python_error();
    }
    return builder.result();
}

}  // namespace lumo::index
