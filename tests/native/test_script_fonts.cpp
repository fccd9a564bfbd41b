// The indexed faces a script font folder may gather: regular faces in
// single-font files, each file once, in the same order however the index lists them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "index/script_fonts.h"

using lumo::index::IndexedFace;
using lumo::index::RegularFontFile;
using lumo::index::regular_font_files;

namespace {

TEST(ScriptFonts, RegularFacesOfSingleFontFilesOnly) {
    std::vector<IndexedFace> faces = {
        {"noto sans arabic bold", {"/f/NotoSansArabic-Bold.ttf", -1}},
        {"noto sans arabic regular", {"/f/NotoSansArabic-Regular.ttf", -1}},
        {"noto sans hebrew", {"/f/NotoSansHebrew.otf", -1}},            // regular named by the bare family
        {"noto sans old italic regular", {"/f/NotoSansOldItalic-Regular.ttf", -1}},  // "italic" is the script
        {"noto sans lao regular", {"/f/Lao.ttc", 1}},                   // a collection face
        {"noto sans khmer regular", {"/f/NotoSansKhmer-Regular.ttc", -1}},  // a collection by name
        {"noto sans tamil regular", {"/f/NotoSansTamil-Regular.woff", -1}},  // not a font a folder reads
        {"noto serif lao regular", {"/f/NotoSerifLao-Regular.TTF", -1}},
        {"noto sans myanmar semibold italic", {"/f/NotoSansMyanmar-SemiBoldItalic.ttf", -1}},
        {"symbola", {"/f/Symbola_hint.ttf", -1}},
        {"symbola regular", {"/f/Symbola_hint.ttf", -1}},  // the same file under a second name
    };
    const std::vector<RegularFontFile> expected = {
        {"/f/NotoSansArabic-Regular.ttf", "noto sans arabic regular"},
        {"/f/NotoSansHebrew.otf", "noto sans hebrew"},
        {"/f/NotoSansOldItalic-Regular.ttf", "noto sans old italic regular"},
        {"/f/NotoSerifLao-Regular.TTF", "noto serif lao regular"},
        {"/f/Symbola_hint.ttf", "symbola"},
    };
    EXPECT_EQ(regular_font_files(faces), expected);
    std::reverse(faces.begin(), faces.end());
    EXPECT_EQ(regular_font_files(faces), expected);
    EXPECT_TRUE(regular_font_files({}).empty());
}

}  // namespace
