// Fixed lookup tables shared by several subsystems: the inline colour palette,
// the face words that can be synthesised, the style suffixes of font names and
// the module names that the host may never overwrite.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lumo::engine {

struct PaletteEntry {
    char key;
    std::uint8_t red, green, blue;
};

/// Colours selected by the "^<key>" markup inside rendered text.
inline constexpr std::array<PaletteEntry, 11> kRichPalette = {{
    {'0', 255, 255, 255},
    {'1', 255, 50, 50},
    {'2', 50, 255, 50},
    {'3', 80, 150, 255},
    {'4', 255, 255, 50},
    {'5', 255, 50, 255},
    {'6', 50, 255, 255},
    {'7', 200, 200, 200},
    {'8', 100, 100, 100},
    {'9', 0, 0, 0},
    {'a', 102, 178, 255},
}};

struct SyntheticStyle {
    bool bold;
    bool italic;
};

struct FaceWordStyle {
    std::string_view face;
    SyntheticStyle style;
};

/// The only face words that are ever imitated when a family lacks a file for them.
inline constexpr std::array<FaceWordStyle, 7> kSyntheticFaceMap = {{
    {"bold", {true, false}},
    {"italic", {false, true}},
    {"oblique", {false, true}},
    {"bold italic", {true, true}},
    {"bold_italic", {true, true}},
    {"bolditalic", {true, true}},
    {"italic bold", {true, true}},
}};

/// Style suffixes of face names, tried first to last. Compound styles come
/// before their parts so that "X Bold Italic" loses " bold italic" as a whole,
/// and the leading blank or hyphen keeps " bold" from matching "semibold".
inline constexpr std::array<std::string_view, 38> kFontSuffixes = {{
    " bold italic", " light italic", " semibold italic", " extrabold italic",
    " extralight italic", " medium italic", " black italic", " semilight italic",
    " italic", " bold", " regular", " light", " thin", " semibold", " extrabold",
    " extralight", " medium", " black", " semilight",
    "-bolditalic", "-lightitalic", "-semibolditalic", "-extrabolditalic",
    "-extralightitalic", "-mediumitalic", "-blackitalic", "-semilightitalic",
    "-italic", "-bold", "-regular", "-light", "-thin", "-semibold", "-extrabold",
    "-extralight", "-medium", "-black", "-semilight",
}};

/// The suffixes that mark a family's regular face.
inline constexpr std::array<std::string_view, 2> kRegularSuffixes = {{" regular", "-regular"}};

/// Module names that the settings guard refuses to overwrite or delete.
inline constexpr std::array<std::string_view, 6> kProtectedNames = {{
    "is_scanning", "_is_scanning", "_ft_lib", "_FT_GlyphSlot_Embolden",
    "_FT_GlyphSlot_Oblique", "_SYNTHETIC_FACE_MAP",
}};

}  // namespace lumo::engine
