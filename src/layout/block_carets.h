// Carets, hit tests, selections and caret motion over a laid-out block of
// text, computed from where its lines' runs put each character. Indices are
// positions in the text as the caller typed it: a tag of the inline markup
// takes no room (an index inside one stands where the tag does).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "layout/character_boxes.h"

namespace lumo::layout {

/// A character of the text (markup tags are not characters) and where it
/// stands in the text as typed.
struct CaretCharacter {
    char32_t code = 0;
    std::size_t start = 0, end = 0;
    bool drawn = true;  // false: no glyph of its own (dropped marks, paragraph separators)
};

/// A run as its line draws it: where its glyphs came from in the text.
struct DrawnRun {
    std::size_t first = 0;  // its first character (a run drawn as one picture belongs to it)
    std::vector<std::size_t> glyph_characters;  // per glyph, in drawing order: the first character it was shaped from
};

/// One line of the block.
struct CaretLine {
    std::size_t first = 0, end = 0;  // its characters [first, end): trailing spaces in, the separator out
    bool wrapped = false;            // the paragraph goes on in the next line
    long x = 0, y = 0, width = 0, height = 0;  // its rectangle on the block: drawn width, one line height
    long baseline = 0;                          // the block's row of its baseline
    long ink_top = 0, ink_bottom = 0;           // rows its ink reaches from y (ink_top may be negative)
    bool right_to_left = false;                 // its paragraph's direction
    // Where the paragraph starts and ends on the line (its reading direction's
    // sides): a character typed at its start or end in that direction goes there.
    double start_edge = 0.0, end_edge = 0.0;
    std::vector<RunPlace> runs;      // read once, to place the characters
    std::vector<GlyphPlace> glyphs;  // the runs' glyphs
    std::size_t drawn_runs = 0;      // runs[0, drawn_runs) are the line's runs as drawn; the rest hang past its end
    std::vector<DrawnRun> drawn;     // kept from runs and glyphs: what each drawn run was shaped from
};

struct PixelRect {
    long x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

class BlockCarets {
public:
    /// `characters` in order; `text_length` the length of the typed text;
    /// `lines` in order, holding the characters between them (separators excepted).
    BlockCarets(std::vector<CaretCharacter> characters, std::size_t text_length, std::vector<CaretLine> lines);

    std::size_t text_length() const { return text_length_; }
    std::size_t line_count() const { return lines_.size(); }
    const CaretLine& line(std::size_t number) const { return lines_[number]; }
    /// The typed range [start, end) of a line: its characters and the tags among them.
    std::pair<std::size_t, std::size_t> line_range(std::size_t number) const;

    /// The text's characters, and a grapheme cluster boundary flag before
    /// each of them and at the end; where each character stands on screen.
    const std::vector<CaretCharacter>& characters() const { return characters_; }
    const std::vector<bool>& grapheme_flags() const { return graphemes_; }
    const CharacterBox& box(std::size_t position) const { return boxes_[position]; }
    /// The text index a character position stands at: where the character before it ends.
    std::size_t index_of(std::size_t position) const;

    /// The line an index's caret stands on.
    std::size_t line_of(std::size_t index) const;

    /// The caret before the character at `index` (clamped to the text, moved
    /// back to the start of a grapheme cluster it falls inside): where the
    /// character before it ends (the strong caret: the direction typed last),
    /// or, with `weak`, where the character after it begins when the two
    /// differ in direction (else the strong caret). At a line's
    /// start or end the paragraph's own direction stands in for the missing
    /// neighbour: where a character of its direction would go.
    double caret_x(std::size_t index, bool weak = false) const;
    PixelRect caret(std::size_t index, bool weak = false) const;

    /// The caret index nearest to a point: the edge of the grapheme cluster
    /// under it (or nearest to it) that the point is closer to.
    std::size_t index_at(double x, double y) const;

    /// Rectangles covering the characters in [start, end), line by line, one
    /// per stretch that is contiguous on screen.
    std::vector<PixelRect> selection(std::size_t start, std::size_t end) const;

    /// The next and previous caret positions in the text: grapheme cluster boundaries.
    std::size_t next_caret(std::size_t index) const;
    std::size_t prev_caret(std::size_t index) const;

    /// The caret position `steps` places to the right (negative: left) on
    /// screen, across direction changes, continuing on the next line past a
    /// line's end in its reading direction (on the previous one past its
    /// start); unchanged at the text's ends.
    std::size_t move_visually(std::size_t index, long steps) const;

    /// The caret position `lines` lines below (negative: above) nearest to
    /// `x` (by default the caret's own); 0 above the first line, the text's
    /// length below the last.
    std::size_t move_vertically(std::size_t index, long lines, std::optional<double> x = std::nullopt) const;

    /// The word (or run of spaces or punctuation) around `index` by the word
    /// boundaries: the one after it, unless only the one before is a word.
    std::pair<std::size_t, std::size_t> word_at(std::size_t index) const;

private:
    /// The character position (0 .. characters) an index stands at: the
    /// characters that start before it.
    std::size_t position_of(std::size_t index) const;
    std::size_t grapheme_start(std::size_t position) const;
    double caret_at(const CaretLine& line, std::size_t position, bool weak) const;
    std::size_t position_on(const CaretLine& line, double x) const;
    /// The caret positions of a line, left to right on screen.
    std::vector<std::size_t> visual_stops(std::size_t line_number) const;
    bool is_word(std::size_t start, std::size_t end) const;

    std::vector<CaretCharacter> characters_;
    std::size_t text_length_;
    std::vector<CaretLine> lines_;
    std::vector<std::size_t> line_starts_;  // each line's first typed index
    std::vector<bool> graphemes_;
    mutable std::vector<bool> words_;  // found when a word is first asked for
    std::vector<CharacterBox> boxes_;
};

}  // namespace lumo::layout
