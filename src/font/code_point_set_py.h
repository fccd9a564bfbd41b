// The CodePointSet class of the native module, and the two helpers through
// which other binding code hands coverage sets to the host and takes them back.
#pragma once

#include <nanobind/nanobind.h>

#include "font/code_point_set.h"

namespace lumo::font {

/// Adds the `CodePointSet` class and `_read_unicode_coverage` to the native module.
void bind_code_point_set(nanobind::module_& native);

/// A host `CodePointSet` that owns `set`. The class must be bound already.
nanobind::object wrap_code_point_set(CodePointSet set);

/// The set inside `object`; nullptr when it is not a CodePointSet, or is one
/// that was never initialised (an unpickling that failed half-way).
const CodePointSet* as_code_point_set(nanobind::handle object);

}  // namespace lumo::font
