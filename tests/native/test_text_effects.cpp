// Text effects in the core: glyphs grown by the stroker or by dilation,
// coverage masks stamped, blurred and coloured, the room effects add around a
// block, and underline and strikethrough rows from real fonts' tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/limits.h"
#include "layout/text_effects.h"
#include "real_fonts.h"
#include "shaping/coverage_mask.h"
#include "shaping/decoration_metrics.h"
#include "shaping/glyph_raster.h"
#include "shaping/glyph_stroke.h"
#include "shaping/pixel_blend.h"
#include "shaping/pixel_format.h"

namespace {

using lumo::shaping::CoverageMask;
using lumo::shaping::GlyphBitmap;
using lumo::shaping::RasterOptions;

/// Ink box of a coverage bitmap in pixels from the glyph origin: left, top, right, bottom (y up).
struct InkBox {
    int left = 1 << 30, top = -(1 << 30), right = -(1 << 30), bottom = 1 << 30;
};

InkBox ink_box(const GlyphBitmap& bitmap, bool anti_aliased = true) {
    const auto coverage = lumo::shaping::coverage_of(bitmap, anti_aliased);
    InkBox box;
    for (int row = 0; row < bitmap.rows; ++row)
        for (int column = 0; column < bitmap.width; ++column)
            if (coverage[static_cast<std::size_t>(row) * bitmap.width + column] > 127) {
                box.left = std::min(box.left, bitmap.left + column);
                box.right = std::max(box.right, bitmap.left + column + 1);
                box.top = std::max(box.top, bitmap.top - row);
                box.bottom = std::min(box.bottom, bitmap.top - row - 1);
            }
    return box;
}

int coverage_at(const GlyphBitmap& bitmap, int x, int y_up) {
    const int column = x - bitmap.left, row = bitmap.top - y_up;
    if (column < 0 || row < 0 || column >= bitmap.width || row >= bitmap.rows) return 0;
    return bitmap.bytes[static_cast<std::size_t>(row) * bitmap.pitch + column];
}

class StrokedGlyphs : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans not installed";
        sized_ = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 48);
        ASSERT_NE(sized_.get(), nullptr);
    }
    lumo::test::SizedFace sized_;
};

TEST_P(StrokedGlyphs, GrowTheInkBoxByTheRadiusAndKeepTheGlyph) {
    const double radius = GetParam();
    for (char letter : {'O', 'l', 'A', 'g'}) {
        const FT_UInt glyph_id = FT_Get_Char_Index(sized_.get(), static_cast<FT_ULong>(letter));
        GlyphBitmap glyph, stroked;
        ASSERT_EQ(lumo::shaping::rasterize_glyph(sized_.get(), glyph_id, RasterOptions{}, glyph), 0);
        ASSERT_EQ(lumo::shaping::stroke_glyph(sized_.get(), glyph_id, RasterOptions{}, glyph, radius, stroked), 0);
        const InkBox plain = ink_box(glyph), grown = ink_box(stroked);
        const int whole = static_cast<int>(std::lround(radius));
        EXPECT_NEAR(plain.left - grown.left, whole, 1) << letter;
        EXPECT_NEAR(grown.right - plain.right, whole, 1) << letter;
        EXPECT_NEAR(grown.top - plain.top, whole, 1) << letter;
        EXPECT_NEAR(plain.bottom - grown.bottom, whole, 1) << letter;
        // Every pixel of the glyph is inside its outline, the middle of its stems included.
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column)
                EXPECT_GE(coverage_at(stroked, glyph.left + column, glyph.top - row),
                          glyph.bytes[static_cast<std::size_t>(row) * glyph.pitch + column]);
    }
}

INSTANTIATE_TEST_SUITE_P(Radii, StrokedGlyphs, ::testing::Values(1.0, 2.0, 3.5, 6.0));

