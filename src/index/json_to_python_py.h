// Builds host objects (dicts, lists, text, numbers) from the JSON reader's
// events, as the host's json module would build them.
#pragma once

#include <nanobind/nanobind.h>

#include <string_view>

namespace lumo::index {

/// Parses `utf8` into host objects; raises the host's ValueError with the
/// reader's message when the text is not valid JSON.
nanobind::object python_from_json(std::string_view utf8);

}  // namespace lumo::index
