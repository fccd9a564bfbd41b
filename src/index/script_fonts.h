// Which installed fonts draw the scripts that a game's primary and fallback
// families usually lack: one regular, single-font Noto file per script.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/font_map.h"

namespace lumo::index {

/// The script font folder's name inside the index directory.
inline constexpr std::string_view kScriptFontFolderName = "script_fonts";

/// One script and the families that may draw it, best first.
struct ScriptFamilies {
    std::string_view script;
    /// Lower-cased family names; an empty name ends the list.
    std::array<std::string_view, 2> families;
};

/// The scripts a script font folder covers, each with its candidate families.
/// No two scripts share a family, so no two files of the folder cover the same script.
std::span<const ScriptFamilies> script_families();

/// Looks a lower-cased full face name up in the font index; nullopt when absent.
using FaceLookup = std::function<std::optional<PathRecord>(std::string_view full_name)>;

/// The font file of every script that has an installed candidate: the first
/// family of the script whose regular face ("<family> regular", or a face
/// named by the bare family) is a single-font ".ttf" or ".otf" file. A
/// collection is left out because a folder of fonts reads only the single-font
/// files it holds. In the order of `script_families()`, no file twice.
std::vector<std::string> script_font_files(const FaceLookup& lookup);

}  // namespace lumo::index
