// Font names as the index keys them: family roots and aliases cut from the
// style suffix of a face name, and whether a font argument names a file.
#include "index/font_names.h"

#include <algorithm>
#include <array>

#include "engine/fixed_tables.h"
#include "index/text_rules.h"

namespace lumo::index {

namespace {

constexpr std::array<std::string_view, 3> kFontExtensions = {".ttf", ".otf", ".ttc"};
constexpr std::string_view kCollectionExtension = ".ttc";
constexpr std::string_view kRegularFaceWord = "regular";

/// `face_name` trimmed, without the first of `suffixes` that its lower-cased
/// form ends with, trimmed again.
template <std::size_t N>
std::string without_style_suffix(std::string_view face_name, const std::array<std::string_view, N>& suffixes) {
    const std::string_view name = strip_text(face_name);
    const std::string low = lower_text(name);
    for (std::string_view suffix : suffixes) {
        if (!ends_with(low, suffix)) continue;
        // Cut from the name as given, by code points: the capitalisation stays,
        // and lower-casing may have made the text longer (U+0130).
        return std::string(strip_text(drop_last_code_points(name, code_point_count(suffix))));
    }
    return std::string(name);
}

bool ends_with_font_extension(std::string_view lowered_name) {
    return std::any_of(kFontExtensions.begin(), kFontExtensions.end(),
                       [&](std::string_view extension) { return ends_with(lowered_name, extension); });
}

}  // namespace

std::string family_root(std::string_view face_name) {
    return without_style_suffix(face_name, engine::kFontSuffixes);
}

std::string normalized_font_name(std::string_view face_name, std::size_t family_size) {
    // Only a face alone in its family can stand for the family whatever its
    // style; otherwise the bare family name belongs to the regular face.
    if (family_size == 1) return without_style_suffix(face_name, engine::kFontSuffixes);
    return without_style_suffix(face_name, engine::kRegularSuffixes);
}

std::string face_word_of(std::string_view name) {
    const std::string lowered = lower_text(name);
    const std::string_view low = strip_text(lowered);
    for (std::string_view suffix : engine::kFontSuffixes) {
        if (!ends_with(low, suffix)) continue;
        const std::size_t first = suffix.find_first_not_of('-');
        const std::size_t last = suffix.find_last_not_of('-');
        const std::string_view word = first == std::string_view::npos ? std::string_view{}
                                                                       : suffix.substr(first, last - first + 1);
        return std::string(strip_text(word));
    }
    return std::string(kRegularFaceWord);
}

bool has_font_extension(std::string_view file_name) {
    return std::any_of(kFontExtensions.begin(), kFontExtensions.end(),
                       [&](std::string_view extension) { return ends_with_ascii_nocase(file_name, extension); });
}

bool has_collection_extension(std::string_view file_name) {
    return ends_with_ascii_nocase(file_name, kCollectionExtension);
}

FontPathGuess guess_font_path(std::string_view text, char platform_separator) {
    const std::string lowered = lower_text(text);
    const std::string_view low = strip_text(lowered);
    const bool has_separator = text.find(platform_separator) != std::string_view::npos ||
                               text.find('/') != std::string_view::npos;
    if (!ends_with_font_extension(low) && !has_separator) return {};
    return {true, ends_with(low, kCollectionExtension) ? 0 : -1};
}

}  // namespace lumo::index
