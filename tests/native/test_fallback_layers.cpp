// The order of the font layers, and which questions the search asks.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "font/fallback_layers.h"

namespace {

using namespace lumo::font;

constexpr char32_t kLetterA = U'A';
constexpr char32_t kGrinning = 0x1F600;  // an emoji drawn as an emoji by default
constexpr char32_t kHeart = 0x2665;      // an emoji drawn as text by default

/// Fonts as sets of code points, noting every question asked.
struct FakeLayers final : FontLayers {
    std::set<char32_t> emoji, emoji_font, primary, fallback;
    std::vector<std::set<char32_t>> international;
    bool colour = true;
    std::vector<std::string> asked;

    bool is_emoji(char32_t code) override {
        asked.push_back("is_emoji");
        return emoji.count(code) > 0;
    }
    bool emoji_font_is_colour() override {
        asked.push_back("colour");
        return colour;
    }
    bool emoji_font_covers(char32_t code) override { return note("emoji", emoji_font, code); }
    bool primary_covers(char32_t code) override { return note("primary", primary, code); }
    bool fallback_covers(char32_t code) override { return note("fallback", fallback, code); }
    std::optional<bool> international_covers(std::size_t position, char32_t code) override {
        if (position >= international.size()) return std::nullopt;
        return note("international " + std::to_string(position), international[position], code);
    }

    bool note(const std::string& layer, const std::set<char32_t>& covered, char32_t code) {
        asked.push_back(layer);
        return covered.count(code) > 0;
    }
};

FakeLayers everything_covers(char32_t code) {
    FakeLayers layers;
    layers.emoji = {kGrinning, kHeart};
    layers.emoji_font = layers.primary = layers.fallback = {code};
    layers.international = {{code}};
    return layers;
}

struct OrderCase {
    const char* label;
    char32_t code;
    bool modern_font;
    FontLayer expected;
};

class LayerOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(LayerOrder, FirstLayerThatCoversWins) {
    const OrderCase& c = GetParam();
    FakeLayers layers = everything_covers(c.code);
    EXPECT_EQ(choose_font_layer(c.code, c.modern_font, Presentation::by_default, layers).layer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryLayerCovers, LayerOrder,
    ::testing::Values(OrderCase{"EmojiModern", kGrinning, true, FontLayer::emoji},
                      OrderCase{"EmojiClassic", kGrinning, false, FontLayer::emoji},
                      OrderCase{"LetterModern", kLetterA, true, FontLayer::primary},
                      OrderCase{"LetterClassic", kLetterA, false, FontLayer::fallback},
                      // A colour emoji font leaves a text-style emoji to the text fonts.
                      OrderCase{"TextStyleEmojiModern", kHeart, true, FontLayer::primary},
                      OrderCase{"TextStyleEmojiClassic", kHeart, false, FontLayer::fallback}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LayerOrder, ClassicOrderAsksTheFallbackBeforeThePrimary) {
    FakeLayers layers;
    layers.primary = {kLetterA};
    layers.international = {{}, {kLetterA}};
    EXPECT_EQ(choose_font_layer(kLetterA, false, Presentation::by_default, layers),
              (LayerChoice{FontLayer::international, 1}));
    EXPECT_EQ(layers.asked, (std::vector<std::string>{"is_emoji", "fallback", "international 0", "international 1"}));
}

TEST(LayerOrder, NothingCoversLeavesTheLastResortAfterAskingEveryLayer) {
    FakeLayers layers;
    layers.international = {{}, {}};
    EXPECT_EQ(choose_font_layer(kLetterA, true, Presentation::by_default, layers).layer, FontLayer::last_resort);
    EXPECT_EQ(layers.asked, (std::vector<std::string>{"is_emoji", "primary", "fallback", "international 0",
                                                      "international 1"}));
}

TEST(LayerOrder, AnEmojiTheEmojiFontLacksGoesThroughTheTextLayers) {
    FakeLayers layers;
    layers.emoji = {kGrinning};
    layers.international = {{kGrinning}};
    EXPECT_EQ(choose_font_layer(kGrinning, true, Presentation::by_default, layers),
              (LayerChoice{FontLayer::international, 0}));
    EXPECT_EQ(layers.asked.front(), "is_emoji");
    EXPECT_EQ(layers.asked[1], "emoji");
}

TEST(LayerOrder, AMonochromeEmojiFontDrawsEveryEmojiItCovers) {
    FakeLayers layers = everything_covers(kHeart);
    layers.colour = false;
    EXPECT_EQ(choose_font_layer(kHeart, true, Presentation::text, layers).layer, FontLayer::emoji);
}

TEST(LayerOrder, ATextStyleEmojiNoTextFontCoversStaysWithTheEmojiFont) {
    FakeLayers layers;
    layers.emoji = {kHeart};
    layers.emoji_font = {kHeart};
    EXPECT_EQ(choose_font_layer(kHeart, true, Presentation::by_default, layers).layer, FontLayer::emoji);
}

struct PresentationCase {
    const char* label;
    char32_t code;
    Presentation asked;
    FontLayer expected;
};

class AskedPresentation : public ::testing::TestWithParam<PresentationCase> {};

TEST_P(AskedPresentation, SelectorsOverrideTheDefault) {
    const PresentationCase& c = GetParam();
    FakeLayers layers = everything_covers(c.code);
    EXPECT_EQ(choose_font_layer(c.code, true, c.asked, layers).layer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ColourEmojiFont, AskedPresentation,
    ::testing::Values(PresentationCase{"HeartAsEmoji", kHeart, Presentation::emoji, FontLayer::emoji},
                      PresentationCase{"HeartAsText", kHeart, Presentation::text, FontLayer::primary},
                      PresentationCase{"GrinningAsText", kGrinning, Presentation::text, FontLayer::primary},
                      PresentationCase{"GrinningAsEmoji", kGrinning, Presentation::emoji, FontLayer::emoji}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(EffectivePresentation, OnlyAnEmojiOfAColourEmojiFontKeepsWhatTheTextAsks) {
    FakeLayers layers = everything_covers(kHeart);
    EXPECT_EQ(effective_presentation(kHeart, Presentation::text, layers), Presentation::text);
    EXPECT_EQ(effective_presentation(kLetterA, Presentation::emoji, layers), Presentation::by_default);
    layers.colour = false;
    EXPECT_EQ(effective_presentation(kHeart, Presentation::text, layers), Presentation::by_default);
    layers.asked.clear();
    // Nothing asked: no question needed.
    EXPECT_EQ(effective_presentation(kHeart, Presentation::by_default, layers), Presentation::by_default);
    EXPECT_TRUE(layers.asked.empty());
}

TEST(SearchFallbackLayers, NeverAsksThePrimaryFamily) {
    FakeLayers layers = everything_covers(kLetterA);
    layers.fallback.clear();
    EXPECT_EQ(search_fallback_layers(kLetterA, layers), (LayerChoice{FontLayer::international, 0}));
    EXPECT_EQ(layers.asked, (std::vector<std::string>{"fallback", "international 0"}));
}

}  // namespace
