// Unicode general categories of code points, as the host's unicodedata gives
// them, and the character classes that run segmentation acts on.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumo::render {

/// The two-letter general category ("Lu", "Mn", "Cf", ...) of `code`, equal to
/// the host's unicodedata.category(); "Cn" for unassigned code points and for
/// values above U+10FFFF. The text is static; nothing is allocated.
std::string_view general_category(std::uint32_t code) noexcept;

/// Control characters (Cc): tab, newline and the rest of C0 and C1.
bool is_control(std::uint32_t code) noexcept;

/// Combining marks (Mn, Mc, Me): they belong to the character before them.
bool is_mark(std::uint32_t code) noexcept;

/// Format characters (Cf), such as the zero-width joiner.
bool is_format(std::uint32_t code) noexcept;

/// Characters a line never draws: the controls, and the invisible
/// bidirectional marks, embeddings, isolates and the zero-width space. Other
/// format characters, like the zero-width joiner, are kept for shaping.
bool is_dropped_mark(std::uint32_t code) noexcept;

}  // namespace lumo::render
