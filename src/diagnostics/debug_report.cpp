// The debug report's walk over a text; see debug_report.h.
#include "diagnostics/debug_report.h"

#include "render/markup.h"

namespace lumo::diagnostics {
namespace {

ReportEntry tag_entry(ReportTag tag, std::size_t face, char32_t key = U' ') {
    return {tag, key, face, U"-", tag_labels()};
}

ReportEntry character_entry(std::u32string_view text, const render::MarkupToken& token, std::size_t face,
                            ReportFonts& fonts) {
    ReportEntry entry{ReportTag::none, token.code, face, U"NOT_FOUND", {}};
    CharacterFacts facts;
    facts.code = token.code;
    const bool keycap = fonts.starts_keycap(text, token.start);
    facts.font_chosen = fonts.choose_font(token.code, face, keycap, font::requested_presentation(text, token.start));
    if (facts.font_chosen) {
        const std::u32string path = fonts.chosen_path();
        facts.ttc_index = fonts.chosen_face_index();
        entry.font = file_name_of(path);
        facts.covered = fonts.chosen_covers(token.code);
        facts.source = font_source_of(true, fonts.chosen_sources(face));
    }
    const shaping::DrawnStyle style = fonts.imitated_style(face);
    facts.synthetic_bold = style.synthetic_bold;
    facts.synthetic_italic = style.synthetic_italic;
    facts.colour_glyphs = facts.font_chosen && fonts.chosen_has_colour_glyphs();
    entry.labels = character_labels(facts);
    return entry;
}

}  // namespace

std::vector<ReportEntry> debug_report(std::u32string_view text, ReportFonts& fonts) {
    std::vector<ReportEntry> entries;
    std::size_t face = 0, faces_opened = 0;
    render::MarkupLexer lexer(text, [&fonts](char32_t key) { return fonts.is_palette_key(key); });
    render::MarkupToken token;
    while (lexer.next(token)) {
        switch (token.kind) {
        case render::MarkupKind::colour_tag: entries.push_back(tag_entry(ReportTag::colour, face, token.code)); break;
        case render::MarkupKind::face_open:
            fonts.face_opened(text.substr(token.word_start, token.word_end - token.word_start));
            face = ++faces_opened;
            entries.push_back(tag_entry(ReportTag::face_open, face));
            break;
        case render::MarkupKind::face_close:
            face = 0;
            entries.push_back(tag_entry(ReportTag::face_close, face));
            break;
        case render::MarkupKind::character: entries.push_back(character_entry(text, token, face, fonts)); break;
        }
    }
    return entries;
}

}  // namespace lumo::diagnostics
