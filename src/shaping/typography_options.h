// The typography a call may ask for beyond its font and face: OpenType
// features, the language of the text and a variable font's axis values, read
// from the text or mapping forms a host passes and checked before any use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::shaping {

/// An OpenType tag as HarfBuzz packs it: four bytes, the first one highest,
/// padded with blanks.
using Tag = std::uint32_t;

struct FeatureSetting {
    Tag tag = 0;
    std::uint32_t value = 1;  // 0 turns the feature off, 1 on; above 1 picks an alternate
    bool operator==(const FeatureSetting&) const = default;
};

struct AxisSetting {
    Tag tag = 0;
    float value = 0.0f;  // in the axis's design units (wght 100-900, wdth percent, slnt degrees)
    bool operator==(const AxisSetting&) const = default;
};

/// The variations a call asks for: axis values, or one named instance by name.
struct VariationRequest {
    std::vector<AxisSetting> axes;  // in the order given: a later value of a tag wins
    std::string instance;           // the name as given; empty for none
    bool empty() const { return axes.empty() && instance.empty(); }
    bool operator==(const VariationRequest&) const = default;
};

struct TypographyOptions {
    std::vector<FeatureSetting> features;  // applied to every run, in order
    std::string language;                  // a lower-case BCP 47 tag; empty: guessed from the text
    VariationRequest variations;
    bool operator==(const TypographyOptions&) const = default;
    bool is_default() const { return features.empty() && language.empty() && variations.empty(); }
};

// Each reader below answers with the reason its input was refused, naming the
// part at fault, or with an empty text when it was accepted.

/// Features in HarfBuzz's syntax, comma-separated: "liga" or "+liga" (on),
/// "-liga" (off), "ss01=2" or "kern=off", a tag in quotes ("'kern'"). Ranges
/// ("liga[3:5]") are refused: a call's features apply to all of its text.
std::string parse_features(std::string_view text, std::vector<FeatureSetting>& features);

/// One feature of the mapping form: a tag of 1 to 4 printable characters and
/// a value 0 to 2^32 - 1 (the host gives False and True as 0 and 1).
std::string add_feature(std::string_view tag, std::int64_t value, std::vector<FeatureSetting>& features);

/// A well-formed BCP 47 tag ("sr", "zh-Hant", "de-CH-1996"), kept lower-cased
/// in `language`. An empty tag leaves the language to be guessed.
std::string parse_language(std::string_view tag, std::string& language);

/// Axis values in HarfBuzz's syntax ("wght=650,wdth=87.5"), or, for a text
/// without "=", the name of a named instance ("SemiBold Condensed").
std::string parse_variations(std::string_view text, VariationRequest& variations);

/// One axis of the mapping form: a tag of 1 to 4 printable characters and a
/// finite number.
std::string add_axis(std::string_view tag, double value, VariationRequest& variations);

/// Whether `tag` follows the syntax of BCP 47 language tags (RFC 5646): a
/// language subtag with its optional extended language, script, region,
/// variant, extension and private-use subtags, a private-use tag, or one of
/// the registry's irregular grandfathered tags. The subtags' registry is not
/// consulted.
bool is_well_formed_language_tag(std::string_view tag);

/// The tag of 1 to 4 printable ASCII characters other than the blank, padded
/// with blanks; nothing for any other text.
std::optional<Tag> tag_of(std::string_view text);

/// The tag as text, without its padding.
std::string tag_text(Tag tag);

}  // namespace lumo::shaping
