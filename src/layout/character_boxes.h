// Where each character of a laid-out line stands: its share of the advances
// of the glyphs it was shaped into (a ligature or a conjunct split evenly
// between its grapheme clusters), the ink of those glyphs, and its direction.
// Carets, hit tests and selections are read from these boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumo::layout {

/// One glyph of a run, as hit testing needs it.
struct GlyphPlace {
    std::size_t character = 0;  // its cluster: the index of the cluster's first character
    double advance = 0.0;       // pixels the pen moves after it
    double ink_left = 0.0, ink_right = 0.0;  // the columns its ink covers on the block; equal: no ink
};

/// One run of a line as it was drawn.
struct RunPlace {
    std::size_t first = 0, end = 0;  // its characters [first, end)
    std::uint8_t level = 0;  // its bidirectional embedding level: odd is right to left
    double origin = 0.0;  // the block's x where its pen starts
    double advance = 0.0;  // without glyphs: the room it takes, shared by its graphemes
    double ink_left = 0.0, ink_right = 0.0;  // without glyphs: the columns its ink covers
    std::size_t first_glyph = 0, glyph_count = 0;  // its glyphs among the line's, left to right as drawn
};

struct CharacterBox {
    double left = 0.0, right = 0.0;          // its share of the advances, on the block
    double ink_left = 0.0, ink_right = 0.0;  // what a selection of it covers: its share and its glyphs' ink
    std::uint8_t level = 0;  // its bidirectional embedding level: odd is right to left

    bool right_to_left() const { return (level & 1) != 0; }
    /// The edge a caret before it stands at, and the edge after it.
    double leading() const { return right_to_left() ? right : left; }
    double trailing() const { return right_to_left() ? left : right; }
};

/// The room a cluster's glyphs take and the columns their ink covers.
struct ClusterExtent {
    double left = 0.0, right = 0.0;
    double ink_left = 0.0, ink_right = 0.0;
    bool seen = false;

    void include(double pen_left, double pen_right, double glyph_ink_left, double glyph_ink_right);
};

/// Lists place_characters() works in, kept from line to line of a block.
struct CharacterScratch {
    std::vector<std::size_t> starts;
    std::vector<ClusterExtent> extents;
    std::vector<std::uint8_t> placed;
};

/// What place_characters() knows of every character of the text.
struct CharacterFlags {
    const std::vector<bool>& grapheme_boundaries;  // one per character and one for the end
    const std::vector<bool>& drawn;  // false: no glyph of its own (dropped marks)
};

/// Boxes for the characters [first, end) of one line, written into `boxes`
/// (indexed like the text's characters), from the line's runs, which hold
/// every one of them, and their glyphs. A character without glyphs stands, without width, at
/// the end of the drawn character before it in its run (or at the start of
/// its run). Characters no run holds stand at `edge` at the paragraph's level.
void place_characters(std::span<const RunPlace> runs, std::span<const GlyphPlace> glyphs, const CharacterFlags& flags,
                      std::size_t first, std::size_t end, double edge, std::uint8_t paragraph_level,
                      CharacterScratch& scratch, std::vector<CharacterBox>& boxes);

}  // namespace lumo::layout
