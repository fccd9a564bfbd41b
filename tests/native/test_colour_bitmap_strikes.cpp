// The FreeType the core links, the system's or the bundled one, decodes the
// PNG bitmaps of a colour emoji font's strikes into coloured BGRA glyphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "font/freetype_errors.h"
#include "real_fonts.h"

namespace {

using lumo::font::freetype_error_message;
using lumo::test::font_installed;
using lumo::test::kNotoColorEmoji;

constexpr FT_ULong kGrinningFace = 0x1F600;

/// How the visible pixels of a BGRA bitmap are coloured.
struct InkColours {
    int visible = 0;
    int saturated = 0;       // far from grey: what a greyscale decode could never give
    long red = 0, green = 0, blue = 0;  // summed over the visible pixels
};

InkColours count_ink_colours(const FT_Bitmap& bitmap) {
    InkColours colours;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const std::uint8_t* pixel = bitmap.buffer + long(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column, pixel += 4) {
            const int blue = pixel[0], green = pixel[1], red = pixel[2], alpha = pixel[3];
            if (alpha < 128) continue;
            ++colours.visible;
            colours.red += red, colours.green += green, colours.blue += blue;
            if (std::max({red, green, blue}) - std::min({red, green, blue}) > 96) ++colours.saturated;
        }
    }
    return colours;
}

TEST(ColourBitmapStrikes, GrinningFaceDecodesAsAYellowBgraBitmap) {
    if (!font_installed(kNotoColorEmoji)) GTEST_SKIP() << kNotoColorEmoji << " is not installed";
    const lumo::font::FtLibraryPtr library = lumo::font::make_ft_library();
    ASSERT_TRUE(library);
    FT_Face opened = nullptr;
    ASSERT_EQ(FT_New_Face(library.get(), kNotoColorEmoji, 0, &opened), 0);
    const lumo::font::FtFacePtr face(opened);

    // The font has no outlines: one bitmap strike, chosen by index, not by pixel size.
    ASSERT_TRUE(FT_HAS_COLOR(face.get()));
    ASSERT_GE(face->num_fixed_sizes, 1);
    ASSERT_EQ(FT_Select_Size(face.get(), 0), 0);
    const FT_Bitmap_Size& strike = face->available_sizes[0];

    const FT_UInt glyph_id = FT_Get_Char_Index(face.get(), kGrinningFace);
    ASSERT_NE(glyph_id, 0u);
    const FT_Error error = FT_Load_Glyph(face.get(), glyph_id, FT_LOAD_COLOR);
    ASSERT_EQ(error, 0) << "FreeType cannot decode the PNG strike: " << freetype_error_message(error);

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    ASSERT_EQ(bitmap.pixel_mode, FT_PIXEL_MODE_BGRA);
    EXPECT_EQ(bitmap.pitch, int(bitmap.width) * 4);
    // About the strike's own size, never a stray sliver or a scaled-up copy.
    EXPECT_GE(int(bitmap.rows), strike.height / 2);
    EXPECT_LE(int(bitmap.rows), strike.height * 2);
    EXPECT_GE(int(bitmap.width), strike.width / 2);
    EXPECT_LE(int(bitmap.width), strike.width * 2);

    // The face fills most of the bitmap and is mostly yellow: red and green high, blue low.
    const InkColours colours = count_ink_colours(bitmap);
    ASSERT_GT(colours.visible, int(bitmap.width * bitmap.rows) / 3);
    EXPECT_GT(colours.saturated, colours.visible / 2);
    EXPECT_GT(colours.red, 2 * colours.blue);
    EXPECT_GT(colours.green, colours.blue + colours.visible * 64L);
}

}  // namespace
