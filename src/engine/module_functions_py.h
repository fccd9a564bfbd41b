// The engine's module-level functions that need no font work.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// Stores `is_scanning` and `get_engine_version` into `ns`, as functions of `module_name`.
void install_module_functions(nanobind::dict ns, nanobind::str module_name);

}  // namespace lumo::engine
