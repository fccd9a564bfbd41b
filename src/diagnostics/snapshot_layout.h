// The layout of a font object's state snapshot: its fields in alphabetical
// order of their names, tagged with a checksum of that layout that the
// restoring side checks, accepting the checksums of earlier builds with the
// same layout.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::diagnostics {

/// The checksum snapshots are written with.
inline constexpr long kLayoutChecksum = 0x80baa68;

/// Whether a snapshot tagged `checksum` has the layout this build reads.
bool accepted_checksum(long checksum);

/// The positions of `names` in snapshot order: alphabetical.
std::vector<std::size_t> snapshot_order(std::span<const std::string_view> names);

/// "Incompatible checksums (0x1234 vs (0x80baa68, ...) = (field, ...))": the
/// refusal of a snapshot tagged `offered` (as the host writes it in
/// hexadecimal), naming the fields in snapshot order.
std::string incompatible_checksum_message(std::string_view offered,
                                          std::span<const std::string_view> fields_in_order);

/// What a state tuple of `length` items is to an object of `fields` fields:
/// too short to read, its fields, or its fields and then the instance attributes.
enum class StateShape { too_short, fields, fields_and_attributes };
StateShape state_shape(std::size_t length, std::size_t fields);

/// "LumoFont state must be a tuple of 23 items (24 with instance
/// attributes), got 2 items": the refusal of a too_short state.
std::string short_state_message(std::size_t fields, std::size_t length);

/// Whether a snapshot hands its state to the reconstructor itself: for an
/// object never constructed (no field set, no instance attributes), which
/// pickle must then not restore again.
bool state_goes_with_reconstructor(bool any_field_set, bool has_attributes);

}  // namespace lumo::diagnostics
