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

}  // namespace lumo::diagnostics
