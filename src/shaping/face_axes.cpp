// Face words as positions on a variable font's axes.
#include "shaping/face_axes.h"

#include <array>
#include <string>

namespace lumo::shaping {
namespace {

enum class Kind { weight, italic, width };

struct StyleName {
    std::string_view name;
    Kind kind;
    float value;
};

// The usual names of weights (the OS/2 weight classes), slants and widths
// (the OS/2 width classes, in percent).
constexpr std::array<StyleName, 37> kStyleNames = {{
    {"thin", Kind::weight, 100},         {"hairline", Kind::weight, 100},     {"extralight", Kind::weight, 200},
    {"ultralight", Kind::weight, 200},   {"light", Kind::weight, 300},        {"regular", Kind::weight, 400},
    {"normal", Kind::weight, 400},       {"book", Kind::weight, 400},         {"roman", Kind::weight, 400},
    {"medium", Kind::weight, 500},       {"semibold", Kind::weight, 600},     {"demibold", Kind::weight, 600},
    {"bold", Kind::weight, 700},         {"extrabold", Kind::weight, 800},    {"ultrabold", Kind::weight, 800},
    {"black", Kind::weight, 900},        {"heavy", Kind::weight, 900},        {"extrablack", Kind::weight, 950},
    {"ultrablack", Kind::weight, 950},   {"italic", Kind::italic, 1},         {"oblique", Kind::italic, 1},
    {"ultracondensed", Kind::width, 50}, {"extracondensed", Kind::width, 62.5f}, {"condensed", Kind::width, 75},
    {"semicondensed", Kind::width, 87.5f}, {"narrow", Kind::width, 75},      {"semiexpanded", Kind::width, 112.5f},
    {"expanded", Kind::width, 125},      {"extraexpanded", Kind::width, 150}, {"ultraexpanded", Kind::width, 200},
    {"wide", Kind::width, 125},          {"demicondensed", Kind::width, 87.5f}, {"compressed", Kind::width, 62.5f},
    {"extended", Kind::width, 125},      {"semiextended", Kind::width, 112.5f}, {"extraextended", Kind::width, 150},
    {"ultraextended", Kind::width, 200},
}};

constexpr Tag tag(char a, char b, char c, char d) {
    return static_cast<Tag>(a) << 24 | static_cast<Tag>(b) << 16 | static_cast<Tag>(c) << 8 | static_cast<Tag>(d);
}
constexpr Tag kWeight = tag('w', 'g', 'h', 't');
constexpr Tag kItalic = tag('i', 't', 'a', 'l');
constexpr Tag kSlant = tag('s', 'l', 'n', 't');
constexpr Tag kWidth = tag('w', 'd', 't', 'h');

/// The longest style name at the start of `rest`, or null.
const StyleName* longest_name_at(std::string_view rest) {
    const StyleName* found = nullptr;
    for (const StyleName& style : kStyleNames)
        if (rest.substr(0, style.name.size()) == style.name && (!found || style.name.size() > found->name.size()))
            found = &style;
    return found;
}

}  // namespace

std::optional<FaceWordStyle> parse_face_word(std::string_view word) {
    std::string compact;
    for (char c : word) {
        if (c == ' ' || c == '-' || c == '_' || c == '\t') continue;
        compact += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (compact.empty()) return std::nullopt;
    FaceWordStyle style;
    for (std::string_view rest = compact; !rest.empty();) {
        const StyleName* name = longest_name_at(rest);
        if (name == nullptr) return std::nullopt;
        rest.remove_prefix(name->name.size());
        switch (name->kind) {
        case Kind::weight:
            if (style.weight) return std::nullopt;
            style.weight = name->value;
            break;
        case Kind::italic: style.italic = true; break;
        case Kind::width:
            if (style.width) return std::nullopt;
            style.width = name->value;
            break;
        }
    }
    return style;
}

FaceAxes face_axes(const FontVariations& font, std::string_view face_word) {
    FaceAxes drawn;
    if (!font.is_variable()) return drawn;
    const std::optional<FaceWordStyle> style = parse_face_word(face_word);
    // The regular face is the font's default instance, whatever weight that has.
    if (style && style->weight == 400.0f && !style->italic && !style->width) return drawn;
    if (const NamedInstance* instance = font.instance_named(face_word)) {
        for (std::size_t i = 0; i < font.axes.size(); ++i)
            drawn.settings.push_back({font.axes[i].tag, instance->coordinates[i]});
        drawn.weight_drawn = drawn.italic_drawn = true;
        return drawn;
    }
    if (!style) return drawn;
    if (style->weight && font.axis_index(kWeight) >= 0) {
        drawn.settings.push_back({kWeight, *style->weight});
        drawn.weight_drawn = true;
    }
    if (style->italic) {
        if (const int ital = font.axis_index(kItalic); ital >= 0 && font.axes[ital].maximum > 0) {
            drawn.settings.push_back({kItalic, 1.0f});
            drawn.italic_drawn = true;
        } else if (const int slnt = font.axis_index(kSlant); slnt >= 0 && font.axes[slnt].minimum < 0) {
            // Negative slant leans right; the font's own italic instances use its full range.
            drawn.settings.push_back({kSlant, font.axes[slnt].minimum});
            drawn.italic_drawn = true;
        }
    }
    if (style->width && font.axis_index(kWidth) >= 0) drawn.settings.push_back({kWidth, *style->width});
    return drawn;
}

}  // namespace lumo::shaping
