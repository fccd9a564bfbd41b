// The order rule of the script font folder, on scripted coverage: symbol
// fonts first, scripts by how widely they are written, symbol fonts behind
// the script fonts whose letters they share, and only fonts that add something.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "font/script_font_folder.h"
#include "font/script_font_order.h"
#include "real_fonts.h"

using lumo::font::CandidateFont;
using lumo::font::CodePointSet;
using lumo::font::FolderFont;
using lumo::font::FolderFontRole;
using lumo::font::order_folder_fonts;

namespace {

constexpr std::uint32_t kDanda = 0x0964;       // Common, shared by the Brahmic scripts
constexpr std::uint32_t kDottedCircle = 0x25CC;  // Common, in nearly every script font

std::vector<std::uint32_t> span_of(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint32_t> code_points;
    for (std::uint32_t code_point = first; code_point <= last; ++code_point) code_points.push_back(code_point);
    return code_points;
}

CandidateFont font(std::string name, std::vector<std::vector<std::uint32_t>> parts) {
    std::vector<std::uint32_t> code_points;
    for (const auto& part : parts) code_points.insert(code_points.end(), part.begin(), part.end());
    std::string path = "/f/" + name + ".ttf";
    return {std::move(path), std::move(name), CodePointSet::from_code_points(std::move(code_points))};
}

std::vector<std::string> names_in_order(const std::vector<CandidateFont>& candidates) {
    std::vector<std::string> names;
    for (const FolderFont& chosen : order_folder_fonts(candidates))
        names.push_back(chosen.path.substr(3, chosen.path.size() - 7));  // "/f/NAME.ttf"
    return names;
}

// Letters of a few scripts, with the punctuation script fonts carry along.
const std::vector<std::uint32_t> kAscii = span_of(0x20, 0x7E);
const std::vector<std::uint32_t> kDevanagari = span_of(0x0905, 0x0939);
const std::vector<std::uint32_t> kBengali = span_of(0x0985, 0x098C);
const std::vector<std::uint32_t> kGrantha = span_of(0x11305, 0x1130C);
const std::vector<std::uint32_t> kArabic = span_of(0x0627, 0x063A);
const std::vector<std::uint32_t> kSyriac = span_of(0x0710, 0x072F);
const std::vector<std::uint32_t> kRunic = span_of(0x16A0, 0x16EA);
const std::vector<std::uint32_t> kTifinagh = span_of(0x2D30, 0x2D67);
const std::vector<std::uint32_t> kArrows = span_of(0x2190, 0x21FF);
const std::vector<std::uint32_t> kMath = span_of(0x2200, 0x22FF);
const std::vector<std::uint32_t> kMusic = span_of(0x1D100, 0x1D126);

TEST(ScriptFontOrder, ScriptsAreClassifiedFromWhatTheFontsCover) {
    EXPECT_EQ(lumo::font::script_tag_of('A'), "Latn");
    EXPECT_EQ(lumo::font::script_tag_of(kDanda), "Zyyy");
    EXPECT_EQ(lumo::font::script_tag_of(0x0301), "Zinh");
    EXPECT_EQ(lumo::font::script_tag_of(0xE000), "Zzzz");
    EXPECT_EQ(lumo::font::script_tag_of(0x0915), "Deva");

    const std::vector<FolderFont> chosen = order_folder_fonts({
        font("noto sans devanagari", {kAscii, kDevanagari, {kDanda}}),
        font("noto sans math", {kAscii, kMath}),
        font("noto sans", {kAscii, span_of(0xC0, 0x24F)}),  // a main text font: left out
        font("empty", {}),
    });
    ASSERT_EQ(chosen.size(), 2u);
    // Symbols count for a symbol font, Latin letters do not.
    const std::size_t ascii_symbols = kAscii.size() - 52;
    EXPECT_EQ(chosen[0], (FolderFont{"/f/noto sans math.ttf", FolderFontRole::symbols, "Zyyy",
                                     kMath.size() + ascii_symbols}));
    // More Devanagari letters than Latin ones: a Devanagari font, and only its letters count.
    EXPECT_EQ(chosen[1], (FolderFont{"/f/noto sans devanagari.ttf", FolderFontRole::script, "Deva",
                                     kDevanagari.size()}));
}

TEST(ScriptFontOrder, SymbolFontsFirstPurestFirst) {
    EXPECT_EQ(names_in_order({
                  font("noto sans devanagari", {kDevanagari, {kDanda, kDottedCircle}}),
                  font("symbola", {kAscii, kArrows, kMath, {kDottedCircle}}),   // a broad font with symbols
                  font("noto music", {kMusic, {0x20, 0x2E, 0x0391, 0x0392}}),
                  font("noto sans symbols", {kArrows, {0x20}}),
              }),
              (std::vector<std::string>{"noto sans symbols", "noto music", "symbola", "noto sans devanagari"}));
}

TEST(ScriptFontOrder, TheMostWidelyWrittenScriptDrawsWhatScriptsShare) {
    // Each Brahmic font has the danda; the folder must try Devanagari's first.
    const std::vector<CandidateFont> candidates = {
        font("noto sans grantha", {kGrantha, {kDanda, kDottedCircle}}),
        font("noto sans bengali", {kBengali, {kDanda, kDottedCircle}}),
        font("noto serif devanagari", {kDevanagari, {kDanda, 0x0972}}),   // one letter more than the sans
        font("noto sans devanagari", {kDevanagari, {kDanda, kDottedCircle}}),
        font("noto serif bengali", {kBengali, {kDanda}}),                   // adds nothing: left out
    };
    const std::vector<FolderFont> chosen = order_folder_fonts(candidates);
    std::vector<std::string> names;
    for (const FolderFont& entry : chosen) names.push_back(entry.path);
    EXPECT_EQ(names, (std::vector<std::string>{"/f/noto sans devanagari.ttf", "/f/noto serif devanagari.ttf",
                                               "/f/noto sans bengali.ttf", "/f/noto sans grantha.ttf"}));
    EXPECT_EQ(chosen[1].added, 1u);  // the serif design only draws its extra letter
}

TEST(ScriptFontOrder, ScriptsOfLargeLanguagesThenSmallCommunitiesThenTheRest) {
    EXPECT_EQ(names_in_order({
                  font("noto sans runic", {kRunic}),
                  font("noto sans tifinagh", {kTifinagh}),
                  font("noto sans syriac", {kSyriac, {0x064B}}),
                  font("noto sans arabic", {kArabic, {0x064B}}),
              }),
              (std::vector<std::string>{"noto sans arabic", "noto sans syriac", "noto sans tifinagh",
                                        "noto sans runic"}));
}

TEST(ScriptFontOrder, AScriptsPlainFontBeforeItsVariantsSansBeforeSerif) {
    EXPECT_EQ(names_in_order({
                  font("noto sans tifinagh adrar", {kTifinagh}),
                  font("noto serif tifinagh", {kTifinagh, {0x2D6F}}),
                  font("noto sans tifinagh", {kTifinagh}),
              }),
              (std::vector<std::string>{"noto sans tifinagh", "noto serif tifinagh"}));
}

TEST(ScriptFontOrder, ASymbolFontWaitsForTheScriptFontsWhoseLettersItHas) {
    const std::vector<std::uint32_t> arabic_math_letters = span_of(0x1EE00, 0x1EE03);
    EXPECT_EQ(names_in_order({
                  font("noto sans arabic", {kArabic}),
                  font("symbols with arabic", {kArrows, {kArabic[0], kArabic[1]}}),
                  font("noto sans math", {kMath, arabic_math_letters}),   // no Arabic font has these: stays first
                  font("noto sans runic", {kRunic}),
              }),
              (std::vector<std::string>{"noto sans math", "noto sans arabic", "symbols with arabic",
                                        "noto sans runic"}));
}

TEST(ScriptFontOrder, OnlyFontsThatDrawSomethingNewAreKept) {
    EXPECT_EQ(names_in_order({
                  font("noto sans symbols", {kArrows}),
                  font("arrows and latin", {kArrows, span_of('a', 'e')}),   // Latin letters do not count
                  font("private symbols", {span_of(0xE000, 0xE0FF), {0x2190}}),   // nor private use
                  font("noto sans devanagari", {kDevanagari, {kDanda}}),
                  // Nor symbols, for a script font.
                  font("devanagari and new punctuation", {kDevanagari, {0x2E3A, 0x2E3B}}),
              }),
              (std::vector<std::string>{"noto sans symbols", "noto sans devanagari"}));
}

TEST(ScriptFontOrder, TheSameFontsInAnyOrderGiveTheSameFolder) {
    std::vector<CandidateFont> candidates = {
        font("noto sans symbols", {kArrows}), font("noto sans math", {kMath}), font("noto music", {kMusic}),
        font("noto sans arabic", {kArabic}), font("noto naskh arabic", {kArabic, {0x063B}}),
        font("noto sans devanagari", {kDevanagari, {kDanda}}), font("noto sans bengali", {kBengali, {kDanda}}),
        font("noto sans runic", {kRunic}), font("noto sans tifinagh", {kTifinagh}),
    };
    const std::vector<FolderFont> first = order_folder_fonts(candidates);
    EXPECT_EQ(first.size(), candidates.size());
    std::sort(candidates.begin(), candidates.end(),
              [](const CandidateFont& a, const CandidateFont& b) { return a.path > b.path; });
    do {
        ASSERT_EQ(order_folder_fonts(candidates), first);
    } while (std::next_permutation(candidates.begin() + 4, candidates.end(),
                                   [](const CandidateFont& a, const CandidateFont& b) { return a.path > b.path; }));
}

TEST(ScriptFontOrder, ColourFontsAreToldApart) {
    if (!lumo::test::font_installed(lumo::test::kNotoColorEmoji)) GTEST_SKIP() << "Noto Color Emoji not installed";
    EXPECT_TRUE(lumo::font::has_colour_glyphs(lumo::test::kNotoColorEmoji));
    EXPECT_FALSE(lumo::font::has_colour_glyphs(lumo::test::kDejaVuSans));
    EXPECT_FALSE(lumo::font::has_colour_glyphs("/no/such/font.ttf"));
}

TEST(ScriptFontOrder, InstalledFontsGiveOneFontPerScriptAndTheSymbolFontsFirst) {
    const std::string noto = "/usr/share/fonts/truetype/noto/";
    if (!lumo::test::font_installed(noto + "NotoSansSymbols2-Regular.ttf")) GTEST_SKIP() << "Noto fonts not installed";
    std::vector<lumo::index::RegularFontFile> files;
    for (const char* name : {"NotoSansDevanagari-Regular.ttf", "NotoSansGrantha-Regular.ttf", "NotoColorEmoji.ttf",
                             "NotoSansSymbols2-Regular.ttf", "NotoSans-Regular.ttf", "NotoSansBengali-Regular.ttf",
                             "NotoSerifDevanagari-Regular.ttf"})
        files.push_back({noto + name, name});
    std::vector<std::string> chosen;
    for (const FolderFont& entry : lumo::font::choose_script_fonts(files))
        chosen.push_back(entry.path.substr(noto.size()));
    EXPECT_EQ(chosen, (std::vector<std::string>{"NotoSansSymbols2-Regular.ttf", "NotoSansDevanagari-Regular.ttf",
                                                "NotoSansBengali-Regular.ttf", "NotoSansGrantha-Regular.ttf"}));
}

}  // namespace
