// Which face of its file a sized pygame font opens.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "font/sized_font_opening.h"
#include "non_regular_file.h"
#include "temp_directory.h"

namespace {

using lumo::font::is_special_file;
using lumo::font::memory_to_open_font;
using lumo::font::sized_font_face;

TEST(SizedFontFace, ACollectionOpensItsFaceAndNegativeMeansTheFirst) {
    EXPECT_EQ(sized_font_face("/fonts/NotoSansCJK-Regular.ttc", 2), 2);
    EXPECT_EQ(sized_font_face("fonts/MyFont.TTC", -1), 0);
    EXPECT_EQ(sized_font_face(".ttc", 0), 0);
}

TEST(SizedFontFace, AnyOtherFileOpensWithoutAFaceIndex) {
    EXPECT_EQ(sized_font_face("/fonts/DejaVuSans.ttf", 3), std::nullopt);
    EXPECT_EQ(sized_font_face("/fonts/collection.ttc.bak", 1), std::nullopt);
    EXPECT_EQ(sized_font_face("/fonts/Font.otc", 1), std::nullopt);
    EXPECT_EQ(sized_font_face("tc", 0), std::nullopt);
    EXPECT_EQ(sized_font_face("", 0), std::nullopt);
}

TEST(SizedFontFile, OnlyWhatIsThereAndNotARegularFileIsRefused) {
    lumo::test::TemporaryDirectory directory("lumo-sized-font");
    const std::string font = (directory.path() / "font.ttf").string();
    std::ofstream(font) << "not really a font";
    EXPECT_FALSE(is_special_file(font));
    EXPECT_FALSE(is_special_file((directory.path() / "missing.ttf").string()));
    const std::string pipe = lumo::test::make_non_regular_file(directory.path());
    if (!pipe.empty()) EXPECT_TRUE(is_special_file(pipe));
}

TEST(SizedFontFile, OpeningTakesTheFileSizeAndRoomToSpare) {
    lumo::test::TemporaryDirectory directory("lumo-sized-font");
    const std::string font = (directory.path() / "font.ttf").string();
    std::ofstream(font) << std::string(1000, 'x');
    const std::size_t spare = memory_to_open_font(std::nullopt);
    EXPECT_GT(spare, 0u);
    EXPECT_EQ(memory_to_open_font(font), spare + 1000);
    EXPECT_EQ(memory_to_open_font((directory.path() / "missing.ttf").string()), spare);
}

}  // namespace
