// The installed fonts a script font folder may gather: the regular faces of
// the index that live in single-font files, the only ones a folder of fonts reads.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/font_map.h"

namespace lumo::index {

/// The script font folder's name inside the index directory.
inline constexpr std::string_view kScriptFontFolderName = "script_fonts";

/// One face of the font index: its lower-cased full name and where it lives.
struct IndexedFace {
    std::string full_name;
    PathRecord record;
};

/// A regular face in a single-font file, as a script font folder may link it.
struct RegularFontFile {
    std::string path;
    std::string full_name;

    bool operator==(const RegularFontFile&) const = default;
};

/// The faces whose full name carries no style word but "regular" and whose
/// file holds one font: face index -1 and a ".ttf" or ".otf" name (a folder of
/// fonts reads a collection as no font at all). Each file once, under the
/// first of its names in byte order, sorted by path, so that the same
/// installed fonts always give the same list whatever order the index keeps.
std::vector<RegularFontFile> regular_font_files(std::span<const IndexedFace> faces);

}  // namespace lumo::index
