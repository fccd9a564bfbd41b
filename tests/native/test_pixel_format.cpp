// Colour encoding for 32-bit surfaces, checked against what pygame's
// Surface.map_rgb returned for the same formats (pygame 2.6.1, SDL 2.28.4).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "base/limits.h"
#include "shaping/pixel_format.h"

namespace {

using lumo::shaping::color_table;
using lumo::shaping::map_rgba;
using lumo::shaping::PixelFormat;

constexpr PixelFormat kArgb{{0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {16, 8, 0, 24}, {0, 0, 0, 0}};  // SRCALPHA default

struct MapCase {
    const char* label;
    PixelFormat format;
    std::uint8_t red, green, blue, alpha;
    std::uint32_t pixel;  // pygame's map_rgb((red, green, blue, alpha)) on that format
};
void PrintTo(const MapCase& c, std::ostream* out) { *out << c.label; }

class MapRgba : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapRgba, MatchesSdl) {
    const MapCase& c = GetParam();
    EXPECT_EQ(map_rgba(c.format, c.red, c.green, c.blue, c.alpha), c.pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MapRgba,
    ::testing::Values(
        MapCase{"Argb", kArgb, 10, 20, 30, 40, 0x280A141E},
        MapCase{"Abgr", {{0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {0, 8, 16, 24}, {0, 0, 0, 0}}, 10, 20, 30, 40,
                0x281E140A},
        MapCase{"Rgba", {{0xFF000000, 0xFF0000, 0xFF00, 0xFF}, {24, 16, 8, 0}, {0, 0, 0, 0}}, 10, 20, 30, 40,
                0x0A141E28},
        MapCase{"NoAlphaChannelDropsAlpha", {{0xFF0000, 0xFF00, 0xFF, 0}, {16, 8, 0, 0}, {0, 0, 0, 8}}, 10, 20, 30,
                40, 0x000A141E},
        MapCase{"LossesDropLowBits", {{0xF800, 0x07E0, 0x1F, 0}, {11, 5, 0, 0}, {3, 2, 3, 8}}, 200, 100, 50, 40,
                0xCB26},
        MapCase{"HostileShiftsAndLossesPlaceNothing", {{0, 0, 0, 0xFFFFFFFF}, {32, 200, 0, 255}, {0, 0, 9, 0}}, 255,
                255, 255, 255, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ColorTable, HoldsTheColourAtEveryAlpha) {
    const auto table = color_table(kArgb, 255, 128, 0);
    EXPECT_EQ(table[0], 0x00FF8000u);
    EXPECT_EQ(table[1], 0x01FF8000u);
    EXPECT_EQ(table[128], 0x80FF8000u);
    EXPECT_EQ(table[255], 0xFFFF8000u);
}

}  // namespace

namespace {

TEST(KnownPixelFormat, OneFormatPerMaskSetReadOnlyOnFirstSight) {
    // Masks no surface of the tests has: a format seen for the first time here.
    PixelFormat odd{{0xFF00, 0xFF0000, 0xFF000000u, 0xFF}, {8, 16, 24, 0}, {0, 0, 0, 0}};
    int reads = 0;
    const PixelFormat& first = lumo::shaping::known_pixel_format(odd.masks, [&] {
        ++reads;
        return odd;
    });
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(first.shifts[2], 24);
    // The same masks, whatever else a later read would say: the kept format, not read again.
    PixelFormat other_shifts = odd;
    other_shifts.shifts[0] = 3;
    const PixelFormat& again = lumo::shaping::known_pixel_format(other_shifts.masks, [&] {
        ++reads;
        return other_shifts;
    });
    EXPECT_EQ(&again, &first);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(again.shifts[0], 8);
    // Other masks are another format.
    PixelFormat swapped = odd;
    std::swap(swapped.masks[0], swapped.masks[1]);
    EXPECT_NE(&lumo::shaping::known_pixel_format(swapped.masks, [&] { return swapped; }), &first);
}

}  // namespace

namespace {

TEST(SameMasks, OnlyTheChannelBitsCount) {
    const PixelFormat abgr{{0xFF, 0xFF00, 0xFF0000, 0xFF000000u}, {0, 8, 16, 24}, {0, 0, 0, 0}};
    EXPECT_TRUE(lumo::shaping::same_masks(kArgb, kArgb));
    EXPECT_FALSE(lumo::shaping::same_masks(kArgb, abgr));
    PixelFormat other_losses = kArgb;
    other_losses.losses[3] = 8;  // masks alike: the same pixels
    EXPECT_TRUE(lumo::shaping::same_masks(kArgb, other_losses));
    PixelFormat no_alpha = kArgb;
    no_alpha.masks[3] = 0;
    EXPECT_FALSE(lumo::shaping::same_masks(kArgb, no_alpha));
}

}  // namespace
