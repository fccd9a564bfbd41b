// The layout of a font object's state snapshot; see snapshot_layout.h.
#include "diagnostics/snapshot_layout.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace lumo::diagnostics {
namespace {

// This build's checksum first, then those of earlier builds with the same field layout.
constexpr std::array<long, 3> kAcceptedChecksums = {kLayoutChecksum, 0xf38e25e, 0x3047d49};

std::string hexadecimal(long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
    return text;
}

}  // namespace

bool accepted_checksum(long checksum) {
    return std::find(kAcceptedChecksums.begin(), kAcceptedChecksums.end(), checksum) != kAcceptedChecksums.end();
}

std::vector<std::size_t> snapshot_order(std::span<const std::string_view> names) {
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
    return order;
}

std::string incompatible_checksum_message(std::string_view offered,
                                          std::span<const std::string_view> fields_in_order) {
    std::string message = "Incompatible checksums (" + std::string(offered) + " vs (";
    for (std::size_t i = 0; i < kAcceptedChecksums.size(); ++i)
        message += (i > 0 ? ", " : "") + hexadecimal(kAcceptedChecksums[i]);
    message += ") = (";
    for (std::size_t i = 0; i < fields_in_order.size(); ++i)
        message += (i > 0 ? ", " : "") + std::string(fields_in_order[i]);
    return message + "))";
}

StateShape state_shape(std::size_t length, std::size_t fields) {
    if (length < fields) return StateShape::too_short;
    return length > fields ? StateShape::fields_and_attributes : StateShape::fields;
}

std::string short_state_message(std::size_t fields, std::size_t length) {
    return "LumoFont state must be a tuple of " + std::to_string(fields) + " items (" + std::to_string(fields + 1) +
           " with instance attributes), got " + std::to_string(length) + " items";
}

bool state_goes_with_reconstructor(bool any_field_set, bool has_attributes) {
    return !any_field_set && !has_attributes;
}

}  // namespace lumo::diagnostics