TEST(StrokeGlyph, SpacesAndBadRadiiGiveNothing) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP();
    auto sized = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 24);
    const FT_UInt space = FT_Get_Char_Index(sized.get(), ' ');
    GlyphBitmap glyph, stroked;
    ASSERT_EQ(lumo::shaping::rasterize_glyph(sized.get(), space, RasterOptions{}, glyph), 0);
    ASSERT_EQ(lumo::shaping::stroke_glyph(sized.get(), space, RasterOptions{}, glyph, 2.0, stroked), 0);
    EXPECT_EQ(stroked.width, 0);
    EXPECT_NE(lumo::shaping::stroke_glyph(sized.get(), space, RasterOptions{}, glyph, -1.0, stroked), 0);
    EXPECT_NE(lumo::shaping::stroke_glyph(sized.get(), space, RasterOptions{}, glyph, NAN, stroked), 0);
    EXPECT_NE(lumo::shaping::stroke_glyph(nullptr, space, RasterOptions{}, glyph, 1.0, stroked), 0);
    // A glyph drawn empty because its data is damaged has an empty outline too.
    const FT_UInt letter = FT_Get_Char_Index(sized.get(), 'O');
    GlyphBitmap damaged;
    damaged.damage = FT_Err_Invalid_Outline;
    EXPECT_EQ(lumo::shaping::stroke_glyph(sized.get(), letter, RasterOptions{}, damaged, 2.0, stroked), 0);
    EXPECT_EQ(stroked.width, 0);
}

TEST(StrokeGlyph, ColourGlyphsAreGrownFromTheirAlpha) {
    if (!lumo::test::font_installed(lumo::test::kNotoColorEmoji)) GTEST_SKIP() << "Noto Color Emoji not installed";
    auto sized = lumo::test::open_sized_face(lumo::test::kNotoColorEmoji, 32);
    if (sized.get() == nullptr) {
        sized = {lumo::base::make_ft_library(), nullptr};
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Face(sized.library.get(), lumo::test::kNotoColorEmoji, 0, &face), 0);
        sized.face.reset(face);
        ASSERT_EQ(lumo::shaping::size_face(face, 32), 0);
    }
    const FT_UInt grin = FT_Get_Char_Index(sized.get(), 0x1F600);
    RasterOptions colour;
    colour.colour = true;
    GlyphBitmap glyph, stroked;
    ASSERT_EQ(lumo::shaping::rasterize_glyph(sized.get(), grin, colour, glyph), 0);
    ASSERT_TRUE(glyph.colour);
    ASSERT_EQ(lumo::shaping::stroke_glyph(sized.get(), grin, colour, glyph, 3.0, stroked), 0);
    EXPECT_FALSE(stroked.colour);
    EXPECT_EQ(stroked.width, glyph.width + 6);
    EXPECT_EQ(stroked.left, glyph.left - 3);
    EXPECT_EQ(stroked.top, glyph.top + 3);
    const InkBox plain = ink_box(glyph), grown = ink_box(stroked);
    EXPECT_NEAR(plain.left - grown.left, 3, 1);
    EXPECT_NEAR(grown.top - plain.top, 3, 1);
}

TEST(DilateGlyph, ADotBecomesADiscOfTheRadius) {
    GlyphBitmap dot;
    dot.width = dot.rows = dot.pitch = 1;
    dot.bytes = {255};
    const GlyphBitmap disc = lumo::shaping::dilate_glyph(dot, true, 2.0);
    ASSERT_EQ(disc.width, 5);
    ASSERT_EQ(disc.rows, 5);
    EXPECT_EQ(disc.bytes[2 * 5 + 2], 255);  // the dot itself
    EXPECT_EQ(disc.bytes[2 * 5 + 0], 255);  // two pixels left: the dot's edge moved out by 2
    EXPECT_EQ(disc.bytes[0], 97);           // a corner: the round edge, 2.1 pixels away, cuts it
    EXPECT_EQ(disc.bytes[1 * 5 + 1], 255);
    // 1-bit rows are read bit by bit.
    GlyphBitmap bits;
    bits.width = 9;
    bits.rows = 1;
    bits.pitch = 2;
    bits.bytes = {0x00, 0x80};  // only column 8
    const GlyphBitmap grown = lumo::shaping::dilate_glyph(bits, false, 1.0);
    EXPECT_EQ(grown.bytes[1 * grown.width + 9], 255);
    EXPECT_EQ(grown.bytes[1 * grown.width + 3], 0);
}

