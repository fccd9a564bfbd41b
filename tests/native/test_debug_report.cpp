// The debug report's walk: one entry per character or tag, the faces the
// tags open and close, and what is asked about each character's font, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/debug_report.h"

namespace {

using namespace lumo::diagnostics;

/// Fonts that choose "/fonts/Chosen.ttc" (face 2) for every letter and none
/// for anything else, noting each question.
struct FakeFonts final : ReportFonts, SourceQuestions {
    std::vector<std::string> asked;
    std::vector<std::u32string> faces_opened;

    bool is_palette_key(char32_t key) override { return note("palette", key == U'1'); }
    void face_opened(std::u32string_view word) override { faces_opened.emplace_back(word); }
    bool starts_keycap(std::u32string_view text, std::size_t position) override {
        return note("keycap", text[position] == U'#');
    }
    bool choose_font(char32_t code, std::size_t face, bool keycap, lumo::font::Presentation) override {
        return note("choose in face " + std::to_string(face), keycap || (code >= U'a' && code <= U'z'));
    }
    std::u32string chosen_path() override { return note("path", U"/fonts/Chosen.ttc"); }
    long chosen_face_index() override { return note("index", 2L); }
    bool chosen_covers(char32_t code) override { return note("covers", code != U'q'); }
    SourceQuestions& chosen_sources(std::size_t) override { return *this; }
    bool is_primary() override { return note("primary", true); }
    bool is_fallback() override { return note("fallback", false); }
    bool is_emoji_font() override { return note("emoji", false); }
    lumo::shaping::DrawnStyle imitated_style(std::size_t face) override {
        lumo::shaping::DrawnStyle style;
        style.synthetic_bold = face == 1;
        return note("style", style);
    }
    bool chosen_has_colour_glyphs() override { return note("colour", false); }

    template <typename Answer>
    Answer note(std::string what, Answer answer) {
        asked.push_back(std::move(what));
        return answer;
    }
};

std::vector<ReportTag> tags_of(const std::vector<ReportEntry>& entries) {
    std::vector<ReportTag> tags;
    for (const ReportEntry& entry : entries) tags.push_back(entry.tag);
    return tags;
}

TEST(DebugReport, TagsOpenAndCloseFacesAndColourTagsKeepTheirKey) {
    FakeFonts fonts;
    const std::vector<ReportEntry> entries = debug_report(U"a<Bold={b}>^1c", fonts);
    EXPECT_EQ(tags_of(entries), (std::vector<ReportTag>{ReportTag::none, ReportTag::face_open, ReportTag::none,
                                                         ReportTag::face_close, ReportTag::colour, ReportTag::none}));
    EXPECT_EQ(fonts.faces_opened, std::vector<std::u32string>{U"Bold"});
    const std::vector<std::size_t> faces = {entries[0].face, entries[1].face, entries[2].face,
                                            entries[3].face, entries[4].face, entries[5].face};
    EXPECT_EQ(faces, (std::vector<std::size_t>{0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(entries[4].code, U'1');
    EXPECT_EQ(entries[4].font, U"-");
    EXPECT_TRUE(entries[4].labels.is_tag);
    EXPECT_EQ(entries[2].labels.synthetic, "BOLD");  // drawn in the face the tag opened
    EXPECT_EQ(entries[5].labels.synthetic, "NONE");
}

TEST(DebugReport, ACharacterWithAFontIsLabelledFromItsFileInTheOrderTheQuestionsAreAsked) {
    FakeFonts fonts;
    const std::vector<ReportEntry> entries = debug_report(U"q", fonts);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].font, U"Chosen.ttc");
    EXPECT_EQ(entries[0].labels.hex, "U+0071");
    EXPECT_EQ(entries[0].labels.ttc_index, 2);
    EXPECT_FALSE(entries[0].labels.has_glyph);
    EXPECT_EQ(entries[0].labels.font_source, "PRIMARY");
    EXPECT_EQ(fonts.asked, (std::vector<std::string>{"keycap", "choose in face 0", "path", "index", "covers",
                                                      "primary", "style", "colour"}));
}

TEST(DebugReport, ACharacterWithoutAFontIsNotFoundAndItsFileIsNotAskedAbout) {
    FakeFonts fonts;
    const std::vector<ReportEntry> entries = debug_report(U"7", fonts);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].font, U"NOT_FOUND");
    EXPECT_EQ(entries[0].labels.font_source, "MISSING");
    EXPECT_EQ(entries[0].labels.ttc_index, -1);
    EXPECT_EQ(fonts.asked, (std::vector<std::string>{"keycap", "choose in face 0", "style"}));
}

TEST(DebugReport, AKeycapsDigitIsChosenAsAKeycap) {
    FakeFonts fonts;
    const std::vector<ReportEntry> entries = debug_report(U"#\uFE0F\u20E3", fonts);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0].font, U"Chosen.ttc");  // the fake chooses a font only for letters and keycaps
}

}  // namespace
