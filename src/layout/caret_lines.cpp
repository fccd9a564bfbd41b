// Carets of a laid-out block from its prepared lines; see caret_lines.h.
#include "layout/caret_lines.h"

#include <algorithm>
#include <cmath>

#include "render/char_categories.h"

namespace lumo::layout {
namespace {

/// Turns one prepared line, drawn from `left` on the block, into run places
/// over the text's characters [first, end), of which it drew those in `drawn`.
class RunPlacer {
public:
    RunPlacer(std::span<const TypedChar> characters, std::size_t first, std::size_t end)
        : first_(first), end_(end) {
        for (std::size_t c = first; c < end; ++c)
            if (!render::is_dropped_mark(characters[c].code)) drawn_.push_back(c);
    }

    void place(const render::PreparedLine& line, double left, std::vector<RunPlace>& places,
               std::vector<GlyphPlace>& glyphs) const {
        long pen = 0;
        for (std::size_t r = 0; r < line.runs.size() && r < line.characters.size(); ++r) {
            const shaping::PreparedRun& run = line.runs[r];
            const render::RunCharacters& text = line.characters[r];
            RunPlace place;
            place.first = character(text.visible_start, first_);
            place.end = character(text.visible_start + text.length, end_);
            place.level = text.level;
            const double run_x = left + static_cast<double>(pen);
            place.origin = run_x;
            place.advance = static_cast<double>(run.advance);
            if (run.has_picture()) {
                // Drawn by the legacy emoji engine: one surface, no glyphs.
                place.ink_left = run_x;
                place.ink_right = run_x + run.width;
            } else if (run.layout) {
                const shaping::RunLayout& layout = *run.layout;
                place.origin = run_x + layout.start_x;
                place.first_glyph = glyphs.size();
                place.glyph_count = layout.glyphs.size();
                for (const shaping::PlacedGlyph& glyph : layout.glyphs) {
                    GlyphPlace placed;
                    placed.character = character(text.visible_start + std::min<std::size_t>(glyph.cluster, text.length),
                                                 place.first);
                    placed.advance = glyph.advance;
                    if (glyph.bitmap && glyph.bitmap->width > 0) {
                        // The columns the painter writes: each rounded by adding 0.5 and truncating.
                        placed.ink_left = run_x + static_cast<double>(static_cast<long>(
                                                      glyph.glyph_x + glyph.bitmap->left + layout.start_x + 0.5));
                        placed.ink_right = placed.ink_left + glyph.bitmap->width;
                    }
                    glyphs.push_back(placed);
                }
            }
            places.push_back(std::move(place));
            pen += run.advance;
        }
    }

private:
    /// The text's character of the line's `visible`th drawn one; `otherwise`
    /// for the first (marks before it go with it) and past the last.
    std::size_t character(std::size_t visible, std::size_t otherwise) const {
        if (visible == 0 || visible >= drawn_.size()) return otherwise;
        return drawn_[visible];
    }

