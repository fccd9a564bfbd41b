// Floating-point numbers written as the host's repr() writes them.
#pragma once

#include <string>

namespace lumo::index {

/// The shortest decimal that reads back to `value`, laid out as repr(float):
/// fixed notation with at least one fractional digit ("1.0", "1733567890.123")
/// while the decimal exponent is within [-4, 16), exponent notation otherwise
/// ("1e+16", "1.5e-05"); "nan", "inf" and "-inf" for the special values.
std::string python_float_repr(double value);

}  // namespace lumo::index
