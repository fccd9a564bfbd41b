// Argument handling for the engine's native methods.
#include "engine/call_arguments_py.h"

#include <new>
#include <string>

#include "engine/call_signature.h"
#include "engine/host_text_py.h"

namespace lumo::engine {

bool parse_call_arguments(const char* function, std::initializer_list<const char*> names, std::size_t required,
                          PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames, std::span<PyObject*> out) {
    return parse_call_arguments(function, std::span<const char* const>(names.begin(), names.size()), required,
                                names.size(), args, nargs, kwnames, out);
}

namespace {

/// Sets the host's TypeError with the message `message()` gives in UTF-8 (a
/// keyword may hold lone surrogates); returns false.
template <class Message>
bool refuse_call(Message&& message) noexcept {
    try {
        PyErr_SetObject(PyExc_TypeError, text_from_utf8(message()).ptr());
    } catch (nanobind::python_error& error) {
        error.restore();
    } catch (const std::bad_alloc&) {
        PyErr_NoMemory();
    }
    return false;
}

}  // namespace

bool parse_call_arguments(const char* function, std::span<const char* const> names, std::size_t required,
                          std::size_t positional, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                          std::span<PyObject*> out) {
    nargs = PyVectorcall_NARGS(nargs);
    for (PyObject*& slot : out) slot = nullptr;
    if (static_cast<std::size_t>(nargs) > positional)
        return refuse_call([&] { return too_many_positional_message(function, positional, std::size_t(nargs)); });
    for (Py_ssize_t i = 0; i < nargs; ++i) out[static_cast<std::size_t>(i)] = args[i];

    const Py_ssize_t keyword_count = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < keyword_count; ++k) {
        PyObject* keyword = PyTuple_GET_ITEM(kwnames, k);
        Py_ssize_t size = 0;
        const char* utf8 = PyUnicode_AsUTF8AndSize(keyword, &size);
        if (utf8 == nullptr) PyErr_Clear();  // lone surrogates: a name no parameter has
        const std::size_t index = utf8 != nullptr
                                      ? parameter_named(names, std::string_view(utf8, static_cast<std::size_t>(size)))
                                      : names.size();
        if (index == names.size())
            return refuse_call([&] { return unexpected_keyword_message(function, utf8_of(keyword)); });
        if (out[index] != nullptr)
            return refuse_call([&] { return repeated_argument_message(function, names[index]); });
        out[index] = args[nargs + k];
    }
    for (std::size_t i = 0; i < required; ++i)
        if (out[i] == nullptr) return refuse_call([&] { return missing_argument_message(function, names[i], i); });
    return true;
}

bool flag_argument(PyObject* value, bool otherwise) {
    if (value == nullptr) return otherwise;
    const int truth = PyObject_IsTrue(value);
    if (truth < 0) throw nanobind::python_error();
    return truth == 1;
}

void require_positive_size(nanobind::handle size) {
    if (size.ptr() == nullptr || !PyLong_Check(size.ptr())) return;  // the type check words that error
    int overflow = 0;
    const long value = PyLong_AsLongAndOverflow(size.ptr(), &overflow);
    if (value == -1 && PyErr_Occurred()) throw nanobind::python_error();
    if (overflow > 0 || value >= 1) return;
    PyErr_Format(PyExc_ValueError, "size must be a positive integer, got %S", size.ptr());
    throw nanobind::python_error();
}

}  // namespace lumo::engine
