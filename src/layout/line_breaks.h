// Where a paragraph may be broken into lines: the Unicode line breaking
// algorithm (UAX #14) as libunibreak implements it.
#pragma once

#include <string_view>
#include <vector>

namespace lumo::layout {

/// One flag per character of `paragraph`: whether a line may end after it.
/// The last character's flag is true (the paragraph ends there).
std::vector<bool> break_opportunities(std::u32string_view paragraph);

/// Whether `code` is white space that a line ending after it does not show:
/// the spaces a break opportunity follows.
bool is_trailing_space(char32_t code);

}  // namespace lumo::layout
