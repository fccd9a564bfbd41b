// What a face covers: the code points of its preferred Unicode character map,
// read with FreeType.
#pragma once

#include <string>

#include "font/code_point_set.h"

namespace lumo::font {

/// The code points of the face's preferred Unicode character map, taking the
/// first of the subtables (3,10), (0,6), (0,4), (3,1), (0,3), (0,2), (0,1),
/// (0,0) that the face's `cmap` table has. Empty when the file cannot be read,
/// is not an SFNT font (TrueType, OpenType, WOFF) or collection, the face does
/// not exist, or it has none of these maps. `face_index` -1 means a file that
/// holds a single font: a collection asked for -1 covers nothing. Any index on
/// a single-font file reads that one font. `path` is in file-system bytes.
/// Thread-safe: each call uses a FreeType instance of its own.
CodePointSet read_unicode_coverage(const std::string& path, int face_index);

}  // namespace lumo::font
