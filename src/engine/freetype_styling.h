// Synthetic bold and slant through FreeType's glyph-slot styling, and the switch
// that says whether the rasteriser may use them.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <string>
#include <string_view>

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

/// "<FreeType 2.13.2 at '/usr/lib/libfreetype.so.6'>": the library in a line.
std::string describe_library(const FreeTypeLibraryInfo& info);

/// "<FreeType entry point FT_GlyphSlot_Embolden>": a styling call in a line.
std::string describe_entry_point(std::string_view name);

/// The glyph-load flags the engine's module shows, under their names there.
struct LoadFlagConstant {
    std::string_view name;
    long value;
};
inline constexpr std::array<LoadFlagConstant, 6> kLoadFlagConstants = {{
    {"_FT_LOAD_RENDER", FT_LOAD_RENDER},
    {"_FT_LOAD_NO_HINTING", FT_LOAD_NO_HINTING},
    {"_FT_LOAD_AA", FT_LOAD_RENDER | FT_LOAD_NO_HINTING},
    {"_FT_LOAD_MONO", FT_LOAD_RENDER | FT_LOAD_TARGET_MONO},
    {"_FT_LOAD_COLOR", FT_LOAD_COLOR},
    {"_FT_LOAD_COLOR_RENDER", FT_LOAD_COLOR | FT_LOAD_RENDER},
}};
static_assert(FT_LOAD_RENDER == 4 && FT_LOAD_NO_HINTING == 2 && FT_LOAD_COLOR == 1048576 &&
                  FT_LOAD_TARGET_MONO == 131072,
              "FreeType's published load-flag values");

}  // namespace lumo::engine
