// The fixed tables as module attributes.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// Stores `_SYNTHETIC_FACE_MAP`, `PROTECTED_VARS`, `RICH_PALETTE` and `FONT_SUFFIXES`.
void install_fixed_tables(nanobind::dict ns);

}  // namespace lumo::engine
