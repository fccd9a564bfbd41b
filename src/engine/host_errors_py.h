// Errors raised to the host in the forms it knows: argument type errors worded
// like its own, and OSError subclasses chosen by errno.
#pragma once

#include <nanobind/nanobind.h>

#include <string>

#include "base/atomic_file.h"

namespace lumo::engine {

/// Raises TypeError "Argument 'name' has incorrect type (expected T, got U)".
[[noreturn]] void raise_argument_type_error(const char* argument, const char* expected, nanobind::handle given);

/// Raises TypeError "Expected <expected>, got <type of given>", as a typed
/// value of the engine refuses another kind.
[[noreturn]] void raise_expected_type(const char* expected, nanobind::handle given);

/// Raises ValueError with a refusal the core worded.
[[noreturn]] void raise_value_error(const std::string& message);

/// Raises AttributeError "'<type of given>' object has no attribute '<attribute>'".
[[noreturn]] void raise_missing_attribute(nanobind::handle given, const char* attribute);

/// Raises the argument type error unless `value` is text.
void require_text_argument(nanobind::handle value, const char* argument);

/// The OSError (subclass by errno) that the host raises for this failure.
nanobind::object os_error(const base::FileError& error);

/// Raises `os_error(error)`.
[[noreturn]] void raise_os_error(const base::FileError& error);

/// The message of a raised host exception: str() of it.
nanobind::str exception_message(const nanobind::python_error& error);

/// Whether a failure may be answered with the engine's fallback (a substitute
/// font, a font that covers nothing). Running out of memory may not: what was
/// learned under it would be cached as a fact, so MemoryError propagates.
bool is_recoverable(const nanobind::python_error& error);

/// Whether `bytes` more could not be had just now.
bool memory_is_short(std::size_t bytes);

/// Raises MemoryError unless a generous block of memory could be had just now.
/// nanobind registers each new wrapped instance in a table that it grows with
/// no way to report failure, so running out of memory there would end the
/// process: wrappers are made only after this check.
void require_headroom_for_wrapper();

}  // namespace lumo::engine