TEST(CoverageMask, StampsKeepTheLargerCoverageAndDropWhatFallsOutside) {
    CoverageMask mask(4, 3);
    GlyphBitmap square;
    square.width = square.rows = square.pitch = 2;
    square.bytes = {10, 200, 30, 40};
    lumo::shaping::stamp_coverage(mask, square, 3, 2);  // one pixel inside
    lumo::shaping::stamp_coverage(mask, square, -1, -1);
    lumo::shaping::stamp_coverage(mask, square, -1, -1);
    EXPECT_EQ(mask.row(2)[3], 10);
    EXPECT_EQ(mask.row(0)[0], 40);
    EXPECT_EQ(std::accumulate(mask.values.begin(), mask.values.end(), 0), 50);
}

TEST(CoverageMask, RoundedRectanglesGrowWithRoundCorners) {
    CoverageMask mask(20, 12);
    lumo::shaping::stamp_rounded_rect(mask, 5, 5, 15, 7, 3.0);
    EXPECT_EQ(mask.row(6)[10], 255);
    EXPECT_EQ(mask.row(2)[10], 255);  // three rows above
    EXPECT_EQ(mask.row(1)[10], 0);
    EXPECT_EQ(mask.row(2)[2], 0);     // the corner is round: 3.5 pixels from it
    EXPECT_EQ(mask.row(3)[3], 255);
    EXPECT_EQ(mask.row(6)[2], 255);
    EXPECT_EQ(mask.row(6)[1], 0);
    CoverageMask plain(20, 12);
    lumo::shaping::stamp_rounded_rect(plain, 5, 5, 15, 7, 0.0);
    EXPECT_EQ(std::accumulate(plain.values.begin(), plain.values.end(), 0), 20 * 255);
}

TEST(CoverageMask, BlurSpreadsWithinItsReachAndKeepsTheAmountOfInk) {
    CoverageMask mask(41, 41);
    for (int y = 15; y < 26; ++y) std::fill(mask.row(y) + 15, mask.row(y) + 26, 255);
    const long before = std::accumulate(mask.values.begin(), mask.values.end(), 0L);
    lumo::shaping::blur_mask(mask, 4.0);
    EXPECT_EQ(lumo::shaping::blur_reach(4.0), 4);
    const long after = std::accumulate(mask.values.begin(), mask.values.end(), 0L);
    EXPECT_NEAR(static_cast<double>(after), static_cast<double>(before), before * 0.01);
    EXPECT_EQ(mask.row(20)[10], 0);   // five columns out: beyond the reach
    EXPECT_GT(mask.row(20)[12], 0);   // three columns out
    EXPECT_LT(mask.row(20)[15], 255); // the edge softens
    EXPECT_EQ(mask.row(20)[20], 255); // the middle stays solid
    CoverageMask untouched(3, 3);
    untouched.values[4] = 9;
    lumo::shaping::blur_mask(untouched, 0.0);
    EXPECT_EQ(untouched.values[4], 9);
}

