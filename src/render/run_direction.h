// Direction of the runs of one line and the order they are drawn in, by the
// Unicode Bidirectional Algorithm with a left-to-right paragraph (GNU FriBidi
// resolves the levels; the runs are then ordered by rule L2).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumo::render {

/// Whether a line holds a character that may take a right-to-left level: one
/// of a right-to-left script, or an Arabic-Indic digit. Lines without one are
/// left to right throughout and skip the algorithm.
bool may_hold_right_to_left(std::span<const std::uint32_t> line);

/// The embedding level of every code point of `line` (its visible characters:
/// markup and dropped marks, the explicit directional embeddings, overrides
/// and isolates among them, already removed), the paragraph left to right;
/// trailing white space returns to the paragraph's level (rule L1). Raises
/// std::bad_alloc when FriBidi cannot allocate.
std::vector<std::uint8_t> embedding_levels(std::span<const std::uint32_t> line);

/// The levels of `line` as a paragraph of its own read right to left (level
/// 1): what a right-to-left text block's lines are resolved with.
std::vector<std::uint8_t> right_to_left_paragraph_levels(std::span<const std::uint32_t> line);

/// Whether a paragraph's first strong character, outside isolates, is right
/// to left (rules P2 and P3); a paragraph with none reads left to right.
bool starts_right_to_left(std::span<const std::uint32_t> paragraph);

/// Whether a run at `level` is drawn, and shaped, right to left.
constexpr bool is_right_to_left(std::uint8_t level) noexcept { return (level & 1) != 0; }

/// Run indices in the order they are drawn from left to right, given each
/// run's level (rule L2): from the highest level down to the lowest odd one,
/// every maximal sequence of runs at that level or higher is reversed.
std::vector<std::size_t> visual_order(std::span<const std::uint8_t> run_levels);

}  // namespace lumo::render
