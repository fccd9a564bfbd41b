// The labels of the debug report; see debug_labels.h.
#include "diagnostics/debug_labels.h"

#include <cstdio>

#include "render/script_groups.h"

namespace lumo::diagnostics {

std::string_view font_source_label(FontSource source) {
    switch (source) {
    case FontSource::primary: return "PRIMARY";
    case FontSource::fallback: return "FALLBACK";
    case FontSource::emoji: return "EMOJI";
    case FontSource::international: return "INTL";
    case FontSource::missing: break;
    }
    return "MISSING";
}

FontSource font_source_of(bool font_chosen, SourceQuestions& questions) {
    if (!font_chosen) return FontSource::missing;
    if (questions.is_primary()) return FontSource::primary;
    if (questions.is_fallback()) return FontSource::fallback;
    if (questions.is_emoji_font()) return FontSource::emoji;
    return FontSource::international;
}

std::string_view synthetic_label(bool bold, bool italic) {
    if (bold && italic) return "BOLD+ITALIC";
    if (bold) return "BOLD";
    if (italic) return "ITALIC";
    return "NONE";
}

std::string_view render_path_label(bool font_chosen, bool colour_glyphs, FontSource source, int script_group) {
    if (font_chosen) {
        if (colour_glyphs) return "COLOR";
        if (source == FontSource::emoji) return "LEGACY";
    }
    return render::script_render_path(script_group);
}

std::string code_point_label(char32_t code) {
    char label[16];
    std::snprintf(label, sizeof label, "U+%04X", static_cast<unsigned>(code));
    return label;
}

std::u32string_view file_name_of(std::u32string_view path) {
    const std::size_t slash = path.rfind(U'/');
    return slash == std::u32string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace lumo::diagnostics
