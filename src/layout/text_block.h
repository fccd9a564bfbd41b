// A block of text: paragraphs (separated by "\n", "\r\n", "\r" or the other
// characters that end a line: VT, FF, NEL, U+2028, U+2029), each
// broken into lines no wider than a wrap length at the Unicode line break
// opportunities, with the inline markup in force carried from line to line;
// and the lines placed one under another and aligned.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::layout {

enum class Direction { left_to_right, right_to_left, from_text };
enum class Align { start, left, center, right };

/// One line of a block.
struct BlockLine {
    std::u32string markup;   // the line for the line renderer: the tags in force at its start, then its text
    std::u32string visible;  // its characters as typed, trailing white space included
    bool right_to_left = false;  // its paragraph reads right to left
    std::size_t first = 0;   // the text's characters (typed_characters()) it starts at
    std::size_t shown = 0;   // how many of its characters the line draws: all but its trailing white space
    bool wrapped = false;    // its paragraph goes on in the next line
};

/// A character of a text as typed, with the markup in force where it stands.
struct TypedChar {
    char32_t code = 0;
    std::size_t start = 0, end = 0;    // where it stands in the text
    std::optional<char32_t> colour;    // the palette key of the colour tag in force
    std::size_t face_start = 0, face_end = 0;  // the face word in force (empty: the call's face)
};

/// The characters of `text`, its markup tags left out (`is_palette_key` as
/// for break_into_lines; empty: no markup).
std::vector<TypedChar> typed_characters(std::u32string_view text, const std::function<bool(char32_t)>& is_palette_key);

/// Whether a character ends a paragraph: line feed, carriage return, the
/// vertical tab, form feed, next line, and the line and paragraph separators.
bool separates_lines(char32_t code);

/// A line's runs summed: their advances, their count, and how far the last
/// run's surface reaches past its advance (a line's width is the advances
/// and that reach).
struct LineAdvance {
    long total = 0;
    std::size_t runs = 0;
    long last_reach = 0;
};

/// Measures a line the way the line renderer would draw it.
class LineWidths {
public:
    virtual ~LineWidths() = default;
    virtual long width(std::u32string_view markup, bool right_to_left) = 0;
    /// The line's runs summed, where lines are cut into runs at every space
    /// as the renderer cuts them (nullopt: only width() tells).
    virtual std::optional<LineAdvance> advance(std::u32string_view, bool) { return std::nullopt; }
};

/// The lines of `text`. With `wraplength` > 0 a line ends at the last break
/// opportunity that keeps it (without its trailing white space) no wider
/// than `wraplength`, or after its first word when even that is wider.
/// `is_palette_key` says which "^" tags are colour tags, as the renderer's.
std::vector<BlockLine> break_into_lines(std::u32string_view text, Direction direction, long wraplength,
                                        LineWidths& widths, const std::function<bool(char32_t)>& is_palette_key);

/// The same for a text whose characters are already read (typed_characters()).
std::vector<BlockLine> break_into_lines(std::u32string_view text, std::span<const TypedChar> chars,
                                        Direction direction, long wraplength, LineWidths& widths);

/// How a drawn line reaches: its width, and its ink's top and bottom rows
/// measured from the line's top (the top may be negative: marks above).
struct LineExtent {
    long width = 0;
    long ink_top = 0;
    long ink_bottom = 0;
};

struct BlockGeometry {
    long width = 1;
    long height = 1;
    std::vector<long> x, y;  // each line's top-left corner on the block
};

/// Lines `line_height` × `line_spacing` apart, aligned in a block as wide as
/// the widest line (or `wraplength`, when given and the alignment is centre
/// or right), tall enough for every line's ink.
BlockGeometry place_lines(std::span<const LineExtent> extents, std::span<const BlockLine> lines, Align align,
                          long wraplength, long line_height, double line_spacing);

}  // namespace lumo::layout
