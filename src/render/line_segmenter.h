// Cutting a line into pieces of one font, script group, colour and face, with
// the inline markup applied and invisible marks dropped; and cutting pieces
// again where the bidirectional level changes. Fonts, colours and faces are
// the host's to look up: the segmenter knows them by number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "font/emoji_presentation.h"

namespace lumo::render {

/// What the segmenter asks of whoever holds the fonts, the palette and the
/// face words. Numbers are the host's own handles; the segmenter only passes
/// them back and compares them.
class SegmentationHost {
public:
    virtual ~SegmentationHost() = default;
    /// Whether `key` names a palette colour now.
    virtual bool is_palette_key(char32_t key) = 0;
    /// The palette colour named by `key`; `call_colour()` for "^r".
    virtual int palette_colour(char32_t key) = 0;
    virtual int call_colour() = 0;
    /// The face a "<word={" tag opens (`word` as typed), and the call's face.
    virtual int open_face(std::u32string_view word) = 0;
    virtual int call_face() = 0;
    /// The font that draws `code` in `face` as the text asks (`presentation`:
    /// an emoji or text variation selector after it, an emoji sequence); the
    /// face's fallback font (spaces take it, so a line keeps one height); the
    /// emoji font (keycaps take it).
    virtual int font_for(char32_t code, int face, font::Presentation presentation) = 0;
    virtual int fallback_font(int face) = 0;
    virtual int emoji_font() = 0;
    /// Whether two different handles name equal fonts, and whether a handle
    /// names "no font".
    virtual bool same_font(int a, int b) = 0;
    virtual bool is_no_font(int font) = 0;
    /// Whether the emoji font draws the combining keycap.
    virtual bool emoji_draws_keycap() = 0;
};

/// `length` visible characters from `start` sharing font, group, colour and face.
struct LinePiece {
    std::size_t start = 0;
    std::size_t length = 0;
    int font = 0;
    int colour = 0;
    int script_group = 0;
    int face = 0;
    std::uint8_t level = 0;  // bidirectional embedding level, once cut by levels
};

struct SegmentedLine {
    std::u32string visible;  // the line without its markup and dropped marks
    std::vector<LinePiece> pieces;
};

/// Whether the character at `i` of `line` starts a keycap sequence: a digit,
/// '#' or '*' and U+20E3 (after an optional U+FE0F). It is drawn as a keycap
/// when the emoji font draws U+20E3.
bool is_keycap_sequence_at(std::u32string_view line, std::size_t i);

/// The line's pieces in typed order. The host is asked in the order the
/// characters are met, once per character at most (Latin-1 characters once
/// per face and line). Without `markup` tags are characters like any other.
SegmentedLine segment_markup(std::u32string_view line, SegmentationHost& host, bool markup = true);

/// The pieces cut again wherever `levels` (one per visible character) changes,
/// each carrying its level, in drawing order (rule L2).
std::vector<LinePiece> cut_by_levels(std::span<const LinePiece> pieces, std::span<const std::uint8_t> levels);

/// The pieces of `line` as runs in drawing order: cut by the levels of a
/// right-to-left paragraph when the line is one of a right-to-left block,
/// else by the Unicode Bidirectional Algorithm's levels when the line may
/// hold right-to-left characters; a line without any is left to right
/// throughout and keeps its pieces (`line.pieces` is taken).
std::vector<LinePiece> pieces_in_drawing_order(SegmentedLine& line, bool right_to_left_paragraph);

}  // namespace lumo::render
