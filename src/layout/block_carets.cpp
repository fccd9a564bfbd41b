// Carets, hit tests, selections and caret motion; see block_carets.h.
#include "layout/block_carets.h"

#include <algorithm>
#include <cmath>

#include "layout/text_boundaries.h"
#include "render/char_categories.h"

namespace lumo::layout {

BlockCarets::BlockCarets(std::vector<CaretCharacter> characters, std::size_t text_length,
                         std::vector<CaretLine> lines)
    : characters_(std::move(characters)), text_length_(text_length), lines_(std::move(lines)) {
    if (lines_.empty()) lines_.push_back(CaretLine{});
    std::u32string codes;
    codes.reserve(characters_.size());
    std::vector<bool> drawn;
    drawn.reserve(characters_.size());
    for (const CaretCharacter& character : characters_) {
        codes.push_back(character.code);
        drawn.push_back(character.drawn);
    }
    graphemes_ = grapheme_boundaries(codes);
    boxes_.resize(characters_.size());
    const CharacterFlags flags{graphemes_, drawn};
    CharacterScratch scratch;
    line_starts_.reserve(lines_.size());
    for (CaretLine& line : lines_) {
        line.end = std::min(line.end, characters_.size());
        line.first = std::min(line.first, line.end);
        place_characters(line.runs, line.glyphs, flags, line.first, line.end, line.start_edge,
                         line.right_to_left ? 1 : 0, scratch, boxes_);
        // The glyphs have given what the boxes need; painting by cluster keeps their characters.
        line.drawn_runs = std::min(line.drawn_runs, line.runs.size());
        line.drawn.resize(line.drawn_runs);
        for (std::size_t r = 0; r < line.drawn_runs; ++r) {
            const RunPlace& run = line.runs[r];
            line.drawn[r].first = run.first;
            const std::size_t end = std::min(run.first_glyph + run.glyph_count, line.glyphs.size());
            for (std::size_t g = std::min(run.first_glyph, end); g < end; ++g)
                line.drawn[r].glyph_characters.push_back(line.glyphs[g].character);
        }
        line.runs = {};
        line.glyphs = {};
        line_starts_.push_back(line_starts_.empty() ? 0 : std::max(line_starts_.back(), index_of(line.first)));
    }
}

std::pair<std::size_t, std::size_t> BlockCarets::line_range(std::size_t number) const {
    const CaretLine& line = lines_[number];
    if (number + 1 == lines_.size()) return {line_starts_[number], text_length_};
    if (line.wrapped || line.end >= characters_.size()) return {line_starts_[number], line_starts_[number + 1]};
    return {line_starts_[number], characters_[line.end].start};  // up to its paragraph's separator
}

std::size_t BlockCarets::position_of(std::size_t index) const {
    return static_cast<std::size_t>(
        std::partition_point(characters_.begin(), characters_.end(),
                             [index](const CaretCharacter& character) { return character.start < index; }) -
        characters_.begin());
}

std::size_t BlockCarets::index_of(std::size_t position) const {
    if (position == 0) return 0;
    if (position >= characters_.size()) return text_length_;
    return characters_[position - 1].end;
}

std::size_t BlockCarets::grapheme_start(std::size_t position) const {
    position = std::min(position, characters_.size());
    while (position > 0 && !graphemes_[position]) --position;
    return position;
}

std::size_t BlockCarets::line_of(std::size_t index) const {
    const auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), index);
    return after == line_starts_.begin() ? 0 : static_cast<std::size_t>(after - line_starts_.begin()) - 1;
}

double BlockCarets::caret_at(const CaretLine& line, std::size_t position, bool weak) const {
    position = std::clamp(position, line.first, line.end);
    const CharacterBox* before = position > line.first ? &boxes_[position - 1] : nullptr;
    const CharacterBox* after = position < line.end ? &boxes_[position] : nullptr;
    // A character of the paragraph's own level touches the line's edge; one
    // embedded deeper (digits in right-to-left text) may not.
    const std::uint8_t paragraph_level = line.right_to_left ? 1 : 0;
    // Neighbours of one level have one caret between them, wherever each was drawn.
    if (weak && before && after && before->level == after->level) weak = false;
    if (weak) {
        if (after) return after->leading();
        return before && before->level == paragraph_level ? before->trailing() : line.end_edge;
    }
    if (before) return before->trailing();
    return after && after->level == paragraph_level ? after->leading() : line.start_edge;
}

double BlockCarets::caret_x(std::size_t index, bool weak) const {
    index = std::min(index, text_length_);
    const CaretLine& line = lines_[line_of(index)];
    return caret_at(line, std::max(line.first, grapheme_start(position_of(index))), weak);
}

