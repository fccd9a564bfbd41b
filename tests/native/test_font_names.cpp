// Family roots, aliases, face words and path guesses of the names that users
// type and that font files carry.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "index/font_names.h"

namespace {

using namespace lumo::index;

/// Test names come from a label: the inputs hold blanks and non-ASCII bytes.
template <typename Case>
std::string label_of(const ::testing::TestParamInfo<Case>& info) {
    return info.param.label;
}

struct NameCase {
    const char* label;
    std::string_view face_name;
    std::string_view root;
    std::string_view alias_alone;       // the face is the only one of its family
    std::string_view alias_in_family;  // the family has several faces
};

class FaceNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(FaceNames, RootAndAliases) {
    const NameCase& c = GetParam();
    EXPECT_EQ(family_root(c.face_name), c.root);
    EXPECT_EQ(normalized_font_name(c.face_name, 1), c.alias_alone);
    EXPECT_EQ(normalized_font_name(c.face_name, 3), c.alias_in_family);
}

INSTANTIATE_TEST_SUITE_P(
    StyleSuffixes, FaceNames,
    ::testing::Values(
        NameCase{"ArialBold", "Arial Bold", "Arial", "Arial", "Arial Bold"},
        NameCase{"ArialBlack", "Arial Black", "Arial", "Arial", "Arial Black"},
        NameCase{"NotoSansRegular", "Noto Sans Regular", "Noto Sans", "Noto Sans", "Noto Sans"},
        NameCase{"NotoSansHyphenRegular", "Noto Sans-Regular", "Noto Sans", "Noto Sans", "Noto Sans"},
        NameCase{"NotoSansSemiBoldItalic", "Noto Sans SemiBold Italic", "Noto Sans", "Noto Sans", "Noto Sans SemiBold Italic"},
        NameCase{"RobotoBoldItalic", "Roboto-BoldItalic", "Roboto", "Roboto", "Roboto-BoldItalic"},
        NameCase{"ItalicBeforeBold", "Example Serif Italic Bold", "Example Serif Italic", "Example Serif Italic",
                 "Example Serif Italic Bold"},
        NameCase{"ObliqueIsNoSuffix", "Example Serif Bold Oblique", "Example Serif Bold Oblique", "Example Serif Bold Oblique",
                 "Example Serif Bold Oblique"},
        NameCase{"StyleWordWithoutSeparator", "ExampleBold", "ExampleBold", "ExampleBold", "ExampleBold"},
        NameCase{"NoStyleWord", "Times New Roman", "Times New Roman", "Times New Roman", "Times New Roman"},
        // A bare blank-separated style word is trimmed first and then has no separator.
        NameCase{"BlankSuffixAlone", " Bold", "Bold", "Bold", "Bold"},
        NameCase{"HyphenSuffixAlone", "-Bold", "", "", "-Bold"},
        NameCase{"DoubleBlankBeforeSuffix", "Arial  Light", "Arial", "Arial", "Arial  Light"},
        NameCase{"CapitalsKept", "ARIAL Italic", "ARIAL", "ARIAL", "ARIAL Italic"},
        NameCase{"UnicodeWhiteSpaceAround", "\xE3\x80\x80" "Arial Regular\xC2\x85", "Arial", "Arial", "Arial"},
        // U+0130 lower-cases to two code points; the cut still counts the name's own.
        NameCase{"CutCountsCodePointsOfTheName", "\xC4\xB0 Bold", "\xC4\xB0", "\xC4\xB0", "\xC4\xB0 Bold"},
        NameCase{"InvalidByteAtTheEnd", "Arial Bold\xFF", "Arial Bold\xFF", "Arial Bold\xFF", "Arial Bold\xFF"}),
    label_of<NameCase>);

TEST(FaceNames, EmptyFamilyTakesOnlyRegularSuffixes) {
    EXPECT_EQ(normalized_font_name("Arial Bold", 0), "Arial Bold");
    EXPECT_EQ(normalized_font_name("Arial-Regular", 0), "Arial");
}

struct FaceWordCase {
    const char* label;
    std::string_view name;
    std::string_view face_word;
};

class FaceWords : public ::testing::TestWithParam<FaceWordCase> {};

TEST_P(FaceWords, FromTheStyleSuffix) { EXPECT_EQ(face_word_of(GetParam().name), GetParam().face_word); }

INSTANTIATE_TEST_SUITE_P(Cases, FaceWords,
                         ::testing::Values(FaceWordCase{"Compound", "Arial Bold Italic", "bold italic"},
                                           FaceWordCase{"HyphenatedCompound", "Roboto-BoldItalic", "bolditalic"},
                                           FaceWordCase{"TrimmedAndLowerCased", "  NOTO SANS SEMIBOLD \t", "semibold"},
                                           FaceWordCase{"HyphenRemoved", "-Light", "light"},
                                           FaceWordCase{"NoSuffix", "Arial", "regular"},
                                           FaceWordCase{"GluedStyleWord", "ExampleBold", "regular"},
                                           FaceWordCase{"Empty", "", "regular"}),
                         label_of<FaceWordCase>);

struct PathCase {
    const char* label;
    std::string_view text;
    char separator;
    bool is_path;
    int face_index;
};

class FontArguments : public ::testing::TestWithParam<PathCase> {};

TEST_P(FontArguments, PathOrFamilyName) {
    const FontPathGuess guess = guess_font_path(GetParam().text, GetParam().separator);
    EXPECT_EQ(guess.is_path, GetParam().is_path);
    EXPECT_EQ(guess.face_index, GetParam().face_index);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontArguments,
                         ::testing::Values(PathCase{"TrueTypeFile", "arial.ttf", '/', true, -1},
                                           PathCase{"OpenTypeUpperCase", "Font.OTF", '/', true, -1},
                                           PathCase{"BlankedUpperCaseCollection", "  NotoSansCJK.TTC \n", '/', true, 0},
                                           PathCase{"SlashWithoutExtension", "fonts/arial", '/', true, -1},
                                           PathCase{"CollectionBySlashOnWindows", "dir/set.ttc", '\\', true, 0},
                                           PathCase{"BackslashOnWindows", "C:\\Fonts\\arial", '\\', true, -1},
                                           PathCase{"BackslashElsewhere", "C:\\Fonts\\arial", '/', false, -1},
                                           PathCase{"FamilyName", "Arial", '/', false, -1},
                                           PathCase{"ExtensionNotAtTheEnd", "arial.ttf.bak", '/', false, -1},
                                           PathCase{"Empty", "", '/', false, -1}),
                         label_of<PathCase>);

TEST(FontFiles, ExtensionsInAnyCase) {
    EXPECT_TRUE(has_font_extension("DejaVuSans.TTF"));
    EXPECT_TRUE(has_font_extension("a.otf"));
    EXPECT_TRUE(has_font_extension("NotoSansCJK.TtC"));
    EXPECT_FALSE(has_font_extension("a.otc"));
    EXPECT_FALSE(has_font_extension("a.woff2"));
    EXPECT_TRUE(has_collection_extension("a.TTC"));
    EXPECT_FALSE(has_collection_extension("a.ttf"));
}

}  // namespace
