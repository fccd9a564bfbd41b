// The lumo_font module function that gathers the installed script fonts into
// a folder a font object can take as its fallback folder.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::font {

/// `script_font_folder`.
void install_script_font_folder_function(nanobind::module_& package);

}  // namespace lumo::font
