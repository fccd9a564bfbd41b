// What drawing with one font needs: the line box, the emoji font's engine,
// raster options, and a FreeType face at a size from bytes in memory.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "real_fonts.h"
#include "shaping/run_font_choice.h"

namespace {

using namespace lumo::shaping;

struct BoxCase {
    double ascent, line_height;
    int baseline, height;
};

class LineBoxOf : public ::testing::TestWithParam<BoxCase> {};

TEST_P(LineBoxOf, RoundsTheBaselineAndCutsTheHeight) {
    const BoxCase& c = GetParam();
    const LineBox box = line_box(c.ascent, c.line_height);
    EXPECT_EQ(box.baseline, c.baseline);
    EXPECT_EQ(box.height, c.height);
}

// DejaVu Sans at 24 px: ascent 22.27, line height 27.94.
INSTANTIATE_TEST_SUITE_P(Sizes, LineBoxOf,
                         ::testing::Values(BoxCase{22.27, 27.94, 22, 41}, BoxCase{22.5, 28.0, 23, 42},
                                           BoxCase{13.6, 16.4, 14, 24}, BoxCase{11.0, 13.0, 11, 19}));

TEST(RunFontKind, OnlyTheEmojiFontCanGoToTheOlderEngine) {
    EXPECT_EQ(run_font_kind(false, std::nullopt), RunFontKind::text);
    EXPECT_EQ(run_font_kind(false, true), RunFontKind::text);
    EXPECT_EQ(run_font_kind(true, true), RunFontKind::colour_emoji);
    EXPECT_EQ(run_font_kind(true, false), RunFontKind::legacy_emoji);
    // An emoji font that cannot be read is left to the older engine, which reports it.
    EXPECT_EQ(run_font_kind(true, std::nullopt), RunFontKind::legacy_emoji);
}

TEST(RasterOptionsFor, CarryTheStyleAndTheFontsColour) {
    DrawnStyle style;
    style.synthetic_bold = true;
    const RasterOptions options = raster_options_for(false, style, true);
    EXPECT_FALSE(options.anti_aliased);
    EXPECT_TRUE(options.synthetic_bold);
    EXPECT_FALSE(options.synthetic_italic);
    EXPECT_TRUE(options.colour);
}

std::vector<std::uint8_t> file_bytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(OpenSizedFace, AFontInMemoryAtAPixelSize) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
    const std::vector<std::uint8_t> bytes = file_bytes(lumo::test::kDejaVuSans);
    lumo::base::FtFacePtr face = open_sized_face(bytes, 0, 24, {});
    ASSERT_TRUE(face);
    EXPECT_EQ(face->size->metrics.y_ppem, 24);
    EXPECT_STREQ(face->family_name, "DejaVu Sans");
}

TEST(OpenSizedFace, NoFaceForWhatCannotBeDrawn) {
    const std::vector<std::uint8_t> garbage(512, 0x5A);
    EXPECT_FALSE(open_sized_face(garbage, 0, 24, {}));
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) return;
    const std::vector<std::uint8_t> bytes = file_bytes(lumo::test::kDejaVuSans);
    EXPECT_FALSE(open_sized_face(bytes, 0, 0, {}));   // no size
    EXPECT_FALSE(open_sized_face(bytes, 3, 24, {}));  // no such face in the file
    const float coordinates[] = {700.0f};
    EXPECT_FALSE(open_sized_face(bytes, 0, 24, coordinates));  // not a variable font
}

}  // namespace
