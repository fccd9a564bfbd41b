// The state snapshot of a font object, through which it is pickled and copied.
#pragma once

#include <nanobind/nanobind.h>

#include "font/lumo_font_object_py.h"

namespace lumo::diagnostics {

/// The reduction value: (reconstructor, (class, checksum, None), state), or
/// (reconstructor, (class, checksum, state)) for a never-constructed object.
nanobind::object reduce_lumo_font(font::LumoFontObject* self);

/// Assigns the fields from a state tuple, checking each field's kind.
void restore_lumo_font(font::LumoFontObject* self, nanobind::handle state);

/// Stores the module-level reconstructor `_restore_lumo_font` on the package.
void install_snapshot_functions(nanobind::module_& package);

}  // namespace lumo::diagnostics
