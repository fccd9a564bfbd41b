// The typography option readers over fuzzed text: the first byte picks the
// reader (features, language, variations, face word), the rest is its text.
// What a reader accepts must be within the limits and read back the same
// when written out again; coordinates must stay within their axes.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/limits.h"
#include "fuzz_checks.h"
#include "shaping/face_axes.h"
#include "shaping/font_variations.h"
#include "shaping/typography_options.h"

namespace {

using lumo::fuzz::require;
namespace shaping = lumo::shaping;

/// The tag in quotes, as the text syntax writes any tag.
std::string quoted_tag(shaping::Tag tag) {
    std::string text = shaping::tag_text(tag);
    text.resize(4, ' ');
    const char quote = text.find('\'') == std::string::npos ? '\'' : '"';
    return quote + text + quote;
}

void check_features(std::string_view text) {
    std::vector<shaping::FeatureSetting> features;
    if (!shaping::parse_features(text, features).empty()) return;
    require(features.size() <= lumo::kMaxTypographySettings, "more features than the limit");
    std::string written;
    bool writable = true;
    for (const shaping::FeatureSetting& setting : features) {
        const std::string tag = shaping::tag_text(setting.tag);
        require(!tag.empty() && tag.size() <= 4 && tag.front() != ' ', "a feature tag that is no tag");
        writable = writable && !(tag.find('\'') != std::string::npos && tag.find('"') != std::string::npos);
        written += quoted_tag(setting.tag) + "=" + std::to_string(setting.value) + ",";
    }
    if (!writable || written.size() > lumo::kMaxTypographyTextLength) return;
    std::vector<shaping::FeatureSetting> again;
    require(shaping::parse_features(written, again).empty() && again == features, "features do not read back");
}

void check_language(std::string_view text) {
    std::string language;
    if (!shaping::parse_language(text, language).empty()) return;
    if (language.empty()) return;
    require(language.size() == text.size(), "the language changed length");
    for (char c : language) require(c == '-' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'), "a bad character");
    require(shaping::is_well_formed_language_tag(language), "lower case is not well-formed");
    require(language.find("--") == std::string::npos && language.front() != '-' && language.back() != '-',
            "an empty subtag");
}

/// A font with three axes and two instances, for the fuzzed requests.
shaping::FontVariations sample_font() {
    shaping::FontVariations font;
    font.axes = {{*shaping::tag_of("wght"), 100, 400, 900},
                 {*shaping::tag_of("slnt"), -10, 0, 0},
                 {*shaping::tag_of("wdth"), 75, 100, 100}};
    font.instances = {{"Bold", {700, 0, 100}}, {"Semi Bold Italic", {600, -10, 100}}};
    return font;
}

void check_coordinates(const shaping::FontVariations& font, const std::vector<shaping::AxisSetting>& face,
                       const shaping::VariationRequest& request) {
    bool found = false;
    const std::vector<float> coordinates = shaping::design_coordinates(font, face, request, found);
    require(coordinates.empty() || coordinates.size() == font.axes.size(), "coordinates for some axes only");
    for (std::size_t i = 0; i < coordinates.size(); ++i)
        require(coordinates[i] >= font.axes[i].minimum && coordinates[i] <= font.axes[i].maximum,
                "a coordinate outside its axis");
    require(!found || !request.instance.empty(), "an instance found that was not asked for");
}

void check_variations(std::string_view text) {
    shaping::VariationRequest request;
    if (!shaping::parse_variations(text, request).empty()) return;
    require(request.axes.empty() || request.instance.empty(), "both axes and an instance");
    require(request.axes.size() <= lumo::kMaxTypographySettings, "more axes than the limit");
    std::string written;
    for (const shaping::AxisSetting& setting : request.axes) {
        require(std::isfinite(setting.value) && std::fabs(setting.value) <= 1e9f, "an axis value past the limits");
        char value[32];
        std::snprintf(value, sizeof value, "%.9g", static_cast<double>(setting.value));
        written += quoted_tag(setting.tag) + "=" + value + ",";
    }
    if (!request.axes.empty() && written.size() <= lumo::kMaxTypographyTextLength) {
        shaping::VariationRequest again;
        require(shaping::parse_variations(written, again).empty() && again == request, "axes do not read back");
    }
    check_coordinates(sample_font(), {}, request);
}

void check_face_word(std::string_view text) {
    if (const auto style = shaping::parse_face_word(text)) {
        require(!style->weight || (*style->weight >= 100 && *style->weight <= 950), "a weight past the names");
        require(!style->width || (*style->width >= 50 && *style->width <= 200), "a width past the names");
    }
    const shaping::FontVariations font = sample_font();
    const shaping::FaceAxes drawn = shaping::face_axes(font, text);
    for (const shaping::AxisSetting& setting : drawn.settings)
        require(font.axis_index(setting.tag) >= 0, "a face word set an axis the font lacks");
    check_coordinates(font, drawn.settings, {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 4) {
    case 0: check_features(text); break;
    case 1: check_language(text); break;
    case 2: check_variations(text); break;
    default: check_face_word(text); break;
    }
    return 0;
}