TEST(CoverageMask, LayersGoUnderThePixelsAsPygameBlitsWouldStackThem) {
    lumo::shaping::PixelFormat format;
    const std::uint8_t shifts[4] = {16, 8, 0, 24};
    for (int i = 0; i < 4; ++i) {
        format.shifts[i] = shifts[i];
        format.masks[i] = 0xFFu << shifts[i];
    }
    // Text: nothing, opaque red, half-transparent green, nothing.
    std::uint32_t pixels[4] = {0, 0xFFFF0000u, 0x8000FF00u, 0};
    const std::uint32_t text[4] = {pixels[0], pixels[1], pixels[2], pixels[3]};
    const lumo::shaping::PixelTarget target{reinterpret_cast<std::uint8_t*>(pixels), 4, 1, 16};
    CoverageMask shadow(4, 1), outline(4, 1);
    shadow.values = {255, 255, 255, 1};
    outline.values = {0, 255, 255, 0};
    const lumo::shaping::MaskLayer layers[] = {{&shadow, {0, 0, 0, 100}}, {&outline, {255, 255, 255, 255}}};
    lumo::shaping::lay_under(target, layers, format);
    EXPECT_EQ(pixels[0], 0x64000000u);  // the shadow alone
    EXPECT_EQ(pixels[1], text[1]);      // opaque text hides the rest
    const std::uint32_t under = lumo::shaping::blend_pixel(0xFFFFFFFFu, 0x64000000u, format);
    EXPECT_EQ(pixels[2], lumo::shaping::blend_pixel(text[2], under, format));
    EXPECT_EQ(pixels[3], 0u);  // coverage 1 of alpha 100 rounds to nothing
    std::uint32_t untouched[1] = {0x12345678u};
    lumo::shaping::lay_under({reinterpret_cast<std::uint8_t*>(untouched), 1, 1, 4},
                             std::span<const lumo::shaping::MaskLayer>(), format);
    EXPECT_EQ(untouched[0], 0x12345678u);
}

TEST(EffectFrame, OutlinesFrameTheBlockAndShadowsWidenIt) {
    using lumo::layout::frame_block;
    using lumo::layout::TextEffects;
    TextEffects none;
    const auto plain = frame_block(100, 40, none);
    EXPECT_EQ(std::tie(plain.width, plain.height, plain.text_x, plain.text_y), std::tuple(100L, 40L, 0L, 0L));
    TextEffects outline;
    outline.outline = 1.5;  // stroked at 1.5 pixels, framed by 2
    const auto framed = frame_block(100, 40, outline);
    EXPECT_EQ(std::tie(framed.width, framed.height, framed.text_x, framed.text_y), std::tuple(104L, 44L, 2L, 2L));
    TextEffects shadow = outline;
    shadow.shadow = true;
    shadow.shadow_x = 5;
    shadow.shadow_y = -3;
    shadow.shadow_blur = 2.5;  // spreads 3 pixels
    const auto cast = frame_block(100, 40, shadow);
    EXPECT_EQ(cast.layer_x, 0);
    EXPECT_EQ(cast.layer_y, 6);
    EXPECT_EQ(cast.width, 104 + 5 + 3);
    EXPECT_EQ(cast.height, 44 + 6);
    EXPECT_EQ(std::tie(cast.text_x, cast.text_y), std::tuple(2L, 8L));
    TextEffects inside;
    inside.shadow = true;
    inside.shadow_x = inside.shadow_y = 0;
    EXPECT_EQ(frame_block(10, 10, inside).width, 10);
}

TEST(LineDecorations, ComeFromTheFontsTablesScaledToTheSize) {
    if (!lumo::test::font_installed(lumo::test::kDejaVuSans)) GTEST_SKIP();
    // DejaVu Sans: 2048 units, underline at -40 thick 90 (FreeType centres it at -85), strikeout at 530 size 102.
    auto sized = lumo::test::open_sized_face(lumo::test::kDejaVuSans, 40);
    const auto lines = lumo::shaping::line_decorations(sized.get(), 40);
    EXPECT_EQ(lines.underline.thickness, 2);            // 1.76
    EXPECT_EQ(lines.underline.top, 1);                  // centre 1.66 below, less half the thickness
    EXPECT_EQ(lines.strikethrough.thickness, 2);        // 1.99
    EXPECT_EQ(lines.strikethrough.top, -10);            // 10.35 above
    const auto small = lumo::shaping::line_decorations(sized.get(), 6);
    EXPECT_EQ(small.underline.thickness, 1);  // never thinner than a row
    const auto unknown = lumo::shaping::line_decorations(nullptr, 28);
    EXPECT_EQ(unknown.underline.thickness, 2);
    EXPECT_GT(unknown.underline.top, 0);
    EXPECT_LT(unknown.strikethrough.top, 0);
}

}  // namespace

