// Synthetic bold and slant on real outlines, and the switch that turns them off.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/freetype_styling.h"
#include "base/freetype_handles.h"
#include "base/platform.h"

namespace {

using lumo::base::FtFacePtr;
using lumo::base::make_ft_library;

constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Ink {
    int width = 0;
    int rows = 0;
    long coverage = 0;  // sum of all 8-bit coverage values
};

enum class Styling { None, Bold, Slant };

/// Loads `ch` unhinted, applies the styling, renders it anti-aliased and measures the ink.
Ink render(FT_Face face, char ch, Styling styling) {
    EXPECT_EQ(FT_Load_Char(face, static_cast<FT_ULong>(ch), FT_LOAD_NO_HINTING), 0);
    if (styling == Styling::Bold) lumo::engine::embolden_glyph_slot(face->glyph);
    if (styling == Styling::Slant) lumo::engine::oblique_glyph_slot(face->glyph);
    EXPECT_EQ(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL), 0);
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    Ink ink{static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), 0};
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) ink.coverage += bitmap.buffer[row * bitmap.pitch + col];
    return ink;
}

class StylingOnRealFont : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kDejaVuSans)) GTEST_SKIP() << "DejaVu Sans is not installed";
        library_ = make_ft_library();
        ASSERT_TRUE(library_);
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Face(library_.get(), kDejaVuSans, 0, &face), 0);
        face_.reset(face);
        ASSERT_EQ(FT_Set_Pixel_Sizes(face, 0, 48), 0);
    }
    lumo::base::FtLibraryPtr library_;
    FtFacePtr face_;
};

TEST_F(StylingOnRealFont, EmboldenWidensAndDarkensTheGlyph) {
    Ink plain = render(face_.get(), 'H', Styling::None);
    Ink bold = render(face_.get(), 'H', Styling::Bold);
    EXPECT_GT(bold.width, plain.width);
    EXPECT_GT(bold.coverage, plain.coverage * 11 / 10);
}

TEST_F(StylingOnRealFont, ObliqueLeansAnUprightStemToTheRight) {
    Ink plain = render(face_.get(), 'l', Styling::None);
    Ink slanted = render(face_.get(), 'l', Styling::Slant);
    EXPECT_EQ(slanted.rows, plain.rows);
    // A vertical stem sheared by about 12 degrees spans several more columns.
    EXPECT_GE(slanted.width, plain.width + plain.rows / 8);
}

TEST(StylingSwitch, CanBeTurnedOffAndOn) {
    ASSERT_TRUE(lumo::engine::styling_available());
    lumo::engine::set_styling_available(false);
    EXPECT_FALSE(lumo::engine::styling_available());
    lumo::engine::set_styling_available(true);
    EXPECT_TRUE(lumo::engine::styling_available());
}

TEST(StylingCalls, IgnoreAMissingSlot) {
    lumo::engine::embolden_glyph_slot(nullptr);
    lumo::engine::oblique_glyph_slot(nullptr);
}

TEST(FreeTypeLibraryInfo, ReportsTheLinkedLibrary) {
    auto info = lumo::engine::freetype_library_info();
    EXPECT_EQ(info.major, FREETYPE_MAJOR);
    EXPECT_EQ(info.minor, FREETYPE_MINOR);
    // A bundled FreeType is built into the same file as the engine; a system one is its own library.
    const auto engine =
        lumo::base::platform::library_file_of(reinterpret_cast<const void*>(&lumo::engine::freetype_library_info));
    ASSERT_TRUE(engine);
    bool built_in = info.path == *engine;
    EXPECT_TRUE(built_in || info.path.find("freetype") != std::string::npos) << info.path;
}

TEST(FreeTypeLibraryInfo, DescribesTheLibraryInALine) {
    EXPECT_EQ(lumo::engine::describe_library({"/usr/lib/libfreetype.so.6", 2, 13, 10}),
              "<FreeType 2.13.10 at '/usr/lib/libfreetype.so.6'>");
    EXPECT_EQ(lumo::engine::describe_library({"", 2, 14, 1}), "<FreeType 2.14.1 at ''>");
}

}  // namespace
