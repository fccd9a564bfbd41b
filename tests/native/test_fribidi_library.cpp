// The FriBidi the core links, the system's or the bundled one: embedding
// levels and mirrored brackets of short mixed lines, as the bidi algorithm has them.
#include <gtest/gtest.h>

#include <fribidi.h>

#include <vector>

namespace {

struct Paragraph {
    FriBidiParType direction;
    std::vector<FriBidiLevel> levels;
};

/// Runs the whole algorithm (types, bracket pairs, levels) the way the engine will.
Paragraph resolve(const std::vector<FriBidiChar>& text, FriBidiParType direction) {
    const auto length = static_cast<FriBidiStrIndex>(text.size());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    Paragraph paragraph{direction, std::vector<FriBidiLevel>(text.size())};
    fribidi_get_bidi_types(text.data(), length, types.data());
    fribidi_get_bracket_types(text.data(), length, types.data(), brackets.data());
    const FriBidiLevel deepest = fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length,
                                                                     &paragraph.direction, paragraph.levels.data());
    EXPECT_GT(deepest, 0) << "FriBidi failed";
    return paragraph;
}

// "שלום 123" and "ab שלום 12"
const std::vector<FriBidiChar> kHebrewThenDigits = {0x5E9, 0x5DC, 0x5D5, 0x5DD, ' ', '1', '2', '3'};
const std::vector<FriBidiChar> kLatinHebrewDigits = {'a', 'b', ' ', 0x5E9, 0x5DC, 0x5D5, 0x5DD, ' ', '1', '2'};

TEST(FriBidiLibrary, HebrewFirstMakesARightToLeftParagraphWithDigitsAboveIt) {
    const Paragraph paragraph = resolve(kHebrewThenDigits, FRIBIDI_PAR_ON);
    EXPECT_EQ(paragraph.direction, FRIBIDI_PAR_RTL);
    EXPECT_EQ(paragraph.levels, (std::vector<FriBidiLevel>{1, 1, 1, 1, 1, 2, 2, 2}));
}

TEST(FriBidiLibrary, LatinFirstKeepsTheParagraphLeftToRight) {
    const Paragraph paragraph = resolve(kLatinHebrewDigits, FRIBIDI_PAR_ON);
    EXPECT_EQ(paragraph.direction, FRIBIDI_PAR_LTR);
    EXPECT_EQ(paragraph.levels, (std::vector<FriBidiLevel>{0, 0, 0, 1, 1, 1, 1, 1, 2, 2}));
}

TEST(FriBidiLibrary, BracketPairsFollowTheirContent) {
    // Without pairing, the closing bracket of "a(b)" would fall back to the paragraph's level 1.
    const Paragraph paragraph = resolve({'a', '(', 'b', ')'}, FRIBIDI_PAR_RTL);
    EXPECT_EQ(paragraph.levels, (std::vector<FriBidiLevel>{2, 2, 2, 2}));
}

TEST(FriBidiLibrary, MirrorsBracketsButNotLetters) {
    FriBidiChar mirrored = 0;
    EXPECT_TRUE(fribidi_get_mirror_char('(', &mirrored));
    EXPECT_EQ(mirrored, FriBidiChar(')'));
    EXPECT_FALSE(fribidi_get_mirror_char(0x5D0, &mirrored));
}

}  // namespace
