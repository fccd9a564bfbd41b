// The order of a script font folder: symbol fonts, then script fonts by how
// widely their script is written, each font kept only when it draws something
// the fonts before it do not. Scripts come from HarfBuzz's Unicode data.
#include "font/script_font_order.h"

#include <hb.h>

#include <algorithm>
#include <array>
#include <optional>
#include <queue>
#include <string_view>
#include <utility>

namespace lumo::font {
namespace {

using ScriptTag = hb_tag_t;  // an hb_script_t is its ISO 15924 tag

constexpr ScriptTag tag_of(std::string_view name) { return HB_TAG(name[0], name[1], name[2], name[3]); }

// The scripts the primary and fallback families are expected to cover.
constexpr std::array<std::string_view, 8> kMainTextScripts = {"Latn", "Grek", "Cyrl", "Hani",
                                                              "Hira", "Kana", "Hang", "Bopo"};

// Scripts by how widely they are written: those of today's large languages,
// roughly by number of readers, then the scripts Unicode lists for limited
// use by smaller communities. Every other script ranks after these.
constexpr std::array<std::string_view, 65> kScriptsByUse = {
    "Latn", "Hani", "Arab", "Deva", "Cyrl", "Beng", "Hira", "Kana", "Hang", "Telu", "Taml", "Gujr", "Knda",
    "Mlym", "Thai", "Guru", "Orya", "Mymr", "Sinh", "Ethi", "Grek", "Khmr", "Hebr", "Laoo", "Geor", "Armn",
    "Tibt", "Thaa", "Bopo",
    "Java", "Sund", "Syrc", "Mong", "Yiii", "Cans", "Cher", "Nkoo", "Tfng", "Bali", "Adlm", "Bamu", "Batk",
    "Bugi", "Cakm", "Cham", "Rohg", "Kali", "Lepc", "Limb", "Lisu", "Mand", "Mtei", "Plrd", "Talu", "Newa",
    "Hmnp", "Olck", "Osge", "Saur", "Sylo", "Tale", "Lana", "Tavt", "Vaii", "Wcho",
};

ScriptTag script_of(std::uint32_t code_point) {
    return static_cast<ScriptTag>(hb_unicode_script(hb_unicode_funcs_get_default(), code_point));
}

bool is_main_text_script(ScriptTag script) {
    return std::any_of(kMainTextScripts.begin(), kMainTextScripts.end(),
                       [&](std::string_view name) { return tag_of(name) == script; });
}

/// A script of letters: not Common, Inherited (combining marks) or Unknown.
bool is_letter_script(ScriptTag script) {
    return script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN;
}

std::size_t use_rank(ScriptTag script) {
    for (std::size_t rank = 0; rank < kScriptsByUse.size(); ++rank)
        if (tag_of(kScriptsByUse[rank]) == script) return rank;
    return kScriptsByUse.size();
}

bool has_word(std::string_view name, std::string_view word) {
    for (std::size_t at = name.find(word); at != std::string_view::npos; at = name.find(word, at + 1)) {
        const bool starts = at == 0 || name[at - 1] == ' ' || name[at - 1] == '-';
        const std::size_t end = at + word.size();
        if (starts && (end == name.size() || name[end] == ' ' || name[end] == '-')) return true;
    }
    return false;
}

/// 0 for a sans design, 1 for a serif one, 2 for any other.
int design_of(std::string_view full_name) {
    return has_word(full_name, "sans") ? 0 : has_word(full_name, "serif") ? 1 : 2;
}

struct Classified {
    const CandidateFont* font;
    FolderFontRole role;
    ScriptTag script;
    std::size_t symbols;         // code points of script Common
    std::size_t script_letters;  // letters of the font's own script
    std::size_t total;
    std::size_t rank;
    int design;
};

/// The font's role and script; nullopt for a font the folder leaves out.
std::optional<Classified> classify(const CandidateFont& font) {
    std::vector<std::pair<ScriptTag, std::size_t>> letters;  // few scripts per font: a flat list
    std::size_t symbols = 0;
    std::size_t all_letters = 0;
    for (const CodePointRange& range : font.coverage.ranges()) {
        for (std::uint32_t code_point = range.first; code_point <= range.last; ++code_point) {
            const ScriptTag script = script_of(code_point);
            if (script == HB_SCRIPT_COMMON) ++symbols;
            if (!is_letter_script(script)) continue;
            ++all_letters;
            auto counted = std::find_if(letters.begin(), letters.end(),
                                        [&](const auto& entry) { return entry.first == script; });
            if (counted == letters.end()) letters.emplace_back(script, 1);
            else ++counted->second;
        }
    }
    if (font.coverage.empty()) return std::nullopt;
    Classified classified{&font, FolderFontRole::symbols, HB_SCRIPT_COMMON, symbols, 0, font.coverage.size(), 0, 0};
    if (!letters.empty() && symbols <= all_letters) {
        // The most covered script; of two equal ones the smaller tag, whatever the order found.
        auto most = std::max_element(letters.begin(), letters.end(), [](const auto& a, const auto& b) {
            return a.second != b.second ? a.second < b.second : a.first > b.first;
        });
        if (is_main_text_script(most->first)) return std::nullopt;
        classified.role = FolderFontRole::script;
        classified.script = most->first;
        classified.script_letters = most->second;
        classified.rank = use_rank(most->first);
        classified.design = design_of(font.full_name);
    }
    return classified;
}

/// The order of rules 2 and 3, before rule 4 moves symbol fonts.
bool comes_first(const Classified& a, const Classified& b) {
    if (a.role != b.role) return a.role == FolderFontRole::symbols;
    if (a.role == FolderFontRole::symbols) {
        // The larger share of symbols, compared without division.
        const auto a_share = static_cast<unsigned long long>(a.symbols) * b.total;
        const auto b_share = static_cast<unsigned long long>(b.symbols) * a.total;
        if (a_share != b_share) return a_share > b_share;
    } else {
        if (a.rank != b.rank) return a.rank < b.rank;
        if (a.script != b.script) return a.script < b.script;  // a tag's number orders like its letters
        if (a.design != b.design) return a.design < b.design;
        if (a.script_letters != b.script_letters) return a.script_letters > b.script_letters;
    }
    // A script's plain font before its variants: "noto sans tifinagh" before "noto sans tifinagh adrar".
    if (a.font->full_name.size() != b.font->full_name.size())
        return a.font->full_name.size() < b.font->full_name.size();
    if (a.font->full_name != b.font->full_name) return a.font->full_name < b.font->full_name;
    return a.font->path < b.font->path;
}

/// Rule 4: for each symbol font, the script fonts that must come before it,
/// as positions in `fonts` (sorted by `comes_first`).
std::vector<std::vector<std::size_t>> fonts_to_wait_for(const std::vector<Classified>& fonts) {
    std::vector<std::vector<std::size_t>> waits(fonts.size());
    for (std::size_t symbol_font = 0; symbol_font < fonts.size(); ++symbol_font) {
        if (fonts[symbol_font].role != FolderFontRole::symbols) continue;
        std::vector<std::size_t>& wait = waits[symbol_font];
        for (const CodePointRange& range : fonts[symbol_font].font->coverage.ranges()) {
            for (std::uint32_t code_point = range.first; code_point <= range.last; ++code_point) {
                const ScriptTag script = script_of(code_point);
                if (!is_letter_script(script) || is_main_text_script(script)) continue;
                // The first font of the letter's script that covers it.
                for (std::size_t owner = 0; owner < fonts.size(); ++owner) {
                    if (fonts[owner].role != FolderFontRole::script || fonts[owner].script != script ||
                        !fonts[owner].font->coverage.contains(code_point))
                        continue;
                    if (std::find(wait.begin(), wait.end(), owner) == wait.end()) wait.push_back(owner);
                    break;
                }
            }
        }
    }
    return waits;
}

/// Positions in `fonts` in folder order: sorted order, except that a symbol
/// font waits for the script fonts of rule 4 (a script font never waits, so
/// there is no cycle).
std::vector<std::size_t> folder_order(const std::vector<Classified>& fonts) {
    const std::vector<std::vector<std::size_t>> waits = fonts_to_wait_for(fonts);
    std::vector<std::size_t> pending(fonts.size());
    std::vector<std::vector<std::size_t>> waited_by(fonts.size());
    for (std::size_t font = 0; font < fonts.size(); ++font) {
        pending[font] = waits[font].size();
        for (std::size_t owner : waits[font]) waited_by[owner].push_back(font);
    }
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> ready;
    for (std::size_t font = 0; font < fonts.size(); ++font)
        if (pending[font] == 0) ready.push(font);
    std::vector<std::size_t> order;
    while (!ready.empty()) {
        const std::size_t font = ready.top();
        ready.pop();
        order.push_back(font);
        for (std::size_t waiting : waited_by[font])
            if (--pending[waiting] == 0) ready.push(waiting);
    }
    return order;
}

/// Whether rule 5 counts the code point for a font of `role`.
bool counts_for(FolderFontRole role, std::uint32_t code_point) {
    const ScriptTag script = script_of(code_point);
    if (script == HB_SCRIPT_UNKNOWN || is_main_text_script(script)) return false;
    return role == FolderFontRole::symbols || is_letter_script(script);
}

std::string tag_text(ScriptTag script) {
    char text[5] = {};
    hb_tag_to_string(script, text);
    return std::string(text, 4);
}

}  // namespace

std::string script_tag_of(std::uint32_t code_point) { return tag_text(script_of(code_point)); }

std::vector<FolderFont> order_folder_fonts(const std::vector<CandidateFont>& candidates) {
    std::vector<Classified> fonts;
    for (const CandidateFont& candidate : candidates)
        if (std::optional<Classified> classified = classify(candidate)) fonts.push_back(*classified);
    std::sort(fonts.begin(), fonts.end(), comes_first);

    std::vector<bool> covered(kMaxCodePoint + 1, false);
    std::vector<FolderFont> kept;
    for (std::size_t position : folder_order(fonts)) {
        const Classified& font = fonts[position];
        std::size_t added = 0;
        for (const CodePointRange& range : font.font->coverage.ranges())
            for (std::uint32_t code_point = range.first; code_point <= range.last; ++code_point)
                if (!covered[code_point] && counts_for(font.role, code_point)) ++added;
        if (added == 0) continue;
        for (const CodePointRange& range : font.font->coverage.ranges())
            std::fill(covered.begin() + range.first, covered.begin() + range.last + 1, true);
        kept.push_back({font.font->path, font.role, tag_text(font.script), added});
    }
    return kept;
}

}  // namespace lumo::font
