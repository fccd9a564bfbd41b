// The script fonts chosen from the index: one regular single-font file per
// installed script, never a bold face, a collection, or a second font for a
// script already covered.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "index/font_map.h"
#include "index/script_fonts.h"

using lumo::index::FontMap;
using lumo::index::PathRecord;
using lumo::index::script_families;
using lumo::index::script_font_files;

namespace {

std::vector<std::string> chosen_files(const FontMap& map) {
    return script_font_files([&](std::string_view full_name) -> std::optional<PathRecord> {
        const PathRecord* record = map.paths.find(full_name);
        return record ? std::optional<PathRecord>(*record) : std::nullopt;
    });
}

TEST(ScriptFonts, EveryScriptHasItsOwnLowerCaseFamilies) {
    std::set<std::string_view> scripts;
    std::set<std::string_view> families;
    for (const auto& script : script_families()) {
        EXPECT_TRUE(scripts.insert(script.script).second) << script.script << " listed twice";
        ASSERT_FALSE(script.families[0].empty()) << script.script;
        for (std::string_view family : script.families) {
            if (family.empty()) continue;
            EXPECT_TRUE(families.insert(family).second) << family << " serves two scripts";
            EXPECT_TRUE(std::none_of(family.begin(), family.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
                << family;
        }
    }
    for (std::string_view required : {"Arabic", "Hebrew", "Devanagari", "Thai", "Gurmukhi", "Gujarati", "Oriya",
                                      "Kannada", "Malayalam", "Telugu", "Sinhala", "Tibetan"})
        EXPECT_TRUE(scripts.count(required)) << required;
}

TEST(ScriptFonts, RegularSingleFontFacesOnlyOnePerScript) {
    FontMap map;
    const auto add = [&](const char* name, const char* path, int face_index = -1) {
        map.paths.insert_or_assign(name, PathRecord{path, face_index});
    };
    add("noto sans arabic bold", "/f/NotoSansArabic-Bold.ttf");
    add("noto sans arabic regular", "/f/NotoSansArabic-Regular.ttf");
    add("noto naskh arabic regular", "/f/NotoNaskhArabic-Regular.ttf");  // Arabic is already covered
    add("noto sans hebrew", "/f/NotoSansHebrew.otf");                     // regular named by the bare family
    add("noto sans thai bold", "/f/NotoSansThai-Bold.ttf");               // no regular Sans Thai...
    add("noto serif thai regular", "/f/NotoSerifThai-Regular.ttf");       // ...so the serif design
    add("noto sans lao regular", "/f/Lao.ttc", 1);                         // a collection face...
    add("noto serif lao regular", "/f/NotoSerifLao-Regular.TTF");          // ...gives way too
    add("noto sans khmer regular", "/f/NotoSansKhmer-Regular.ttc", -1);    // a collection by name
    add("noto sans tamil regular", "/f/NotoSansTamil-Regular.woff");       // not a font the folder reads
    add("noto sans myanmar bold", "/f/NotoSansMyanmar-Bold.ttf");         // only bold: skipped

    EXPECT_EQ(chosen_files(map), (std::vector<std::string>{
                                     "/f/NotoSansArabic-Regular.ttf",
                                     "/f/NotoSansHebrew.otf",
                                     "/f/NotoSerifThai-Regular.ttf",
                                     "/f/NotoSerifLao-Regular.TTF",
                                 }));
    EXPECT_TRUE(chosen_files(FontMap{}).empty());
}

}  // namespace
