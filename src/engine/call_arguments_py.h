// Argument handling for the engine's native methods: positional and keyword
// arguments matched to parameter names with the host's usual errors, and one
// place where C++ failures become host exceptions.
#pragma once

#include <nanobind/nanobind.h>

#include <cstddef>
#include <initializer_list>
#include <new>
#include <span>

namespace lumo::engine {

/// Matches a vectorcall argument list to `names`; the first `required` must
/// be given. `out` receives borrowed references (nullptr for an omitted
/// optional one). Returns false with the host's TypeError set, worded like
/// its own ("f() takes at most 2 positional arguments (3 given)", ...).
bool parse_call_arguments(const char* function, std::initializer_list<const char*> names, std::size_t required,
                          PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames, std::span<PyObject*> out);

/// As above, for a call whose names after the first `positional` are keyword-only.
bool parse_call_arguments(const char* function, std::span<const char* const> names, std::size_t required,
                          std::size_t positional, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames,
                          std::span<PyObject*> out);

/// The truth of an optional flag argument (nullptr: `otherwise`).
bool flag_argument(PyObject* value, bool otherwise);

/// Raises ValueError "size must be a positive integer, got N" when `size` is
/// an int below 1; other values are left to the argument checks.
void require_positive_size(nanobind::handle size);

/// Runs `body` (returning nb::object) and hands its result to the host as a
/// new reference; a C++ or host failure becomes the pending exception and nullptr.
template <typename Body>
PyObject* call_guarded(Body&& body) noexcept {
    try {
        return body().release().ptr();
    } catch (nanobind::python_error& error) {
        error.restore();
    } catch (nanobind::builtin_exception& error) {
        PyErr_SetString(PyExc_RuntimeError, error.what());
    } catch (std::bad_alloc&) {
        PyErr_NoMemory();
    } catch (std::exception& error) {
        PyErr_SetString(PyExc_RuntimeError, error.what());
    }
    return nullptr;
}

}  // namespace lumo::engine
