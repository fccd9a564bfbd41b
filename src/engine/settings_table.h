// The host-tunable settings: their names, defaults and what each accepts.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace lumo::engine {

enum class SettingKind {
    Boolean,          // exactly True or False
    Number,           // an int or a float within the safe offset range
    PositiveInteger,  // an int greater than 0 (a bool counts as an int)
};

enum class SettingId {
    ModernFont,
    SmoothFont,
    AntiAlias,
    EmojiOffsetY,
    MaxTextCache,
    TextCacheCleanCount,
    MaxGlyphCache,
    GlyphCacheCleanCount,
};

struct SettingSpec {
    SettingId id;
    std::string_view name;
    SettingKind kind;
    std::string_view description;  // completes "It must be ..." in the refusal message
    double default_value;           // 1.0/0.0 for booleans; whole numbers for integers
};

/// In the order the module creates them.
inline constexpr std::array<SettingSpec, 8> kSettings = {{
    {SettingId::ModernFont, "MODERN_FONT", SettingKind::Boolean, "a Boolean value (True/False)", 1},
    {SettingId::SmoothFont, "SMOOTH_FONT", SettingKind::Boolean, "a Boolean value (True/False)", 1},
    {SettingId::AntiAlias, "ANTI_ALIAS", SettingKind::Boolean, "a Boolean value (True/False)", 1},
    {SettingId::EmojiOffsetY, "EMOJI_OFFSET_Y", SettingKind::Number, "a Float or Int value", 0.15},
    {SettingId::MaxTextCache, "MAX_TEXT_CACHE", SettingKind::PositiveInteger, "a positive Integer value", 1200},
    {SettingId::TextCacheCleanCount, "TEXT_CACHE_CLEAN_COUNT", SettingKind::PositiveInteger, "a positive Integer value", 100},
    {SettingId::MaxGlyphCache, "MAX_GLYPH_CACHE", SettingKind::PositiveInteger, "a positive Integer value", 2500},
    {SettingId::GlyphCacheCleanCount, "GLYPH_CACHE_CLEAN_COUNT", SettingKind::PositiveInteger, "a positive Integer value", 100},
}};

/// EMOJI_OFFSET_Y is a fraction of the pixel size; beyond this range emoji leave the line.
inline constexpr double kEmojiOffsetLimit = 2.0;

inline constexpr const SettingSpec& setting_spec(SettingId id) {
    return kSettings[static_cast<std::size_t>(id)];
}

}  // namespace lumo::engine
