// Argument matching and its errors; see call_signature.h.
#include "engine/call_signature.h"

namespace lumo::engine {

std::size_t parameter_named(std::span<const char* const> names, std::string_view keyword) {
    std::size_t index = 0;
    for (const char* name : names) {
        if (keyword == name) break;
        ++index;
    }
    return index;
}

std::string too_many_positional_message(std::string_view function, std::size_t positional, std::size_t given) {
    return std::string(function) + "() takes at most " + std::to_string(positional) + " positional argument" +
           (positional == 1 ? "" : "s") + " (" + std::to_string(given) + " given)";
}

std::string unexpected_keyword_message(std::string_view function, std::string_view keyword) {
    return std::string(function) + "() got an unexpected keyword argument '" + std::string(keyword) + "'";
}

std::string repeated_argument_message(std::string_view function, std::string_view parameter) {
    return std::string(function) + "() got multiple values for argument '" + std::string(parameter) + "'";
}

std::string missing_argument_message(std::string_view function, std::string_view parameter, std::size_t index) {
    return std::string(function) + "() missing required argument '" + std::string(parameter) + "' (pos " +
           std::to_string(index + 1) + ")";
}

}  // namespace lumo::engine
