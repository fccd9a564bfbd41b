// Reading and checking the typography options: feature and axis settings in
// HarfBuzz's text syntax or one at a time, and BCP 47 language tags.
#include "shaping/typography_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/limits.h"

namespace lumo::shaping {
namespace {

bool is_ascii_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ascii_alnum(char c) { return is_ascii_alpha(c) || is_ascii_digit(c); }
char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

/// `text` in single quotes as an error names it: control bytes escaped, and
/// cut short when long, so that a message stays one readable line.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else if (c == '\'' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > kShown) out += "...";
    return out + "'";
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

/// Calls `each` with every comma-separated item of `text`, blanks trimmed;
/// empty items (a trailing comma) are passed over. Stops at the first refusal.
template <typename Each>
std::string for_each_item(std::string_view text, Each&& each) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = trimmed(text.substr(0, comma));
        if (!item.empty())
            if (std::string refused = each(item); !refused.empty()) return refused;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return {};
}

/// A tag at the start of `rest`, as HarfBuzz's syntax writes it: 1 to 4
/// letters, digits or underscores, or exactly 4 printable characters in
/// quotes. Consumes it.
std::optional<Tag> take_tag(std::string_view& rest) {
    if (!rest.empty() && (rest.front() == '\'' || rest.front() == '"')) {
        const char quote = rest.front();
        if (rest.size() < 6 || rest[5] != quote) return std::nullopt;
        // Four characters; a short tag is padded with blanks ('cv1 ').
        std::string_view inner = rest.substr(1, 4);
        while (!inner.empty() && inner.back() == ' ') inner.remove_suffix(1);
        const std::optional<Tag> tag = tag_of(inner);
        if (tag) rest.remove_prefix(6);
        return tag;
    }
    std::size_t length = 0;
    while (length < rest.size() && (is_ascii_alnum(rest[length]) || rest[length] == '_')) ++length;
    if (length == 0 || length > 4) return std::nullopt;
    std::optional<Tag> tag = tag_of(rest.substr(0, length));
    rest.remove_prefix(length);
    return tag;
}

void skip_blanks(std::string_view& rest) {
    while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
}

/// A feature's value after "=": a whole number that fits 32 bits, or on/off.
std::optional<std::uint32_t> feature_value(std::string_view text) {
    if (equal_ignoring_case(text, "on")) return 1u;
    if (equal_ignoring_case(text, "off")) return 0u;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string feature_item(std::string_view item, std::vector<FeatureSetting>& features) {
    const std::string refused = "features: " + quoted(item) +
                                " is not a feature setting (use tag, +tag, -tag or tag=value, such as "
                                "'-liga,+tnum,ss01=2')";
    std::string_view rest = item;
    FeatureSetting setting;
    if (rest.front() == '+' || rest.front() == '-') {
        setting.value = rest.front() == '+' ? 1 : 0;
        rest.remove_prefix(1);
        skip_blanks(rest);
    }
    const std::optional<Tag> tag = take_tag(rest);
    if (!tag) return refused;
    setting.tag = *tag;
    skip_blanks(rest);
    if (!rest.empty() && rest.front() == '[')
        return "features: " + quoted(item) + " gives a range, which is not supported: a feature applies to all the text";
    if (!rest.empty() && rest.front() == '=') {
        rest.remove_prefix(1);
        const std::optional<std::uint32_t> value = feature_value(trimmed(rest));
        if (!value) return refused;
        setting.value = *value;
        rest = {};
    }
    if (!rest.empty()) return refused;
    if (features.size() >= kMaxTypographySettings)
        return "features: more than " + std::to_string(kMaxTypographySettings) + " settings";
    features.push_back(setting);
    return {};
}

std::optional<float> axis_value(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    // Far beyond any axis: every such value is clamped to the axis's end anyway.
    constexpr double kLargest = 1e9;
    return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

std::string axis_item(std::string_view item, VariationRequest& variations) {
    const std::string refused = "variations: " + quoted(item) +
                                " is not an axis setting (use tag=value, such as 'wght=650,wdth=87.5')";
    std::string_view rest = item;
    const std::optional<Tag> tag = take_tag(rest);
    skip_blanks(rest);
    if (!tag || rest.empty() || rest.front() != '=') return refused;
    const std::optional<float> value = axis_value(trimmed(rest.substr(1)));
    if (!value) return refused;
    if (variations.axes.size() >= kMaxTypographySettings)
        return "variations: more than " + std::to_string(kMaxTypographySettings) + " axis settings";
    variations.axes.push_back({*tag, *value});
    return {};
}

std::string too_long(const char* option) {
    return std::string(option) + ": the text is longer than " + std::to_string(kMaxTypographyTextLength) +
           " characters";
}

// Language tags ---------------------------------------------------------------

/// The irregular grandfathered tags of the language subtag registry: the
/// only well-formed tags the general syntax does not describe.
constexpr std::array<std::string_view, 17> kIrregularTags = {
    "en-GB-oed", "i-ami", "i-bnn", "i-default", "i-enochian", "i-hak", "i-klingon", "i-lux", "i-mingo",
    "i-navajo", "i-pwn", "i-tao", "i-tay", "i-tsu", "sgn-BE-FR", "sgn-BE-NL", "sgn-CH-DE"};

bool all_of(std::string_view text, bool (*test)(char)) {
    for (char c : text)
        if (!test(c)) return false;
    return true;
}

bool is_alpha_subtag(std::string_view s, std::size_t low, std::size_t high) {
    return s.size() >= low && s.size() <= high && all_of(s, is_ascii_alpha);
}

bool is_variant(std::string_view s) {
    return (s.size() >= 5 && s.size() <= 8) || (s.size() == 4 && is_ascii_digit(s.front()));
}

}  // namespace

std::optional<Tag> tag_of(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    Tag tag = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        if (i < text.size() && (c <= 0x20 || c >= 0x7F)) return std::nullopt;
        tag = tag << 8 | c;
    }
    return tag;
}

std::string tag_text(Tag tag) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((tag >> shift) & 0xFF);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string parse_features(std::string_view text, std::vector<FeatureSetting>& features) {
    if (text.size() > kMaxTypographyTextLength) return too_long("features");
    return for_each_item(text, [&](std::string_view item) { return feature_item(item, features); });
}

std::string add_feature(std::string_view tag, std::int64_t value, std::vector<FeatureSetting>& features) {
    const std::optional<Tag> packed = tag_of(tag);
    if (!packed) return "features: " + quoted(tag) + " is not an OpenType feature tag (1 to 4 printable characters)";
    if (value < 0 || value > std::numeric_limits<std::uint32_t>::max())
        return "features: the value of " + quoted(tag) + " must be 0 to 4294967295, not " + std::to_string(value);
    if (features.size() >= kMaxTypographySettings)
        return "features: more than " + std::to_string(kMaxTypographySettings) + " settings";
    features.push_back({*packed, static_cast<std::uint32_t>(value)});
    return {};
}

std::string parse_language(std::string_view tag, std::string& language) {
    if (tag.empty()) {
        language.clear();
        return {};
    }
    if (tag.size() > kMaxTypographyTextLength) return too_long("language");
    if (!is_well_formed_language_tag(tag))
        return "language: " + quoted(tag) + " is not a BCP 47 language tag (such as 'sr', 'zh-Hant' or 'pt-BR')";
    language.assign(tag);
    for (char& c : language) c = ascii_lower(c);
    return {};
}

std::string parse_variations(std::string_view text, VariationRequest& variations) {
    if (text.size() > kMaxTypographyTextLength) return too_long("variations");
    if (text.find('=') != std::string_view::npos)
        return for_each_item(text, [&](std::string_view item) { return axis_item(item, variations); });
    variations.instance.assign(trimmed(text));
    return {};
}

std::string add_axis(std::string_view tag, double value, VariationRequest& variations) {
    const std::optional<Tag> packed = tag_of(tag);
    if (!packed)
        return "variations: " + quoted(tag) + " is not an OpenType axis tag (1 to 4 printable characters)";
    if (!std::isfinite(value)) return "variations: the value of " + quoted(tag) + " must be a finite number";
    if (variations.axes.size() >= kMaxTypographySettings)
        return "variations: more than " + std::to_string(kMaxTypographySettings) + " axis settings";
    constexpr double kLargest = 1e9;
    variations.axes.push_back({*packed, static_cast<float>(std::clamp(value, -kLargest, kLargest))});
    return {};
}

bool is_well_formed_language_tag(std::string_view tag) {
    for (std::string_view irregular : kIrregularTags)
        if (equal_ignoring_case(tag, irregular)) return true;
    std::vector<std::string_view> subtags;
    for (std::string_view rest = tag;;) {
        const std::size_t dash = rest.find('-');
        const std::string_view subtag = rest.substr(0, dash);
        if (subtag.empty() || subtag.size() > 8 || !all_of(subtag, is_ascii_alnum)) return false;
        subtags.push_back(subtag);
        if (dash == std::string_view::npos) break;
        rest.remove_prefix(dash + 1);
    }
    const std::size_t count = subtags.size();
    std::size_t at = 0;
    const auto is_x = [](std::string_view s) { return s.size() == 1 && ascii_lower(s.front()) == 'x'; };
    if (!is_x(subtags[0])) {
        if (!is_alpha_subtag(subtags[0], 2, 8)) return false;  // the language
        at = 1;
        if (subtags[0].size() <= 3)  // up to three extended language subtags
            for (int extlang = 0; extlang < 3 && at < count && is_alpha_subtag(subtags[at], 3, 3); ++extlang) ++at;
        if (at < count && is_alpha_subtag(subtags[at], 4, 4)) ++at;  // script
        if (at < count && (is_alpha_subtag(subtags[at], 2, 2) ||
                           (subtags[at].size() == 3 && all_of(subtags[at], is_ascii_digit))))
            ++at;  // region
        while (at < count && is_variant(subtags[at])) ++at;
        while (at < count && subtags[at].size() == 1 && !is_x(subtags[at])) {  // extensions
            const std::size_t singleton = at++;
            while (at < count && subtags[at].size() >= 2) ++at;
            if (at == singleton + 1) return false;  // a singleton needs at least one subtag
        }
        if (at == count) return true;
        if (!is_x(subtags[at])) return false;
    }
    // Private use: "x" and at least one subtag of 1 to 8 characters.
    return at + 1 < count;
}

}  // namespace lumo::shaping
