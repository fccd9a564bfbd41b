// Substitute families for families that are not installed.
#include "font/family_substitutes.h"

#include <array>

#include "index/font_names.h"
#include "index/text_rules.h"

namespace lumo::font {
namespace {

/// Families drawn with the same advances and line heights under another
/// name, as font configurations alias them, best first.
struct MetricTwins {
    std::string_view family;  // lower case, without blanks
    std::array<std::string_view, 2> twins;
};

constexpr std::array<MetricTwins, 9> kMetricTwins = {{
    {"arial", {"Liberation Sans", "Arimo"}},
    {"helvetica", {"Liberation Sans", "Arimo"}},
    {"arialnarrow", {"Liberation Sans Narrow", ""}},
    {"timesnewroman", {"Liberation Serif", "Tinos"}},
    {"times", {"Liberation Serif", "Tinos"}},
    {"couriernew", {"Liberation Mono", "Cousine"}},
    {"courier", {"Liberation Mono", "Cousine"}},
    {"calibri", {"Carlito", ""}},
    {"cambria", {"Caladea", ""}},
}};

/// Sans families nearly every Linux system has, for any other family.
constexpr std::array<std::string_view, 2> kDefaultSans = {"DejaVu Sans", "Noto Sans"};

/// The name lower-cased, without the blanks that spellings disagree on.
std::string comparable(std::string_view family) {
    std::string lower = index::lower_text(family);
    std::string compact;
    for (char c : lower)
        if (c != ' ' && c != '\t') compact += c;
    return compact;
}

}  // namespace

std::string substitute_family(std::string_view asked_family,
                              const std::function<bool(std::string_view)>& is_installed) {
    auto installed = [&](std::string_view family) { return !family.empty() && is_installed(index::lower_text(family)); };
    const std::string asked = comparable(asked_family);
    for (const MetricTwins& entry : kMetricTwins) {
        if (entry.family != asked) continue;
        for (std::string_view twin : entry.twins)
            if (installed(twin)) return std::string(twin);
    }
    for (std::string_view family : kDefaultSans)
        if (installed(family)) return std::string(family);
    return {};
}

std::string first_regular_face(std::span<const std::string> face_names) {
    for (const std::string& name : face_names)
        if (!index::strip_text(name).empty() && index::face_word_of(name) == "regular") return name;
    return {};
}

}  // namespace lumo::font