PixelRect BlockCarets::caret(std::size_t index, bool weak) const {
    const CaretLine& line = lines_[line_of(std::min(index, text_length_))];
    return {std::lround(caret_x(index, weak)), line.y, 1, line.height};
}

std::size_t BlockCarets::position_on(const CaretLine& line, double x) const {
    std::size_t best = line.first;
    double best_distance = INFINITY;
    double leftmost = INFINITY, rightmost = -INFINITY;
    for (std::size_t start = line.first; start < line.end;) {
        std::size_t end = start + 1;
        while (end < line.end && !graphemes_[end]) ++end;
        double left = boxes_[start].left, right = boxes_[start].right;
        for (std::size_t c = start + 1; c < end; ++c) {
            left = std::min(left, boxes_[c].left);
            right = std::max(right, boxes_[c].right);
        }
        const bool right_to_left = boxes_[start].right_to_left();
        const std::size_t at_left = right_to_left ? end : start;
        const std::size_t at_right = right_to_left ? start : end;
        if (left <= x && x < right) {
            best = x < (left + right) / 2 ? at_left : at_right;
            best_distance = 0.0;
            break;
        }
        if (std::abs(x - left) < best_distance) best_distance = std::abs(x - left), best = at_left;
        if (std::abs(x - right) < best_distance) best_distance = std::abs(x - right), best = at_right;
        leftmost = std::min(leftmost, left);
        rightmost = std::max(rightmost, right);
        start = end;
    }
    // Beside the line: its start on the side its paragraph starts from, else its end.
    if (best_distance > 0.0 && (x < leftmost || x >= rightmost))
        best = (x < leftmost) != line.right_to_left ? line.first : line.end;
    // The end of a wrapped line is where the next line starts: a point past it
    // stays on this line, before the grapheme (its space) that ends it.
    if (best == line.end && line.wrapped && line.end > line.first) best = grapheme_start(line.end - 1);
    return best;
}

std::size_t BlockCarets::index_at(double x, double y) const {
    const auto below = std::upper_bound(lines_.begin(), lines_.end(), y,
                                        [](double row, const CaretLine& line) { return row < line.y; });
    std::size_t number = below == lines_.begin() ? 0 : static_cast<std::size_t>(below - lines_.begin()) - 1;
    if (number + 1 < lines_.size()) {
        const CaretLine& line = lines_[number];
        const CaretLine& next = lines_[number + 1];
        if (y >= line.y + line.height && next.y - y < y - (line.y + line.height)) ++number;
    }
    return index_of(position_on(lines_[number], x));
}

std::vector<PixelRect> BlockCarets::selection(std::size_t start, std::size_t end) const {
    if (start > end) std::swap(start, end);
    const std::size_t first = position_of(start), last = position_of(end);
    std::vector<PixelRect> rects;
    if (first >= last) return rects;
    for (std::size_t number = line_of(start); number < lines_.size(); ++number) {
        const CaretLine& line = lines_[number];
        if (line.first >= last) break;
        std::vector<std::pair<double, double>> spans;
        for (std::size_t c = std::max(first, line.first); c < std::min(last, line.end); ++c)
            if (boxes_[c].ink_left < boxes_[c].ink_right) spans.emplace_back(boxes_[c].ink_left, boxes_[c].ink_right);
        std::sort(spans.begin(), spans.end());
        const long top = line.y + std::min(0L, line.ink_top);
        const long bottom = line.y + std::max(line.height, line.ink_bottom);
        for (std::size_t i = 0; i < spans.size();) {
            double left = spans[i].first, right = spans[i].second;
            // Neighbours on screen make one rectangle: runs sit on whole pixels.
            for (++i; i < spans.size() && spans[i].first <= right + 1.0; ++i) right = std::max(right, spans[i].second);
            const long x = std::lround(left);
            rects.push_back({x, top, std::max(1L, std::lround(right) - x), bottom - top});
        }
    }
    return rects;
}

std::size_t BlockCarets::next_caret(std::size_t index) const {
    if (index >= text_length_) return text_length_;
    for (std::size_t position = position_of(index); position <= characters_.size(); ++position)
        if (graphemes_[position] && index_of(position) > index) return index_of(position);
    return text_length_;
}

std::size_t BlockCarets::prev_caret(std::size_t index) const {
    index = std::min(index, text_length_);
    for (std::size_t position = position_of(index) + 1; position-- > 0;)
        if (graphemes_[position] && index_of(position) < index) return index_of(position);
    return 0;
}

