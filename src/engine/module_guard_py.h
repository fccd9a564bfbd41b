// The guarded module type: every assignment or deletion of a lumo_font
// attribute by the host is validated before it takes effect.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::engine {

/// Creates the module subclass `_ProtectedEngine` whose __setattr__ and
/// __delattr__ apply the settings guard.
nanobind::object make_protected_engine_type(const char* module_name);

}  // namespace lumo::engine
