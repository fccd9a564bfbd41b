// Output lines of the engine, written through the host's print() so that
// redirection of sys.stdout and test capture see them.
#pragma once

#include <nanobind/nanobind.h>

#include <string_view>

namespace lumo::engine {

/// Prints one line with the host's print(); raises nb::python_error if printing fails.
void print_line(nanobind::handle text);
void print_line(std::string_view utf8_text);

}  // namespace lumo::engine
