// How the arguments of a call to one of the engine's native methods fill its
// parameters, and the TypeErrors of a call whose arguments do not fit, worded
// as the host words its own.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace lumo::engine {

/// The position of the parameter `keyword` (UTF-8) names among `names`;
/// names.size() when it names none.
std::size_t parameter_named(std::span<const char* const> names, std::string_view keyword);

/// "f() takes at most 2 positional arguments (3 given)".
std::string too_many_positional_message(std::string_view function, std::size_t positional, std::size_t given);

/// "f() got an unexpected keyword argument 'k'".
std::string unexpected_keyword_message(std::string_view function, std::string_view keyword);

/// "f() got multiple values for argument 'p'".
std::string repeated_argument_message(std::string_view function, std::string_view parameter);

/// "f() missing required argument 'p' (pos 1)", `index` counting from 0.
std::string missing_argument_message(std::string_view function, std::string_view parameter, std::size_t index);

}  // namespace lumo::engine
