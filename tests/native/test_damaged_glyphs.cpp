// Colour glyphs whose data is damaged: rasterising one fails with an error
// that counts as damage, and a run holding it is laid out with the glyph
// empty in its advance, remembered in the glyph cache, and reported.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "base/freetype_handles.h"
#include "colour_font_builder.h"
#include "font/shared_freetype.h"
#include "shaping/glyph_cache.h"
#include "shaping/glyph_raster.h"
#include "shaping/run_layout.h"

namespace {

using lumo::shaping::GlyphBitmap;
using lumo::shaping::is_glyph_damage;
using lumo::shaping::RasterOptions;
using lumo::shaping::RunLayout;
using lumo::test::ColourStrikeFont;
using lumo::test::PngHeader;

constexpr std::array<std::uint8_t, 4> kYellow{250, 200, 0, 255};
constexpr std::array<std::uint8_t, 4> kBlue{40, 120, 250, 255};

/// A colour font's two libraries' views, made the way the engine makes them:
/// FreeType's face in the engine's capped library, over the bytes HarfBuzz keeps.
struct ColourFace {
    std::unique_ptr<lumo::shaping::HarfBuzzFont> shaper;
    lumo::base::FtFacePtr face;  // declared after the bytes' owner: released first
};

ColourFace open_colour_font(const ColourStrikeFont& design, int pixel_size) {
    lumo::shaping::FontLoadError error;
    ColourFace opened{lumo::shaping::HarfBuzzFont::from_bytes(lumo::test::colour_strike_font(design), 0, error), nullptr};
    if (!opened.shaper) return opened;
    const auto bytes = opened.shaper->bytes();
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(lumo::font::shared_freetype_library(), bytes.data(), FT_Long(bytes.size()), 0, &face) != 0)
        return opened;
    opened.face.reset(face);
    if (lumo::shaping::size_face(face, pixel_size) != 0) opened.face.reset();
    return opened;
}

/// Two glyphs: glyph 1, which a case damages, and glyph 2, kept whole.
ColourStrikeFont two_emoji(bool sbix) {
    ColourStrikeFont font;
    font.sbix = sbix;
    font.glyphs = {{lumo::test::png(32, 32, kYellow)}, {lumo::test::png(32, 32, kBlue)}};
    return font;
}

struct DamageCase {
    const char* label;
    bool sbix;
    void (*damage)(ColourStrikeFont&);
    FT_Error error;
    bool whole_strike = false;  // glyph 2 is spoilt too
};
void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.label; }

void junk_png(ColourStrikeFont& font) {
    lumo::test::Bytes& image = font.glyphs[0].data;
    for (std::size_t at = 0; at < image.size(); ++at) image[at] = std::uint8_t(at * 37 + 11);
}
void zero_size_png(ColourStrikeFont& font) { font.glyphs[0].data = lumo::test::png(0, 0, kYellow); }
void sixteen_bit_header(ColourStrikeFont& font) {
    const PngHeader header{32, 32, 16};
    font.glyphs[0].data = lumo::test::png(32, 32, kYellow, &header);
}
void gigapixel_header(ColourStrikeFont& font) {
    const PngHeader header{30000, 30000, 8};
    font.glyphs[0].data = lumo::test::png(32, 32, kYellow, &header);
}
void wrong_length(ColourStrikeFont& font) { font.glyphs[0].length_change = 0x7FFF0000; }
void strike_offset_outside(ColourStrikeFont& font) { font.strike_offset_change = 0x00FFFF00; }
void dupe_of_itself(ColourStrikeFont& font) {
    font.glyphs[0].graphic_type = lumo::test::tag("dupe");
    font.glyphs[0].data = {0, 1};
}

// The bitmap a gigapixel header claims passes FreeType's memory cap; where `long` has 32 bits (Windows) its byte
// count overflows first and FreeType refuses it as an invalid argument. Both are damage.
constexpr FT_Error kGigapixelError = sizeof(long) >= 8 ? FT_Err_Array_Too_Large : FT_Err_Invalid_Argument;

class ColourGlyphDamage : public ::testing::TestWithParam<DamageCase> {
protected:
    void SetUp() override {
        ColourStrikeFont design = two_emoji(GetParam().sbix);
        GetParam().damage(design);
        font_ = open_colour_font(design, 32);
        ASSERT_TRUE(font_.shaper && font_.face);
        ASSERT_TRUE(font_.shaper->has_colour_glyphs());
    }
    ColourFace font_;
    RasterOptions colour_{true, false, false, true};
};

TEST_P(ColourGlyphDamage, RasterisingTheGlyphFailsAsDamage) {
    GlyphBitmap bitmap;
    const FT_Error error = lumo::shaping::rasterize_glyph(font_.face.get(), 1, colour_, bitmap);
    EXPECT_EQ(error, GetParam().error);
    EXPECT_TRUE(is_glyph_damage(error));
    EXPECT_EQ(bitmap.width, 0);
    EXPECT_TRUE(bitmap.bytes.empty());

    const FT_Error intact = lumo::shaping::rasterize_glyph(font_.face.get(), 2, colour_, bitmap);
    if (GetParam().whole_strike) {
        EXPECT_TRUE(is_glyph_damage(intact));
        return;
    }
    ASSERT_EQ(intact, 0);
    EXPECT_TRUE(bitmap.colour);
    EXPECT_EQ(std::tie(bitmap.width, bitmap.rows), std::make_tuple(32, 32));
}

