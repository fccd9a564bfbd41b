// Which face of its file a sized pygame font opens.
#include <gtest/gtest.h>

#include "font/sized_font_opening.h"

namespace {

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

}  // namespace
