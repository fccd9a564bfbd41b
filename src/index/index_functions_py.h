// The font index's functions on the lumo_font module.
#pragma once

#include <nanobind/nanobind.h>

#include "index/font_directories.h"

namespace lumo::index {

/// Sorts a font argument: (path record, True) for a font file or a ready
/// record, (the value, False) otherwise.
nanobind::tuple parse_font_input(nanobind::handle name);

/// The family root of a face name; the argument type error for non-text.
nanobind::str get_family_root(nanobind::handle font_name);

/// `_parse_font_input`, `get_family_root`, `normalize_font_name`.
void install_font_name_functions(nanobind::module_& package);

/// The index directory of the running platform, created when missing, or the
/// OSError of creating it. With `announce_fallback` the per-user fallback is
/// announced by the index loader's warning line.
IndexDirectory prepare_host_index_directory(bool announce_fallback);

/// `build_font_map`, `get_fonts_timestamp`, `load_or_update_font_map`.
void install_font_index_functions(nanobind::module_& package);

}  // namespace lumo::index
