// The script fonts a game falls back to: for each script outside Latin,
// Greek, Cyrillic and CJK (which the usual primary and fallback families
// cover), the Noto families that draw it, and the regular file to use.
#include "index/script_fonts.h"

#include <algorithm>

#include "index/font_names.h"

namespace lumo::index {
namespace {

// The scripts in present-day use that Debian's fonts-noto-core draws: sans
// first, then a serif design where the sans one may be missing.
constexpr ScriptFamilies kScriptFamilies[] = {
    {"Arabic", {"noto sans arabic", "noto naskh arabic"}},
    {"Hebrew", {"noto sans hebrew", "noto serif hebrew"}},
    {"Devanagari", {"noto sans devanagari", "noto serif devanagari"}},
    {"Bengali", {"noto sans bengali", "noto serif bengali"}},
    {"Gurmukhi", {"noto sans gurmukhi", "noto serif gurmukhi"}},
    {"Gujarati", {"noto sans gujarati", "noto serif gujarati"}},
    {"Oriya", {"noto sans oriya"}},
    {"Tamil", {"noto sans tamil", "noto serif tamil"}},
    {"Telugu", {"noto sans telugu", "noto serif telugu"}},
    {"Kannada", {"noto sans kannada", "noto serif kannada"}},
    {"Malayalam", {"noto sans malayalam", "noto serif malayalam"}},
    {"Sinhala", {"noto sans sinhala", "noto serif sinhala"}},
    {"Thai", {"noto sans thai", "noto serif thai"}},
    {"Lao", {"noto sans lao", "noto serif lao"}},
    {"Khmer", {"noto sans khmer", "noto serif khmer"}},
    {"Tibetan", {"noto serif tibetan"}},
    {"Myanmar", {"noto sans myanmar", "noto serif myanmar"}},
    {"Georgian", {"noto sans georgian", "noto serif georgian"}},
    {"Armenian", {"noto sans armenian", "noto serif armenian"}},
    {"Ethiopic", {"noto sans ethiopic", "noto serif ethiopic"}},
    {"Thaana", {"noto sans thaana"}},
    {"Syriac", {"noto sans syriac"}},
    {"Nko", {"noto sans nko"}},
    {"Adlam", {"noto sans adlam"}},
    {"Balinese", {"noto sans balinese", "noto serif balinese"}},
    {"Bamum", {"noto sans bamum"}},
    {"Batak", {"noto sans batak"}},
    {"Buginese", {"noto sans buginese"}},
    {"Canadian Aboriginal", {"noto sans canadian aboriginal"}},
    {"Chakma", {"noto sans chakma"}},
    {"Cham", {"noto sans cham"}},
    {"Cherokee", {"noto sans cherokee"}},
    {"Hanifi Rohingya", {"noto sans hanifi rohingya"}},
    {"Javanese", {"noto sans javanese"}},
    {"Kayah Li", {"noto sans kayah li"}},
    {"Lepcha", {"noto sans lepcha"}},
    {"Limbu", {"noto sans limbu"}},
    {"Lisu", {"noto sans lisu"}},
    {"Mandaic", {"noto sans mandaic"}},
    {"Meetei Mayek", {"noto sans meetei mayek"}},
    {"Miao", {"noto sans miao"}},
    {"Mongolian", {"noto sans mongolian"}},
    {"New Tai Lue", {"noto sans new tai lue"}},
    {"Newa", {"noto sans newa"}},
    {"Nyiakeng Puachue Hmong", {"noto serif hmong nyiakeng"}},
    {"Ol Chiki", {"noto sans ol chiki"}},
    {"Osage", {"noto sans osage"}},
    {"Saurashtra", {"noto sans saurashtra"}},
    {"Sundanese", {"noto sans sundanese"}},
    {"Syloti Nagri", {"noto sans syloti nagri"}},
    {"Tai Le", {"noto sans tai le"}},
    {"Tai Tham", {"noto sans tai tham"}},
    {"Tai Viet", {"noto sans tai viet"}},
    {"Tifinagh", {"noto sans tifinagh"}},
    {"Vai", {"noto sans vai"}},
    {"Wancho", {"noto sans wancho"}},
    {"Yi", {"noto sans yi"}},
};

/// The family's regular face when it lives in a single-font file.
std::optional<std::string> regular_single_font_file(const FaceLookup& lookup, std::string_view family) {
    // A family whose regular face carries no style word is found by its bare name.
    for (const std::string& full_name : {std::string(family) + " regular", std::string(family)}) {
        std::optional<PathRecord> record = lookup(full_name);
        if (!record) continue;
        const bool single_font_file = record->face_index == -1 && has_font_extension(record->path) &&
                                      !has_collection_extension(record->path);
        return single_font_file ? std::optional<std::string>(record->path) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::span<const ScriptFamilies> script_families() { return kScriptFamilies; }

std::vector<std::string> script_font_files(const FaceLookup& lookup) {
    std::vector<std::string> files;
    for (const ScriptFamilies& script : kScriptFamilies) {
        for (std::string_view family : script.families) {
            if (family.empty()) break;
            std::optional<std::string> file = regular_single_font_file(lookup, family);
            if (!file) continue;
            if (std::find(files.begin(), files.end(), *file) == files.end()) files.push_back(*file);
            break;
        }
    }
    return files;
}

}  // namespace lumo::index
