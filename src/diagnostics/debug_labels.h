// The labels of the debug report: where the font chosen for a character comes
// from, which effects imitate its face, and how it is drawn.
#pragma once

#include <string>
#include <string_view>

namespace lumo::diagnostics {

enum class FontSource { primary, fallback, emoji, international, missing };

/// "PRIMARY", "FALLBACK", "EMOJI", "INTL" or "MISSING".
std::string_view font_source_label(FontSource source);

/// What the source label asks about the font chosen, in this order.
class SourceQuestions {
public:
    virtual ~SourceQuestions() = default;
    /// Whether the font chosen is the primary (fallback) family's file in the
    /// face, as path data or by its path.
    virtual bool is_primary() = 0;
    virtual bool is_fallback() = 0;
    /// Whether the object has an emoji font and the chosen font's path is it.
    virtual bool is_emoji_font() = 0;
};

/// Where the font chosen comes from: the first family it is a file of, else
/// the emoji font, else a script-folder font; "missing" when none was chosen.
FontSource font_source_of(bool font_chosen, SourceQuestions& questions);

/// "BOLD+ITALIC", "BOLD", "ITALIC" or "NONE".
std::string_view synthetic_label(bool bold, bool italic);

/// How a character is drawn: "COLOR" by a font with colour glyphs, "LEGACY"
/// by a monochrome emoji font through pygame's older engine, otherwise its
/// script group's path ("SHAPED" or "SIMPLE").
std::string_view render_path_label(bool font_chosen, bool colour_glyphs, FontSource source, int script_group);

/// "U+" and the code point in upper-case hexadecimal, at least four digits.
std::string code_point_label(char32_t code);

/// The last component of a path written with '/' (all of it without one).
std::u32string_view file_name_of(std::u32string_view path);

/// The label fields of one entry of the report, in the entry's order.
struct EntryLabels {
    std::string hex;                // "U+0041"; "TAG"
    std::string_view category;      // the general category; "TAG"
    std::string_view script;        // the script group's label; "-"
    std::string_view font_source;   // font_source_label(); "TAG"
    long ttc_index = -1;            // the face in a collection; -1 for a single font
    bool has_glyph = false;
    std::string_view synthetic;     // synthetic_label()
    std::string_view render_path;   // render_path_label(); "-"
    bool is_tag = false;
};

/// The labels of a tag's entry.
EntryLabels tag_labels();

/// What the report found out about one character and the font chosen for it.
struct CharacterFacts {
    char32_t code = 0;
    bool font_chosen = false;
    FontSource source = FontSource::missing;
    long ttc_index = -1;
    bool covered = false;  // the font chosen maps the character
    bool synthetic_bold = false, synthetic_italic = false;
    bool colour_glyphs = false;  // the font chosen has colour glyphs
};

/// The labels of a character's entry.
EntryLabels character_labels(const CharacterFacts& facts);

}  // namespace lumo::diagnostics
