// Character boxes from the glyphs of a line's runs; see character_boxes.h.
#include "layout/character_boxes.h"

#include <algorithm>

namespace lumo::layout {

void ClusterExtent::include(double pen_left, double pen_right, double glyph_ink_left, double glyph_ink_right) {
    if (!seen) {
        left = ink_left = std::min(pen_left, pen_right);
        right = ink_right = std::max(pen_left, pen_right);
        seen = true;
    }
    left = std::min({left, pen_left, pen_right});
    right = std::max({right, pen_left, pen_right});
    ink_left = std::min(ink_left, left);
    ink_right = std::max(ink_right, right);
    if (glyph_ink_left < glyph_ink_right) {
        ink_left = std::min(ink_left, glyph_ink_left);
        ink_right = std::max(ink_right, glyph_ink_right);
    }
}

namespace {

/// Shares a cluster's room evenly between the grapheme clusters of its drawn
/// characters [first, end), the first at its leading edge; each character
/// of a grapheme gets the grapheme's share. The outermost shares also cover
/// the ink that reaches past the room.
void share_cluster(std::size_t first, std::size_t end, const ClusterExtent& extent, std::uint8_t level,
                   const CharacterFlags& flags, std::vector<CharacterBox>& boxes) {
    if (end == first + 1 && flags.drawn[first]) {
        // Most clusters: one character with the whole room.
        boxes[first] = {extent.left, extent.right, extent.ink_left, extent.ink_right, level};
        return;
    }
    const bool right_to_left = (level & 1) != 0;
    std::size_t graphemes = 0;
    bool any_drawn = false;
    for (std::size_t c = first; c < end; ++c) {
        if (!flags.drawn[c]) continue;
        if (!any_drawn || flags.grapheme_boundaries[c]) ++graphemes;
        any_drawn = true;
    }
    const double share = graphemes > 0 ? (extent.right - extent.left) / static_cast<double>(graphemes) : 0.0;
    auto share_left = [&](std::size_t k) {
        return right_to_left ? extent.right - static_cast<double>(k + 1) * share
                             : extent.left + static_cast<double>(k) * share;
    };
    std::size_t grapheme = 0;
    bool started = false;
    for (std::size_t c = first; c < end; ++c) {
        CharacterBox& box = boxes[c];
        box.level = level;
        if (!flags.drawn[c]) {
            // No width: after the drawn character before it in the cluster.
            const double x = !started ? (right_to_left ? extent.right : extent.left)
                                      : (right_to_left ? share_left(grapheme) : share_left(grapheme) + share);
            box.left = box.right = box.ink_left = box.ink_right = x;
            continue;
        }
        if (started && flags.grapheme_boundaries[c]) ++grapheme;
        started = true;
        box.left = share_left(grapheme);
        box.right = box.left + share;
        const bool leftmost = right_to_left ? grapheme + 1 == graphemes : grapheme == 0;
        const bool rightmost = right_to_left ? grapheme == 0 : grapheme + 1 == graphemes;
        box.ink_left = leftmost ? extent.ink_left : box.left;
        box.ink_right = rightmost ? extent.ink_right : box.right;
    }
}

/// Boxes for one run's characters, clusters taken from its glyphs.
void place_run(const RunPlace& run, std::span<const GlyphPlace> glyphs, std::size_t first, std::size_t end,
               const CharacterFlags& flags, CharacterScratch& scratch, std::vector<CharacterBox>& boxes) {
    if (glyphs.empty()) {
        ClusterExtent whole;
        whole.include(run.origin, run.origin + run.advance, run.ink_left, run.ink_right);
        share_cluster(first, end, whole, run.level, flags, boxes);
        return;
    }
    // Each cluster runs from its first character to the next cluster's; the
    // first holds any characters before it too (marks without glyphs).
    std::vector<std::size_t>& starts = scratch.starts;
    std::vector<ClusterExtent>& extents = scratch.extents;
    starts.clear();
    for (const GlyphPlace& glyph : glyphs) starts.push_back(std::clamp(glyph.character, first, end - 1));
    // HarfBuzz gives the clusters of a run in order, backwards when it reads right to left.
    if (!starts.empty() && starts.front() > starts.back()) std::reverse(starts.begin(), starts.end());
    if (!std::is_sorted(starts.begin(), starts.end())) std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    starts.front() = first;
    extents.assign(starts.size(), ClusterExtent{});
    double pen = run.origin;
    for (const GlyphPlace& glyph : glyphs) {
        const std::size_t character = std::clamp(glyph.character, first, end - 1);
        const std::size_t cluster =
            static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), character) - starts.begin()) - 1;
        extents[cluster].include(pen, pen + glyph.advance, glyph.ink_left, glyph.ink_right);
        pen += glyph.advance;
    }
    for (std::size_t k = 0; k < starts.size(); ++k)
        share_cluster(starts[k], k + 1 < starts.size() ? starts[k + 1] : end, extents[k], run.level, flags, boxes);
}

}  // namespace

void place_characters(std::span<const RunPlace> runs, std::span<const GlyphPlace> glyphs, const CharacterFlags& flags,
                      std::size_t first, std::size_t end, double edge, std::uint8_t paragraph_level,
                      CharacterScratch& scratch, std::vector<CharacterBox>& boxes) {
    std::vector<std::uint8_t>& placed = scratch.placed;
    placed.assign(end - first, 0);
    for (const RunPlace& run : runs) {
        const std::size_t run_first = std::clamp(run.first, first, end);
        const std::size_t run_end = std::clamp(run.end, run_first, end);
        if (run_first == run_end) continue;
        const std::size_t glyph_start = std::min(run.first_glyph, glyphs.size());
        place_run(run, glyphs.subspan(glyph_start, std::min(run.glyph_count, glyphs.size() - glyph_start)), run_first,
                  run_end, flags, scratch, boxes);
        std::fill(placed.begin() + static_cast<std::ptrdiff_t>(run_first - first),
                  placed.begin() + static_cast<std::ptrdiff_t>(run_end - first), 1);
    }
    for (std::size_t c = first; c < end; ++c) {
        if (placed[c - first]) continue;
        CharacterBox& box = boxes[c];
        box.left = box.right = box.ink_left = box.ink_right = edge;
        box.level = paragraph_level;
    }
}

}  // namespace lumo::layout
