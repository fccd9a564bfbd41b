// Bidirectional levels of a line through FriBidi, and the visual order of its runs.
#include "render/run_direction.h"

#include <fribidi.h>

#include <algorithm>
#include <new>
#include <numeric>

namespace lumo::render {
namespace {

struct CodeRange {
    std::uint32_t first;
    std::uint32_t last;
};

// The blocks whose characters are strongly right to left or Arabic numbers
// (Hebrew to Arabic Extended, the presentation forms, and the historic and
// Arabic-script blocks of the supplementary planes).
constexpr CodeRange kRightToLeftBlocks[] = {
    {0x0590, 0x08FF}, {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFF}, {0x10800, 0x10FFF}, {0x1E800, 0x1EFFF},
};

bool in_right_to_left_block(std::uint32_t code) {
    if (code < kRightToLeftBlocks[0].first) return false;
    for (const CodeRange& block : kRightToLeftBlocks)
        if (code >= block.first && code <= block.last) return true;
    return false;
}

/// Whether a character of this class, met before any right-to-left one,
/// resolves to level 0 whatever follows it: strong left-to-right characters,
/// and numbers, separators, marks and neutrals that only left-to-right
/// characters (or the line's start) precede. Paragraph and segment separators
/// and brackets (which may pair with one further on) are not.
bool settles_left_to_right(FriBidiCharType type, std::uint32_t code) {
    switch (type) {
    case FRIBIDI_TYPE_LTR: case FRIBIDI_TYPE_EN: case FRIBIDI_TYPE_ES: case FRIBIDI_TYPE_ET:
    case FRIBIDI_TYPE_CS: case FRIBIDI_TYPE_NSM: case FRIBIDI_TYPE_BN: case FRIBIDI_TYPE_WS:
        return true;
    case FRIBIDI_TYPE_ON:
        return fribidi_get_bracket(code) == FRIBIDI_NO_BRACKET;
    default:
        return false;
    }
}

/// How many leading characters of `line` resolve to level 0 on their own
/// (see above): the rest of the line then meets the same context at its start.
std::size_t left_to_right_prefix(std::span<const std::uint32_t> line, std::span<const FriBidiCharType> types) {
    std::size_t prefix = 0;
    while (prefix < line.size() && settles_left_to_right(types[prefix], line[prefix])) ++prefix;
    return prefix;
}

/// Levels of `line` from `start` on when it holds only letters of either
/// direction, their marks, white space and neutrals other than brackets (no
/// numbers, separators or joiners): the common right-to-left line. There the
/// algorithm comes down to: letters take their direction, a mark that of the
/// character before it, a stretch of neutrals that of the letters around it
/// when both sides agree and left to right otherwise, and white space at the
/// end of the line goes back to the paragraph's level. Worked out here because
/// FriBidi allocates a node per change of class, which costs about a tenth of
/// drawing such a line; FriBidi answers every other line, and the fuzz target
/// holds the two to the same result. False (and nothing written) for a line
/// outside that set.
bool resolve_letters_and_neutrals(std::span<const std::uint32_t> line, std::span<const FriBidiCharType> types,
                                  std::size_t start, std::span<std::uint8_t> levels) {
    enum Side : std::uint8_t { left = 0, right = 1, neutral = 2 };
    static thread_local std::vector<std::uint8_t> sides;
    sides.resize(line.size());
    Side previous = left;  // the line's start counts as left to right
    for (std::size_t i = start; i < line.size(); ++i) {
        Side side;
        switch (types[i]) {
        case FRIBIDI_TYPE_LTR: side = left; break;
        case FRIBIDI_TYPE_RTL: case FRIBIDI_TYPE_AL: side = right; break;
        case FRIBIDI_TYPE_NSM: side = previous; break;
        case FRIBIDI_TYPE_WS: side = neutral; break;
        case FRIBIDI_TYPE_ON:
            if (fribidi_get_bracket(line[i]) != FRIBIDI_NO_BRACKET) return false;
            side = neutral;
            break;
        default: return false;
        }
        sides[i] = side;
        previous = side;
    }
    for (std::size_t i = start; i < line.size();) {
        if (sides[i] != neutral) {
            levels[i] = sides[i];
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && sides[end] == neutral) ++end;
        const Side before = i > start ? static_cast<Side>(sides[i - 1]) : left;
        const Side after = end < line.size() ? static_cast<Side>(sides[end]) : left;
        const std::uint8_t level = before == after ? before : left;
        for (std::size_t k = i; k < end; ++k) levels[k] = level;
        i = end;
    }
    for (std::size_t i = line.size(); i > start && types[i - 1] == FRIBIDI_TYPE_WS; --i) levels[i - 1] = left;
    return true;
}

/// Levels of line[from..] resolved by FriBidi as a paragraph of direction
/// `paragraph`, into `levels`; `types` are the whole line's bidi types.
/// Raises std::bad_alloc when FriBidi cannot allocate its working memory.
void resolve_with_fribidi(std::span<const std::uint32_t> line, std::span<FriBidiCharType> types, std::size_t from,
                          FriBidiParType paragraph, std::span<std::uint8_t> levels) {
    static thread_local std::vector<FriBidiBracketType> brackets;
    static thread_local std::vector<FriBidiLevel> resolved;
    brackets.resize(line.size());
    resolved.resize(line.size());
    const auto* text = reinterpret_cast<const FriBidiChar*>(line.data());
    const auto rest = static_cast<FriBidiStrIndex>(line.size() - from);
    fribidi_get_bracket_types(text + from, rest, types.data() + from, brackets.data() + from);
    // FriBidi answers 0 only when it could not allocate its working memory.
    if (fribidi_get_par_embedding_levels_ex(types.data() + from, brackets.data() + from, rest, &paragraph,
                                            resolved.data() + from) == 0)
        throw std::bad_alloc();
    std::transform(resolved.begin() + static_cast<std::ptrdiff_t>(from), resolved.end(),
                   levels.begin() + static_cast<std::ptrdiff_t>(from),
                   [](FriBidiLevel level) { return static_cast<std::uint8_t>(std::max<FriBidiLevel>(level, 0)); });
}

/// The bidi types of every code point of `line`, in working memory kept between lines.
std::span<FriBidiCharType> bidi_types(std::span<const std::uint32_t> line) {
    static thread_local std::vector<FriBidiCharType> types;
    types.resize(line.size());
    fribidi_get_bidi_types(reinterpret_cast<const FriBidiChar*>(line.data()), static_cast<FriBidiStrIndex>(line.size()),
                           types.data());
    return types;
}

}  // namespace

bool may_hold_right_to_left(std::span<const std::uint32_t> line) {
    return std::any_of(line.begin(), line.end(), in_right_to_left_block);
}

std::vector<std::uint8_t> embedding_levels(std::span<const std::uint32_t> line) {
    std::vector<std::uint8_t> levels(line.size(), 0);
    if (line.empty()) return levels;
    // Working memory kept between lines: a line of text costs no allocation here.
    const std::span<FriBidiCharType> types = bidi_types(line);
    // FriBidi's cost grows with the changes of direction class it meets (it
    // allocates a node for each), so a prefix known to stay left to right is
    // left out of its work.
    const std::size_t prefix = left_to_right_prefix(line, types);
    if (resolve_letters_and_neutrals(line, types, prefix, levels)) return levels;
    resolve_with_fribidi(line, types, prefix, FRIBIDI_PAR_LTR, levels);
    return levels;
}

std::vector<std::uint8_t> right_to_left_paragraph_levels(std::span<const std::uint32_t> line) {
    std::vector<std::uint8_t> levels(line.size(), 1);
    if (!line.empty()) resolve_with_fribidi(line, bidi_types(line), 0, FRIBIDI_PAR_RTL, levels);
    return levels;
}

bool starts_right_to_left(std::span<const std::uint32_t> paragraph) {
    if (paragraph.empty()) return false;
    const std::span<FriBidiCharType> types = bidi_types(paragraph);
    return fribidi_get_par_direction(types.data(), static_cast<FriBidiStrIndex>(types.size())) == FRIBIDI_PAR_RTL;
}

std::vector<std::size_t> visual_order(std::span<const std::uint8_t> run_levels) {
    std::vector<std::size_t> order(run_levels.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (run_levels.empty()) return order;
    const std::uint8_t highest = *std::max_element(run_levels.begin(), run_levels.end());
    std::uint8_t lowest_odd = highest + 1;
    for (const std::uint8_t level : run_levels)
        if (is_right_to_left(level)) lowest_odd = std::min(lowest_odd, level);
    // `order` holds run indices in their current places; levels travel with them.
    for (int level = highest; level >= lowest_odd; --level) {
        for (std::size_t start = 0; start < order.size();) {
            if (run_levels[order[start]] < level) {
                ++start;
                continue;
            }
            std::size_t end = start;
            while (end < order.size() && run_levels[order[end]] >= level) ++end;
            std::reverse(order.begin() + static_cast<std::ptrdiff_t>(start), order.begin() + static_cast<std::ptrdiff_t>(end));
            start = end;
        }
    }
    return order;
}

}  // namespace lumo::render
