// Face words drawn by a variable font itself: "bold" as weight 700 or the
// font's instance named "Bold", "italic" on its `ital` or `slnt` axis,
// "condensed" on its `wdth` axis, instead of emboldening or slanting.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "shaping/font_variations.h"
#include "shaping/typography_options.h"

namespace lumo::shaping {

/// What a face word asks for, in the units of the registered axes.
struct FaceWordStyle {
    std::optional<float> weight;  // wght: 100 thin ... 400 regular ... 700 bold ... 900 black
    bool italic = false;
    std::optional<float> width;   // wdth, percent of normal: 75 condensed, 125 expanded
};

/// The style of a face word made only of the usual style names (in any
/// case, with blanks, hyphens or underscores between them or none:
/// "semibold italic", "Bold_Italic", "extra-condensed"); nothing for any
/// other word, or for one that names two weights or two widths.
std::optional<FaceWordStyle> parse_face_word(std::string_view word);

/// How a variable font draws a face word.
struct FaceAxes {
    std::vector<AxisSetting> settings;  // the axis values it is drawn at
    bool weight_drawn = false;          // its weight comes from the font: no synthetic bold
    bool italic_drawn = false;          // its slant comes from the font: no synthetic slant
};

/// The font's named instance of that name when it has one (which draws the
/// word whole); otherwise the axes it has for the word's weight, slant and
/// width. Nothing for a font without variations, and nothing for "regular"
/// (or "normal", "book", "roman"): the regular face is the font's default.
FaceAxes face_axes(const FontVariations& font, std::string_view face_word);

}  // namespace lumo::shaping
