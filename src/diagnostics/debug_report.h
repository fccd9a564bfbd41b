// The debug report's walk over a text: the markup read as rendering reads it
// (a face-open tag with or without a slash, no nesting), one entry per
// character or tag, each character's font asked for and labelled.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/debug_labels.h"
#include "font/emoji_presentation.h"
#include "shaping/drawn_style.h"

namespace lumo::diagnostics {

/// What the report asks about the markup and the fonts, in the order it asks. Faces are
/// numbered: 0 is the call's face, then 1, 2, ... the faces of the face tags
/// in the order the text opens them.
class ReportFonts {
public:
    virtual ~ReportFonts() = default;
    /// Whether a "^" tag with this key is a colour tag.
    virtual bool is_palette_key(char32_t key) = 0;
    /// A face tag opens the next face: `word` as typed in the tag.
    virtual void face_opened(std::u32string_view word) = 0;
    /// Whether the character at `position` of `text` starts a keycap the emoji font draws.
    virtual bool starts_keycap(std::u32string_view text, std::size_t position) = 0;
    /// Chooses the font that draws `code` in face `face` (the emoji font for
    /// a keycap's digit): whether there is one. What follows asks about it.
    virtual bool choose_font(char32_t code, std::size_t face, bool keycap, font::Presentation presentation) = 0;
    /// The chosen font's path, and its face in a collection (-1 for a single font).
    virtual std::u32string chosen_path() = 0;
    virtual long chosen_face_index() = 0;
    virtual bool chosen_covers(char32_t code) = 0;
    /// Asks whose file the chosen font is, in face `face`.
    virtual SourceQuestions& chosen_sources(std::size_t face) = 0;
    /// The effects that drawing the chosen font (or none) in face `face` imitates.
    virtual shaping::DrawnStyle imitated_style(std::size_t face) = 0;
    virtual bool chosen_has_colour_glyphs() = 0;
};

enum class ReportTag { none, colour, face_open, face_close };

/// One entry of the report.
struct ReportEntry {
    ReportTag tag = ReportTag::none;
    char32_t code = U' ';    // the character; a colour tag's key
    std::size_t face = 0;    // the face in force (a face tag's: the one it leaves in force)
    std::u32string font;     // the chosen font's file name, "NOT_FOUND" without one; "-" for a tag
    EntryLabels labels;
};

/// The report of `text`, a character's font asked of `fonts` when the walk reaches it.
std::vector<ReportEntry> debug_report(std::u32string_view text, ReportFonts& fonts);

}  // namespace lumo::diagnostics
