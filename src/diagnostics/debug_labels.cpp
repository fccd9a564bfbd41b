// The labels of the debug report; see debug_labels.h.
#include "diagnostics/debug_labels.h"

#include <cstdio>

#include "render/char_categories.h"
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

EntryLabels tag_labels() {
    EntryLabels labels;
    labels.hex = "TAG";
    labels.category = "TAG";
    labels.script = "-";
    labels.font_source = "TAG";
    labels.synthetic = synthetic_label(false, false);
    labels.render_path = "-";
    labels.is_tag = true;
    return labels;
}

EntryLabels character_labels(const CharacterFacts& facts) {
    const int group = render::classify_script(facts.code);
    EntryLabels labels;
    labels.hex = code_point_label(facts.code);
    labels.category = render::general_category(facts.code);
    labels.script = render::script_label(group);
    labels.font_source = font_source_label(facts.source);
    labels.ttc_index = facts.ttc_index;
    labels.has_glyph = facts.covered;
    labels.synthetic = synthetic_label(facts.synthetic_bold, facts.synthetic_italic);
    labels.render_path = render_path_label(facts.font_chosen, facts.font_chosen && facts.colour_glyphs, facts.source, group);
    return labels;
}

}  // namespace lumo::diagnostics
