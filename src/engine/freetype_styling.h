// Synthetic bold and slant through FreeType's glyph-slot styling, and the switch
// that says whether the rasteriser may use them.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace lumo::engine {

/// True while synthetic bold and slant may be applied to loaded outlines.
bool styling_available() noexcept;

/// Turns styling off or back on. Off, faces that would need synthesis are
/// drawn unstyled, exactly as on a system without FreeType's styling calls.
void set_styling_available(bool available) noexcept;

/// Emboldens the outline held by `slot` in place, with FreeType's own strength.
/// The slot must hold an outline (loaded without rendering).
void embolden_glyph_slot(FT_GlyphSlot slot) noexcept;

/// Slants the outline held by `slot` in place, with FreeType's own shear.
void oblique_glyph_slot(FT_GlyphSlot slot) noexcept;

struct FreeTypeLibraryInfo {
    // File that holds the FreeType this engine runs on: the system's shared
    // library, or the extension itself when FreeType is built into it.
    std::string path;
    int major = 0, minor = 0, patch = 0;
};

/// Which FreeType the engine runs on; the path is empty when the loader cannot tell.
FreeTypeLibraryInfo freetype_library_info();

}  // namespace lumo::engine