namespace {

TEST(BlendPixel, EqualsTheBlendOfBlendPixelsForEveryPlaceOfAlpha) {
    std::uint32_t state = 12345;
    auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (int alpha_shift : {0, 8, 16, 24}) {
        lumo::shaping::PixelFormat format;
        int colour_shift = 0;
        for (int i = 0; i < 3; ++i, colour_shift += 8) {
            if (colour_shift == alpha_shift) colour_shift += 8;
            format.shifts[i] = static_cast<std::uint8_t>(colour_shift);
            format.masks[i] = 0xFFu << colour_shift;
        }
        format.shifts[3] = static_cast<std::uint8_t>(alpha_shift);
        format.masks[3] = 0xFFu << alpha_shift;
        for (int i = 0; i < 200000; ++i) {
            const std::uint32_t source = next(), target = i % 7 == 0 ? next() & ~format.masks[3] : next();
            std::uint32_t blended = target;
            const lumo::shaping::PixelTarget one{reinterpret_cast<std::uint8_t*>(&blended), 1, 1, 4};
            lumo::shaping::blend_pixels(one, &source, 1, 1, 1, 0, 0, format);
            if (source == 0) continue;  // blend_pixels leaves ink under nothing at all as it is
            ASSERT_EQ(lumo::shaping::blend_pixel(source, target, format), blended)
                << std::hex << source << " over " << target << " alpha at " << std::dec << alpha_shift;
        }
    }
}

}  // namespace

namespace {

TEST(EffectOptions, OutlineAndBlurPixelsRunFromZeroToTheirLimit) {
    using lumo::layout::effect_pixels_allowed;
    for (double allowed : {0.0, 0.5, 64.0}) EXPECT_TRUE(effect_pixels_allowed(allowed, 64.0)) << allowed;
    for (double refused : {-0.01, 64.01, __builtin_inf(), __builtin_nan("")})
        EXPECT_FALSE(effect_pixels_allowed(refused, 64.0)) << refused;
    EXPECT_EQ(lumo::layout::effect_pixels_message("shadow_blur", lumo::kMaxShadowBlurPixels),
              "shadow_blur must be from 0 to 64 pixels");
}

TEST(EffectOptions, ShadowOffsetsRoundHalfAwayFromZeroWithinTheLimit) {
    lumo::layout::TextEffects effects;
    ASSERT_TRUE(lumo::layout::set_shadow_offset(2.5, -2.5, effects));
    EXPECT_TRUE(effects.shadow);
    EXPECT_EQ(effects.shadow_x, 3);
    EXPECT_EQ(effects.shadow_y, -3);
    ASSERT_TRUE(lumo::layout::set_shadow_offset(-4096, 4096, effects));
    EXPECT_EQ(effects.shadow_x, -4096);
    for (auto [dx, dy] : {std::pair{4096.5, 0.0}, std::pair{0.0, -5000.0}, std::pair{__builtin_nan(""), 0.0}}) {
        lumo::layout::TextEffects untouched;
        EXPECT_FALSE(lumo::layout::set_shadow_offset(dx, dy, untouched)) << dx << ", " << dy;
        EXPECT_FALSE(untouched.shadow);
    }
    EXPECT_EQ(lumo::layout::shadow_offset_message(), "shadow offsets must be from -4096 to 4096 pixels");
}

}  // namespace
