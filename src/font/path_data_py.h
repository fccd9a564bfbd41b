// Path data as the engine passes it around: a path record [path, face index]
// (a list or tuple) or a bare path text; and the font index members that map
// names to path records.
#pragma once

#include <nanobind/nanobind.h>

namespace lumo::font {

struct PathData {
    nanobind::object path;  // text or None
    int index;              // face index as a C int
};

/// Splits path data into its path and face index; a bare path gets
/// `bare_index`. Raises the host's errors for a path that is neither text nor
/// None, a face index that is not an integer or does not fit a C int, or a
/// record too short to hold both.
PathData parse_path_data(nanobind::handle path_data, int bare_index);

/// A member of the font index ("paths" or "names"), an empty dict when absent.
/// Raises the host's errors for an index of None and a member that is not a dict.
nanobind::dict index_member(PyObject* font_map, const char* member);

}  // namespace lumo::font