    std::size_t first_, end_;
    std::vector<std::size_t> drawn_;
};

/// The advances of the white space characters [first, end) that ends a line,
/// from glyphs the line drew for the same characters in the same face
/// (spaces between its words): empty when one of them is not among those.
std::vector<double> advances_drawn_alike(std::u32string_view text, std::span<const TypedChar> typed,
                                         const CaretLine& line, std::size_t first, std::size_t end) {
    auto face_of = [&](const TypedChar& character) {
        return text.substr(character.face_start, character.face_end - character.face_start);
    };
    std::vector<double> advances;
    for (std::size_t c = first; c < end; ++c) {
        if (render::is_dropped_mark(typed[c].code)) {
            advances.push_back(0.0);
            continue;
        }
        const auto alike = std::find_if(line.glyphs.begin(), line.glyphs.end(), [&](const GlyphPlace& glyph) {
            const TypedChar& drawn = typed[glyph.character];
            return drawn.code == typed[c].code && face_of(drawn) == face_of(typed[c]);
        });
        if (alike == line.glyphs.end()) return {};
        advances.push_back(alike->advance);
    }
    return advances;
}

/// A run of the white space [first, end) ending a line, `advances` wide,
/// from `left`: on the line's reading side, its first character nearest the text.
RunPlace hanging_run(std::size_t first, std::size_t end, const std::vector<double>& advances, bool right_to_left,
                     double left, std::vector<GlyphPlace>& glyphs) {
    RunPlace place;
    place.first = first;
    place.end = end;
    place.level = right_to_left ? 1 : 0;
    place.origin = left;
    place.first_glyph = glyphs.size();
    place.glyph_count = end - first;
    for (std::size_t i = 0; i < end - first; ++i) {
        const std::size_t c = right_to_left ? end - 1 - i : first + i;
        glyphs.push_back({c, advances[c - first], 0.0, 0.0});
        place.advance += advances[c - first];
    }
    return place;
}

/// The white space a line ends with, with the face tag in force, for measuring.
std::u32string trailing_markup(std::u32string_view text, std::span<const TypedChar> characters,
                               std::size_t first, std::size_t end) {
    std::u32string markup;
    const TypedChar& opening = characters[first];
    if (opening.face_end > opening.face_start) {
        markup += U'<';
        markup += text.substr(opening.face_start, opening.face_end - opening.face_start);
        markup += U"={";
    }
    for (std::size_t c = first; c < end; ++c) markup += characters[c].code;
    return markup;
}

long total_advance(const render::PreparedLine& line) {
    long total = 0;
    for (const shaping::PreparedRun& run : line.runs) total += run.advance;
    return total;
}

}  // namespace

BlockCarets block_carets(std::u32string_view text, std::span<const TypedChar> typed, std::span<const DrawnLine> lines,
                         long line_height, long ascent, const PrepareLine& prepare) {
    std::vector<CaretCharacter> characters;
    characters.reserve(typed.size());
    for (const TypedChar& character : typed)
        characters.push_back({character.code, character.start, character.end,
                              !render::is_dropped_mark(character.code) && !separates_lines(character.code)});

    std::vector<CaretLine> caret_lines;
    caret_lines.reserve(lines.size());
    for (const DrawnLine& drawn : lines) {
        const BlockLine& line = *drawn.line;
        CaretLine caret_line;
        caret_line.first = std::min(line.first, typed.size());
        caret_line.end = std::min(line.first + line.visible.size(), typed.size());
        const std::size_t shown_end = std::min(caret_line.first + line.shown, caret_line.end);
        caret_line.wrapped = line.wrapped;
        caret_line.right_to_left = line.right_to_left;
        caret_line.x = drawn.x;
        caret_line.y = drawn.y;
        caret_line.width = drawn.extent.width;
        caret_line.height = line_height;
        caret_line.baseline = drawn.y + ascent;
        caret_line.ink_top = drawn.extent.ink_top;
        caret_line.ink_bottom = drawn.extent.ink_bottom;
        const long drawn_advance = total_advance(*drawn.prepared);
        // A paragraph starts at its reading direction's side of the line.
        caret_line.start_edge = static_cast<double>(line.right_to_left ? drawn.x + drawn_advance : drawn.x);
        caret_line.end_edge = static_cast<double>(line.right_to_left ? drawn.x : drawn.x + drawn_advance);
        caret_line.runs.reserve(drawn.prepared->runs.size() + 1);
        std::size_t glyph_count = caret_line.end - shown_end;
        for (const shaping::PreparedRun& run : drawn.prepared->runs)
            if (run.layout) glyph_count += run.layout->glyphs.size();
        caret_line.glyphs.reserve(glyph_count);
        RunPlacer(typed, caret_line.first, shown_end)
            .place(*drawn.prepared, static_cast<double>(drawn.x), caret_line.runs, caret_line.glyphs);
        caret_line.drawn_runs = caret_line.runs.size();
        if (shown_end == caret_line.end) {
            caret_lines.push_back(std::move(caret_line));
            continue;
        }
        // The white space the line ends with hangs past its end, on its reading side.
        const double after_text = static_cast<double>(drawn.x + drawn_advance);
        if (const std::vector<double> advances =
                advances_drawn_alike(text, typed, caret_line, shown_end, caret_line.end);
            !advances.empty()) {
            double hanging = 0.0;
            for (double advance : advances) hanging += advance;
            const double left = line.right_to_left ? static_cast<double>(drawn.x) - hanging : after_text;
            caret_line.runs.push_back(
                hanging_run(shown_end, caret_line.end, advances, line.right_to_left, left, caret_line.glyphs));
        } else {
            // Not drawn on the line: measured as a line of its own.
            const render::PreparedLine& spaces =
                prepare(trailing_markup(text, typed, shown_end, caret_line.end), line.right_to_left);
            const long hanging = total_advance(spaces);
            const double left = line.right_to_left ? static_cast<double>(drawn.x - hanging) : after_text;
            const std::size_t drawn_runs = caret_line.runs.size();
            RunPlacer(typed, shown_end, caret_line.end).place(spaces, left, caret_line.runs, caret_line.glyphs);
            if (caret_line.runs.size() == drawn_runs) {
                // Nothing to shape (tabs alone): the white space takes no room.
                RunPlace none;
                none.first = shown_end;
                none.end = caret_line.end;
                none.level = line.right_to_left ? 1 : 0;
                none.origin = left;
                none.advance = 0.0;
                caret_line.runs.push_back(std::move(none));
            }
        }
        caret_lines.push_back(std::move(caret_line));
    }
    return BlockCarets(std::move(characters), text.size(), std::move(caret_lines));
}

BlockCarets block_carets(const LaidOutBlock& block, const PrepareLine& prepare) {
    std::vector<DrawnLine> drawn;
    drawn.reserve(block.lines.size());
    for (std::size_t i = 0; i < block.lines.size(); ++i)
        drawn.push_back({&block.breaks[i], block.lines[i].get(), block.drawing.lines[i].x + block.frame.text_x,
                         block.drawing.lines[i].y + block.frame.text_y, block.extents[i]});
    return block_carets(block.text, block.characters, drawn, block.line_height, block.drawing.baseline, prepare);
}

}  // namespace lumo::layout
