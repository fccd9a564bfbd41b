// The FreeType the core links, the system's or the bundled one, decodes what
// its optional libraries bring: the PNG strikes of colour emoji fonts (libpng)
// and the zlib data of gzip fonts and WOFF tables.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_GZIP_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "font/freetype_errors.h"
#include "real_fonts.h"

namespace {

using lumo::font::freetype_error_message;
using lumo::test::font_installed;
using lumo::test::kDejaVuSans;
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
    const lumo::base::FtLibraryPtr library = lumo::base::make_ft_library();
    ASSERT_TRUE(library);
    FT_Face opened = nullptr;
    ASSERT_EQ(FT_New_Face(library.get(), kNotoColorEmoji, 0, &opened), 0);
    const lumo::base::FtFacePtr face(opened);

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

// zlib.compress() of kInflatedText, as a WOFF table stores it.
const std::vector<FT_Byte> kDeflatedText = {
    0x78, 0xda, 0xcd, 0xcc, 0xc1, 0x0d, 0x80, 0x20, 0x0c, 0x05, 0xd0, 0x55, 0xfe, 0x04, 0x8e, 0x01, 0x47,
    0x2f, 0x26, 0x9e, 0xdb, 0x50, 0x42, 0x93, 0x06, 0x09, 0xd4, 0x10, 0x99, 0x5e, 0xc7, 0xf0, 0xf8, 0x2e,
    0x2f, 0x2e, 0x6d, 0xc8, 0x57, 0xf5, 0x01, 0xaa, 0x09, 0xe7, 0x1e, 0x02, 0x9c, 0xd8, 0xe4, 0x73, 0x17,
    0x68, 0xcd, 0x46, 0x2e, 0x09, 0xfc, 0xc0, 0x8b, 0x60, 0x99, 0x32, 0x42, 0x17, 0x39, 0x9e, 0x26, 0x98,
    0x34, 0xc0, 0xb7, 0x9a, 0x63, 0xaa, 0x97, 0x0d, 0xf1, 0xb7, 0xd9, 0x0b, 0xef, 0x0d, 0x51, 0x7c};

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}
const std::string kInflatedText =
    repeated("Gzip fonts and WOFF tables are inflated by the zlib FreeType was built with. ", 3);

class ZlibData : public ::testing::Test {
protected:
    void SetUp() override {
        if (!font_installed(kDejaVuSans)) GTEST_SKIP() << kDejaVuSans << " is not installed";
        sized_ = lumo::test::open_sized_face(kDejaVuSans, 16);
        ASSERT_TRUE(sized_.face);
    }

    /// Inflates `deflated` with FreeType's zlib; the text, or the error.
    FT_Error inflate(const std::vector<FT_Byte>& deflated, std::string& text) const {
        std::vector<FT_Byte> output(kInflatedText.size() + 16);
        FT_ULong output_length = output.size();
        const FT_Error error = FT_Gzip_Uncompress(sized_.get()->memory, output.data(), &output_length,
                                                  deflated.data(), deflated.size());
        text.assign(output.begin(), output.begin() + long(output_length));
        return error;
    }

private:
    lumo::test::SizedFace sized_;
};

TEST_F(ZlibData, InflatesToTheOriginalText) {
    std::string text;
    const FT_Error error = inflate(kDeflatedText, text);
    ASSERT_EQ(error, 0) << freetype_error_message(error);
    EXPECT_EQ(text, kInflatedText);
}

TEST_F(ZlibData, RefusesDataWhoseChecksumIsWrong) {
    std::vector<FT_Byte> damaged = kDeflatedText;
    damaged.back() ^= 0x01;  // the last byte of the Adler-32 checksum
    std::string text;
    EXPECT_NE(inflate(damaged, text), 0);
}

}  // namespace
