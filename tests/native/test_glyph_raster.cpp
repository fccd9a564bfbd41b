// Rasterising single glyphs of a real font: the plain path draws what FreeType's
// rendering load draws, synthetic styling changes the ink, hostile sizes fail cleanly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <ostream>
#include <string>
#include <tuple>

#include "engine/freetype_styling.h"
#include "font/freetype_errors.h"
#include "real_fonts.h"
#include "shaping/glyph_raster.h"

namespace {

using lumo::shaping::GlyphBitmap;
using lumo::shaping::rasterize_glyph;
using lumo::shaping::RasterOptions;

/// What FreeType itself renders when asked to render during the load.
GlyphBitmap freetype_rendering_load(FT_Face face, FT_UInt glyph_id, bool anti_aliased) {
    const FT_Int32 flags = FT_LOAD_RENDER | (anti_aliased ? FT_LOAD_NO_HINTING : FT_LOAD_TARGET_MONO);
    EXPECT_EQ(FT_Load_Glyph(face, glyph_id, flags), 0);
    const FT_GlyphSlot slot = face->glyph;
    GlyphBitmap bitmap{{}, int(slot->bitmap.width), int(slot->bitmap.rows), slot->bitmap.pitch,
                       slot->bitmap_left, slot->bitmap_top};
    if (bitmap.width > 0)
        bitmap.bytes.assign(slot->bitmap.buffer, slot->bitmap.buffer + std::abs(bitmap.pitch) * bitmap.rows);
    return bitmap;
}

void expect_same_bitmap(const GlyphBitmap& actual, const GlyphBitmap& expected) {
    EXPECT_EQ(std::tie(actual.width, actual.rows, actual.pitch, actual.left, actual.top),
              std::tie(expected.width, expected.rows, expected.pitch, expected.left, expected.top));
    EXPECT_EQ(actual.bytes, expected.bytes);
}

class DejaVuGlyphs : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
        sized_ = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 32);
        ASSERT_TRUE(sized_.face);
    }
    GlyphBitmap rasterize(char character, RasterOptions options) {
        GlyphBitmap bitmap;
        EXPECT_EQ(rasterize_glyph(sized_.get(), FT_Get_Char_Index(sized_.get(), FT_ULong(character)), options, bitmap), 0);
        return bitmap;
    }
    lumo::test::SizedFace sized_;
};

struct GlyphCase {
    const char* label;
    char character;
    bool anti_aliased;
};
void PrintTo(const GlyphCase& c, std::ostream* out) { *out << c.label; }

class GlyphRaster : public DejaVuGlyphs, public ::testing::WithParamInterface<GlyphCase> {};

TEST_P(GlyphRaster, PlainPathDrawsWhatFreeTypeRenders) {
    const GlyphCase& c = GetParam();
    const FT_UInt glyph_id = FT_Get_Char_Index(sized_.get(), FT_ULong(c.character));
    expect_same_bitmap(rasterize(c.character, {c.anti_aliased, false, false}),
                       freetype_rendering_load(sized_.get(), glyph_id, c.anti_aliased));
}

INSTANTIATE_TEST_SUITE_P(LettersAndSpace, GlyphRaster,
                         ::testing::Values(GlyphCase{"SmoothG", 'g', true}, GlyphCase{"SmoothW", 'W', true},
                                           GlyphCase{"SmoothSpace", ' ', true}, GlyphCase{"MonoG", 'g', false},
                                           GlyphCase{"MonoSpace", ' ', false}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(DejaVuGlyphs, SyntheticBoldInksWiderAndDarker) {
    const GlyphBitmap plain = rasterize('H', {true, false, false});
    const GlyphBitmap bold = rasterize('H', {true, true, false});
    EXPECT_GT(bold.width, plain.width);
    EXPECT_GT(std::accumulate(bold.bytes.begin(), bold.bytes.end(), 0L),
              std::accumulate(plain.bytes.begin(), plain.bytes.end(), 0L) * 11 / 10);
}

TEST_F(DejaVuGlyphs, GlyphIdPastTheFontFailsWithAReadableError) {
    GlyphBitmap bitmap;
    const FT_Error error = rasterize_glyph(sized_.get(), 0xFFFFFF, {}, bitmap);
    EXPECT_EQ(lumo::font::freetype_error_message(error), "invalid argument");
    EXPECT_EQ(bitmap.width, 0);
}

TEST(GlyphRasterLimits, HugePixelSizeFailsBeforeFreeTypeAllocates) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
    auto sized = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 60000);
    ASSERT_TRUE(sized.face);
    for (const RasterOptions options : {RasterOptions{true, false, false}, RasterOptions{false, false, false},
                                        RasterOptions{true, true, true}}) {
        GlyphBitmap bitmap;
        EXPECT_EQ(rasterize_glyph(sized.get(), FT_Get_Char_Index(sized.get(), 'W'), options, bitmap),
                  FT_Err_Raster_Overflow);
        EXPECT_TRUE(bitmap.bytes.empty());
    }
}

TEST(FreeTypeErrorMessages, ComeFromFreeTypesOwnList) {
    EXPECT_EQ(lumo::font::freetype_error_message(0), "no error");
    EXPECT_EQ(lumo::font::freetype_error_message(FT_Err_Raster_Overflow), "raster overflow");
    EXPECT_EQ(lumo::font::freetype_error_message(0xF0), "unknown FreeType error 0xF0");
}

}  // namespace