std::vector<std::size_t> BlockCarets::visual_stops(std::size_t line_number) const {
    const CaretLine& line = lines_[line_number];
    // The end of a wrapped line is the next line's start.
    const std::size_t last = line.wrapped && line.end > line.first ? line.end - 1 : line.end;
    std::vector<std::pair<double, std::size_t>> stops;
    for (std::size_t position = line.first; position <= last; ++position)
        if (graphemes_[position] || position == line.first || position == line.end)
            stops.emplace_back(caret_at(line, position, false), position);
    // Positions that share a place (characters without width) keep their reading order.
    std::stable_sort(stops.begin(), stops.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return line.right_to_left ? a.second > b.second : a.second < b.second;
    });
    std::vector<std::size_t> positions;
    positions.reserve(stops.size());
    for (const auto& stop : stops) positions.push_back(stop.second);
    return positions;
}

std::size_t BlockCarets::move_visually(std::size_t index, long steps) const {
    index = std::min(index, text_length_);
    const bool rightwards = steps > 0;
    // Steps within a line are taken at once and each line is read once, however many steps are asked.
    unsigned long remaining = steps < 0 ? 0UL - static_cast<unsigned long>(steps) : static_cast<unsigned long>(steps);
    while (remaining > 0) {
        const std::size_t number = line_of(index);
        const CaretLine& line = lines_[number];
        const std::vector<std::size_t> stops = visual_stops(number);
        const std::size_t position = std::clamp(grapheme_start(position_of(index)), line.first, line.end);
        auto at = std::find(stops.begin(), stops.end(), position);
        if (at == stops.end()) {
            // Not a stop of its own (inside a cluster split by a line): the stop nearest its caret.
            const double x = caret_at(line, position, false);
            at = std::min_element(stops.begin(), stops.end(), [&](std::size_t a, std::size_t b) {
                return std::abs(caret_at(line, a, false) - x) < std::abs(caret_at(line, b, false) - x);
            });
        }
        const std::size_t from = static_cast<std::size_t>(at - stops.begin());
        const std::size_t room = rightwards ? stops.size() - 1 - from : from;
        if (remaining <= room) {
            const std::size_t to = rightwards ? from + remaining : from - remaining;
            return index_of(stops[to]);
        }
        remaining -= room + 1;
        // Past the line's end in its reading direction: the next line's start;
        // past its start: the previous line's end. The text's ends stop it.
        const bool onwards = rightwards != line.right_to_left;
        if (onwards && number + 1 < lines_.size()) {
            index = line_starts_[number + 1];
        } else if (!onwards && number > 0) {
            const std::vector<std::size_t> previous = visual_stops(number - 1);
            index = index_of(*std::max_element(previous.begin(), previous.end()));
        } else {
            return index_of(stops[rightwards ? stops.size() - 1 : 0]);
        }
    }
    return index;
}

std::size_t BlockCarets::move_vertically(std::size_t index, long lines, std::optional<double> x) const {
    index = std::min(index, text_length_);
    const long count = static_cast<long>(lines_.size());
    const long target = static_cast<long>(line_of(index)) + std::clamp(lines, -count, count);
    if (target < 0) return 0;
    if (target >= static_cast<long>(lines_.size())) return text_length_;
    return index_of(position_on(lines_[static_cast<std::size_t>(target)], x ? *x : caret_x(index)));
}

bool BlockCarets::is_word(std::size_t start, std::size_t end) const {
    for (std::size_t c = start; c < end; ++c) {
        const std::string_view category = render::general_category(characters_[c].code);
        if (category[0] == 'L' || category[0] == 'N' || category == "So") return true;
    }
    return false;
}

std::pair<std::size_t, std::size_t> BlockCarets::word_at(std::size_t index) const {
    const std::size_t count = characters_.size();
    if (count == 0) return {0, text_length_};
    if (words_.empty()) {
        std::u32string codes;
        codes.reserve(count);
        for (const CaretCharacter& character : characters_) codes.push_back(character.code);
        words_ = word_boundaries(codes);
    }
    const std::size_t position = std::min(position_of(std::min(index, text_length_)), count);
    std::pair<std::size_t, std::size_t> segment;
    if (position == count) {
        segment = segment_around(words_, count - 1);
    } else {
        segment = segment_around(words_, position);
        if (position > 0 && segment.first == position && !is_word(segment.first, segment.second)) {
            const auto before = segment_around(words_, position - 1);
            if (is_word(before.first, before.second)) segment = before;
        }
    }
    return {index_of(segment.first), index_of(segment.second)};
}

}  // namespace lumo::layout
