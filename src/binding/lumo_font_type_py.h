// The LumoFont class as the host sees it: the type object, its attributes and
// methods, and its place on the lumo_font module.
#pragma once

#include <nanobind/nanobind.h>

#include <vector>

namespace lumo::font {

/// Creates the LumoFont type and stores it on the package as `LumoFont`.
void install_lumo_font_type(nanobind::module_& package);

}  // namespace lumo::font
