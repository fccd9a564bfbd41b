// The fonts of the script font folder, read from the installed files: which
// regular faces it links and in which order.
#pragma once

#include <string>
#include <vector>

#include "font/script_font_order.h"
#include "index/script_fonts.h"

namespace lumo::font {

/// Whether the file's first face draws in colour (CBDT or sbix bitmaps, COLR
/// layers, SVG glyphs): such a font is an emoji font, not a text font.
bool has_colour_glyphs(const std::string& path);

/// The folder's fonts, first to last, chosen by `order_folder_fonts` among
/// `files`; colour fonts and files whose coverage cannot be read are left out.
/// Reads each file's character map once.
std::vector<FolderFont> choose_script_fonts(const std::vector<index::RegularFontFile>& files);

}  // namespace lumo::font
