// The module's view of FreeType: load-flag constants, the library handle
// `_ft_lib` and the styling entry points that synthetic bold and slant use.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// Registers the handle types on the native module.
void bind_freetype_types(nanobind::module_& native);

/// Stores the `_FT_LOAD_*` constants into the module namespace.
void install_load_flags(nanobind::dict ns);

/// Stores `_ft_lib`, `_ft_name` and the two styling entry points.
void install_freetype_binding(nanobind::dict ns);

}  // namespace lumo::engine
