// General-category lookup over a generated table of category ranges: a binary
// search of about 4,000 four-byte entries, with no allocation.
#include "render/char_categories.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace lumo::render {

namespace {

struct CategoryRange {
    std::uint32_t first : 24;
    std::uint32_t category : 8;
};

#include "render/char_categories.inc"

static_assert(sizeof(CategoryRange) == 4, "the table should stay packed");
static_assert(std::size(kCategoryNames) == Zs + 1);
static_assert(kCategoryRanges[0].first == 0, "every code point needs a range");

constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

Category searched_category(std::uint32_t code) noexcept {
    const CategoryRange* after =
        std::upper_bound(std::begin(kCategoryRanges), std::end(kCategoryRanges), code,
                         [](std::uint32_t cp, const CategoryRange& range) { return cp < range.first; });
    return static_cast<Category>((after - 1)->category);
}

// Latin-1, where most game text lives, without the search: segmentation
// asks two categories of every character.
const std::array<Category, 256> kLatin1Categories = [] {
    std::array<Category, 256> categories{};
    for (std::uint32_t code = 0; code < categories.size(); ++code) categories[code] = searched_category(code);
    return categories;
}();

Category category_of(std::uint32_t code) noexcept {
    if (code < kLatin1Categories.size()) return kLatin1Categories[code];
    if (code > kMaxCodePoint) return Cn;
    return searched_category(code);
}

}  // namespace

std::string_view general_category(std::uint32_t code) noexcept { return kCategoryNames[category_of(code)]; }

// Unicode never changes the Cc set, so this needs no table search; the generator
// checks the two ranges against the host all the same.
bool is_control(std::uint32_t code) noexcept { return code <= 0x1F || (code >= 0x7F && code <= 0x9F); }

bool is_mark(std::uint32_t code) noexcept {
    const Category category = category_of(code);
    return category == Mn || category == Mc || category == Me;
}

bool is_format(std::uint32_t code) noexcept { return category_of(code) == Cf; }

bool is_dropped_mark(std::uint32_t code) noexcept {
    switch (code) {
        case 0x061C:  // Arabic letter mark
        case 0x200B:  // zero-width space
        case 0x200E:  // left-to-right mark
        case 0x200F:  // right-to-left mark
        case 0x202A: case 0x202B: case 0x202C: case 0x202D: case 0x202E:  // embeddings, overrides
        case 0x2066: case 0x2067: case 0x2068: case 0x2069:  // isolates
            return true;
        default:
            return is_control(code);
    }
}

}  // namespace lumo::render
