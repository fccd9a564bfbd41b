// Floating-point numbers written as the host's repr() writes them.
#include "index/float_repr.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace lumo::index {

std::string python_float_repr(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";

    // Shortest round-trip digits in scientific form, e.g. "-1.2345e+09".
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    std::string sign;
    if (scientific.front() == '-') {
        sign = "-";
        scientific.remove_prefix(1);
    }
    std::size_t exponent_at = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, exponent_at))
        if (c != '.') digits.push_back(c);
    int exponent = std::atoi(std::string(scientific.substr(exponent_at + 1)).c_str());
    // Position of the decimal point counted from the first digit.
    int point = exponent + 1;
    const int digit_count = static_cast<int>(digits.size());

    if (point > -4 && point <= 16) {
        if (point <= 0) return sign + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
        if (point >= digit_count)
            return sign + digits + std::string(static_cast<std::size_t>(point - digit_count), '0') + ".0";
        return sign + digits.substr(0, static_cast<std::size_t>(point)) + "." +
               digits.substr(static_cast<std::size_t>(point));
    }
    std::string mantissa = digits.substr(0, 1);
    if (digit_count > 1) mantissa += "." + digits.substr(1);
    int shown_exponent = point - 1;
    std::string exponent_text = std::to_string(std::abs(shown_exponent));
    if (exponent_text.size() < 2) exponent_text.insert(0, "0");
    return sign + mantissa + "e" + (shown_exponent < 0 ? "-" : "+") + exponent_text;
}

}  // namespace lumo::index
