// The plain-value checks of a block call's options; see block_options.h.
#include "layout/block_options.h"

#include <algorithm>
#include <span>

#include "base/limits.h"

namespace lumo::layout {
namespace {

/// The position of `word` among `words`; -1 when it is none of them.
int position_of(std::string_view word, std::span<const std::string_view> words) {
    int position = 0;
    for (std::string_view known : words) {
        if (known == word) return position;
        ++position;
    }
    return -1;
}

/// "`argument` must be 'a', 'b' or 'c'".
std::string choice_message(std::string_view argument, std::span<const std::string_view> words) {
    std::string message = std::string(argument) + " must be ";
    std::size_t position = 0;
    for (std::string_view word : words) {
        if (position > 0) message += position + 1 == words.size() ? " or " : ", ";
        message += '\'';
        message.append(word);
        message += '\'';
        ++position;
    }
    return message;
}

constexpr std::array<std::string_view, 4> kAlignWords = {"start", "left", "center", "right"};
constexpr std::array<std::string_view, 3> kDirectionWords = {"ltr", "rtl", "auto"};

}  // namespace

std::optional<Align> align_named(std::string_view word) {
    const int position = position_of(word, kAlignWords);
    if (position < 0) return std::nullopt;
    return static_cast<Align>(position);
}

std::optional<Direction> direction_named(std::string_view word) {
    switch (position_of(word, kDirectionWords)) {
    case 0: return Direction::left_to_right;
    case 1: return Direction::right_to_left;
    case 2: return Direction::from_text;
    default: return std::nullopt;
    }
}

std::string align_choice_message() { return choice_message("align", kAlignWords); }
std::string direction_choice_message() { return choice_message("direction", kDirectionWords); }

std::optional<long> wraplength_of(long value, bool above_range, bool below_range) {
    if (above_range || value > kMaxRunExtentPixels) return std::nullopt;
    return below_range ? 0 : std::max(0L, value);
}

std::string wraplength_limit_message() {
    return "wraplength must be at most " + std::to_string(kMaxRunExtentPixels) + " pixels";
}

bool line_spacing_allowed(double spacing) { return spacing > 0.0 && spacing <= kMaxLineSpacing; }

std::string line_spacing_limit_message() {
    return "line_spacing must be above 0 and at most " + std::to_string(static_cast<int>(kMaxLineSpacing));
}

LineRows line_rows(double ascent, double line_height) {
    return {static_cast<long>(ascent + 0.5), static_cast<long>(line_height)};
}

const char* anchor_named(std::string_view word) {
    for (const char* name : kAnchorNames)
        if (word == name) return name;
    return nullptr;
}

std::string anchor_choice_message() {
    std::string message = "anchor must be one of ";
    // By position: a build may keep a copy of each name per file, so names are not compared as pointers.
    for (std::size_t i = 0; i < kAnchorNames.size(); ++i) {
        if (i > 0) message += ", ";
        message += '\'';
        message += kAnchorNames[i];
        message += '\'';
    }
    return message;
}

std::string layout_anchor_message(std::string_view anchor) {
    std::string message = "anchor must be one of ";
    for (const char* name : kAnchorNames) message += std::string(name) + ", ";
    return message + "not '" + std::string(anchor) + "'";
}

}  // namespace lumo::layout
