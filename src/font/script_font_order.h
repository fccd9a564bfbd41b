// Which fonts a script font folder holds and in which order, decided from what
// each font covers: the fallback search tries the folder's fonts first to
// last, so the order decides which font draws a character several cover.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "font/code_point_set.h"

namespace lumo::font {

/// A font that may go into the folder: its file, its lower-cased full face
/// name (whose design word, "sans" or "serif", breaks ties) and its coverage.
struct CandidateFont {
    std::string path;
    std::string full_name;
    CodePointSet coverage;
};

enum class FolderFontRole {
    symbols,  // more symbols (script Common) than letters: symbol, math, music fonts
    script,   // made for the script whose letters it covers most
};

struct FolderFont {
    std::string path;
    FolderFontRole role;
    /// ISO 15924 tag of the font's script ("Deva"); "Zyyy" for symbol fonts.
    std::string script;
    /// Characters the font is the first of the folder to cover, counted as the keep rule counts them.
    std::size_t added;

    bool operator==(const FolderFont&) const = default;
};

/// The folder's fonts, first to last. The rule:
///  1. A font is a symbol font when it covers more symbols (Unicode script
///     Common) than letters of all scripts together; otherwise its script is
///     the one whose letters it covers most. Fonts made for Latin, Greek,
///     Cyrillic, Han, Kana, Hangul or Bopomofo are left out: those are the
///     primary and fallback families' work. Empty fonts are left out.
///  2. Symbol fonts come first, purest first (the largest share of symbols
///     among what they cover), so that symbol, math and music fonts draw
///     symbols and punctuation the main text fonts lack.
///  3. Script fonts follow by how widely their script is written (the
///     scripts of today's large languages, then those of smaller communities,
///     then the rest, historic scripts among them, by script tag), so that a
///     character shared by several scripts, such as the Devanagari danda, is
///     drawn by the font of the most used one. Within a script: a "sans"
///     design, then a "serif" one, then others; then the font covering more of
///     the script's letters; then the shorter name (a script's plain font
///     before its regional variants), then by name and path.
///  4. A symbol font that covers letters which a font of their own script
///     also covers moves behind that font: a symbol font never draws a
///     script's letters in place of that script's font.
///  5. A font is kept only when it covers a character no earlier kept font
///     does: for a script font a letter of a script outside those of rule 1,
///     for a symbol font any character but those letters and unassigned or
///     private-use ones. So every font of the folder draws something.
/// Deterministic: the same candidates in any order give the same list.
std::vector<FolderFont> order_folder_fonts(const std::vector<CandidateFont>& candidates);

/// The ISO 15924 tag of a code point's Unicode script ("Latn", "Zyyy" for
/// Common, "Zinh" for Inherited, "Zzzz" for unassigned and private use).
std::string script_tag_of(std::uint32_t code_point);

}  // namespace lumo::font
