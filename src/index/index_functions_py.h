// The font index's functions on the lumo_font module.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::index {

/// `_parse_font_input`, `get_family_root`, `normalize_font_name`.
void install_font_name_functions(nanobind::module_& package);

/// `build_font_map`, `get_fonts_timestamp`, `load_or_update_font_map`.
void install_font_index_functions(nanobind::module_& package);

}  // namespace lumo::index
