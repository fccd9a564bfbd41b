// The family that draws in place of one no installed font answers to: its
// metric-compatible twin where one is installed, else a default sans.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace lumo::font {

/// The family that draws for `asked_family`, a family no installed font
/// answers to: its metric-compatible twin (Arial and Helvetica: Liberation
/// Sans, then Arimo; Times New Roman and Times: Liberation Serif, then Tinos;
/// Courier New and Courier: Liberation Mono, then Cousine; Calibri: Carlito;
/// Cambria: Caladea), else DejaVu Sans, else Noto Sans: the first of these
/// that `is_installed` accepts. `asked_family` is matched ignoring case and
/// blanks; `is_installed` is asked with lower-case family names. The answer
/// is the family's name as it is written; empty when none is installed.
std::string substitute_family(std::string_view asked_family,
                              const std::function<bool(std::string_view lower_family)>& is_installed);

/// The first of `face_names` (full face names, in the index's order) that
/// names a regular face: one without a style suffix, or with a regular one.
/// Empty when there is none.
std::string first_regular_face(std::span<const std::string> face_names);

}  // namespace lumo::font
