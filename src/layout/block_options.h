// The plain-value checks of a block call's options: the words `align`,
// `direction` and `anchor` take, wraplength and line_spacing within their
// limits, and the rows a block's lines take from the font's line metrics.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "layout/text_block.h"

namespace lumo::layout {

/// The alignment an `align` word names: 'start', 'left', 'center' or 'right'.
std::optional<Align> align_named(std::string_view word);

/// The direction a `direction` word names: 'ltr', 'rtl' or 'auto' (from the text).
std::optional<Direction> direction_named(std::string_view word);

/// "align must be 'start', 'left', 'center' or 'right'" (and the same for
/// direction): the start of the message a word outside the list gets.
std::string align_choice_message();
std::string direction_choice_message();

/// A wraplength as a block wraps at: a negative one (even one too large to
/// hold, `below_range`) is 0, no wrapping; nullopt past the largest a run may
/// be (`above_range`: too large to hold).
std::optional<long> wraplength_of(long value, bool above_range, bool below_range);
std::string wraplength_limit_message();

/// Whether lines may be `spacing` line heights apart: above 0, at most kMaxLineSpacing.
bool line_spacing_allowed(double spacing);
std::string line_spacing_limit_message();

/// The rows every line of a block takes from the font's ascent and line
/// height (as the sized font gives them, in fractional pixels).
struct LineRows {
    long baseline = 0;     // from a line's top: the ascent rounded
    long line_height = 0;  // the line height cut to whole rows
    long descent() const { return baseline - line_height; }  // negative below the baseline
};
LineRows line_rows(double ascent, double line_height);

/// pygame.Rect's names for the points of a rectangle that a block or a
/// layout may be placed by.
inline constexpr std::array<const char*, 9> kAnchorNames = {
    "topleft", "midtop", "topright", "midleft", "center", "midright", "bottomleft", "midbottom", "bottomright"};

/// The anchor name `word` is, as the entry of kAnchorNames; null when none.
const char* anchor_named(std::string_view word);

/// "anchor must be one of 'topleft', ..., 'bottomright'": the start of the
/// message a block call's word outside kAnchorNames gets.
std::string anchor_choice_message();

/// "anchor must be one of topleft, ..., bottomright, not 'middle'": what a
/// layout's draw() says of `anchor` outside kAnchorNames.
std::string layout_anchor_message(std::string_view anchor);

}  // namespace lumo::layout
