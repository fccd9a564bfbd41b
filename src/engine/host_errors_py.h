// Errors raised to the host in the forms it knows: argument type errors worded
// like its own, and OSError subclasses chosen by errno.
#pragma once

#include <nanobind/nanobind.h>

#include "index/atomic_file.h"

namespace lumo::engine {

/// Raises TypeError "Argument 'name' has incorrect type (expected T, got U)".
[[noreturn]] void raise_argument_type_error(const char* argument, const char* expected, nanobind::handle given);

/// Raises the argument type error unless `value` is text.
void require_text_argument(nanobind::handle value, const char* argument);

/// The OSError (subclass by errno) that the host raises for this failure.
nanobind::object os_error(const index::FileError& error);

/// Raises `os_error(error)`.
[[noreturn]] void raise_os_error(const index::FileError& error);

/// The message of a raised host exception: str() of it.
nanobind::str exception_message(const nanobind::python_error& error);

}  // namespace lumo::engine