TEST_P(ColourGlyphDamage, TheRunDrawsTheGlyphEmptyInItsAdvanceAndRemembersIt) {
    const std::vector<std::uint32_t> text{lumo::test::kFirstEmoji, lumo::test::kFirstEmoji + 1};
    lumo::shaping::GlyphBitmapCache cache;
    RunLayout first, again;
    ASSERT_FALSE(lumo::shaping::layout_run(*font_.shaper, font_.face.get(), text, 32, colour_, first, &cache));
    EXPECT_EQ(first.glyph_damage, GetParam().error);
    ASSERT_EQ(first.glyphs.size(), 2u);
    EXPECT_EQ(first.glyphs[0].bitmap->damage, GetParam().error);
    EXPECT_EQ(first.glyphs[0].bitmap->width, 0);
    // Each glyph advances one em, as the font's metrics say.
    EXPECT_EQ(first.total_advance, 64);
    EXPECT_DOUBLE_EQ(first.glyphs[1].glyph_x, 32.0);
    EXPECT_FALSE(first.empty);
    if (!GetParam().whole_strike) EXPECT_EQ(first.glyphs[1].bitmap->width, 32);

    // Laid out again, the failure comes from the cache, not from another load.
    ASSERT_FALSE(lumo::shaping::layout_run(*font_.shaper, font_.face.get(), text, 32, colour_, again, &cache));
    EXPECT_EQ(again.glyphs[0].bitmap, first.glyphs[0].bitmap);
    EXPECT_EQ(again.glyph_damage, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Strikes, ColourGlyphDamage,
    ::testing::Values(DamageCase{"CbdtJunkPng", false, junk_png, FT_Err_Invalid_File_Format},
                      DamageCase{"CbdtZeroSizePng", false, zero_size_png, FT_Err_Invalid_File_Format},
                      DamageCase{"CbdtSixteenBitHeader", false, sixteen_bit_header, FT_Err_Invalid_File_Format},
                      DamageCase{"CbdtWrongLength", false, wrong_length, FT_Err_Invalid_File_Format},
                      DamageCase{"CbdtStrikeOffsetOutside", false, strike_offset_outside,
                                 FT_Err_Invalid_File_Format, true},
                      DamageCase{"SbixJunkPng", true, junk_png, FT_Err_Invalid_File_Format},
                      DamageCase{"SbixZeroSizePng", true, zero_size_png, FT_Err_Invalid_File_Format},
                      DamageCase{"SbixSixteenBitHeader", true, sixteen_bit_header, FT_Err_Invalid_File_Format},
                      DamageCase{"SbixDupeOfItself", true, dupe_of_itself, FT_Err_Invalid_File_Format},
                      DamageCase{"SbixGigapixelHeader", true, gigapixel_header, kGigapixelError}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ColourGlyphDamage, AStrikeImageFarLargerThanItsStrikeIsDamageNotASizeTooLarge) {
    // 500-pixel images in a strike of 2 pixels: enlarged to 64 pixels they would pass the caps.
    ColourStrikeFont design;
    design.ppem = 2;
    design.glyphs = {{lumo::test::png(500, 500, kYellow)}};
    design.glyphs[0].metrics = {255, 255, 0, 2, 2};
    design.sbix = true;
    const ColourFace font = open_colour_font(design, 64);
    ASSERT_TRUE(font.shaper && font.face);
    GlyphBitmap bitmap;
    EXPECT_EQ(lumo::shaping::rasterize_glyph(font.face.get(), 1, {true, false, false, true}, bitmap, 32.0),
              FT_Err_Array_Too_Large);
}

TEST(ColourGlyphDamage, AnImageWithoutRowsIsAnEmptyGlyphAtAnySize) {
    // CBDT metrics of no height: FreeType gives a 32 x 0 image, with nothing to resize.
    ColourStrikeFont design = two_emoji(false);
    design.glyphs[0].metrics = {0, 32, 0, 28, 32};
    const ColourFace font = open_colour_font(design, 63);
    ASSERT_TRUE(font.shaper && font.face);
    const std::vector<std::uint32_t> text{lumo::test::kFirstEmoji, lumo::test::kFirstEmoji + 1};
    RunLayout layout;
    const RasterOptions colour{true, false, false, true};
    ASSERT_FALSE(lumo::shaping::layout_run(*font.shaper, font.face.get(), text, 63, colour, layout));
    EXPECT_TRUE(layout.glyphs[0].bitmap->bytes.empty());
    EXPECT_EQ(layout.glyphs[1].bitmap->width, 63);  // 32 pixels resized by 63 / 32
}

struct PolicyCase {
    const char* label;
    FT_Error error;
    bool damage;
};
void PrintTo(const PolicyCase& c, std::ostream* out) { *out << c.label; }

class GlyphDamagePolicy : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(GlyphDamagePolicy, OnlyTheFontsOwnFaultsCountAsDamage) {
    EXPECT_EQ(is_glyph_damage(GetParam().error), GetParam().damage);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, GlyphDamagePolicy,
    ::testing::Values(PolicyCase{"BrokenFile", FT_Err_Invalid_File_Format, true},
                      PolicyCase{"GlyphPastTheCount", FT_Err_Invalid_Argument, true},
                      PolicyCase{"ImageTooLarge", FT_Err_Array_Too_Large, true},
                      PolicyCase{"InvalidOutline", FT_Err_Invalid_Outline, true},
                      PolicyCase{"UnknownImageFormat", FT_Err_Unknown_File_Format, true},
                      PolicyCase{"OutOfMemory", FT_Err_Out_Of_Memory, false},
                      PolicyCase{"SizeTooLarge", FT_Err_Raster_Overflow, false},
                      PolicyCase{"NoFace", FT_Err_Invalid_Face_Handle, false},
                      PolicyCase{"NoError", FT_Err_Ok, false}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
