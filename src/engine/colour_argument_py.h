// Colours as the host gives them: anything pygame.Color accepts (a Color, a
// name, "#rrggbb[aa]", a sequence of 3 or 4 numbers, a packed integer).
#pragma once

#include <nanobind/nanobind.h>

#include <array>
#include <cstdint>

namespace lumo::engine {

/// (r, g, b, a) of `value` as pygame.Color reads it; pygame's own error when
/// it does not read it.
std::array<std::uint8_t, 4> colour_rgba(nanobind::handle value);

/// The colour of a line as render() keeps it: a tuple stays the very object
/// given (its cache key and pixels are what they always were), None is the
/// default white, and any other colour value becomes its (r, g, b, a) tuple.
nanobind::object line_colour(PyObject* value);

}  // namespace lumo::engine
