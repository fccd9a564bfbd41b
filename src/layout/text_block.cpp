// Breaking a block of text into lines and placing them; see text_block.h.
#include "layout/text_block.h"

#include <algorithm>
#include <cmath>

#include "layout/line_breaks.h"
#include "render/char_categories.h"
#include "render/markup.h"
#include "render/run_direction.h"

namespace lumo::layout {

std::vector<TypedChar> typed_characters(std::u32string_view text,
                                        const std::function<bool(char32_t)>& is_palette_key) {
    std::vector<TypedChar> chars;
    chars.reserve(text.size());
    render::MarkupLexer lexer(text, is_palette_key);
    render::MarkupToken token;
    std::optional<char32_t> colour;
    std::size_t face_start = 0, face_end = 0;
    const bool markup = static_cast<bool>(is_palette_key);
    while (true) {
        // Characters that cannot begin a tag are characters: most of a text.
        // Each is written field by field where it lies: a whole record built
        // aside and copied in was read back before its parts were stored,
        // which stalled every character.
        std::size_t at = lexer.position();
        for (; at < text.size() && !(markup && render::may_begin_tag(text[at])); ++at) {
            TypedChar& typed = chars.emplace_back();
            typed.code = text[at];
            typed.start = at;
            typed.end = at + 1;
            typed.colour = colour;
            typed.face_start = face_start;
            typed.face_end = face_end;
        }
        lexer.skip_to(at);
        if (!lexer.next(token)) break;
        switch (token.kind) {
        case render::MarkupKind::colour_tag:
            colour = token.code == U'r' ? std::nullopt : std::optional<char32_t>(token.code);
            break;
        case render::MarkupKind::face_open:
            face_start = token.word_start;
            face_end = token.word_end;
            break;
        case render::MarkupKind::face_close: face_start = face_end = 0; break;
        case render::MarkupKind::character:
            chars.push_back({token.code, token.start, token.end, colour, face_start, face_end});
            break;
        }
    }
    return chars;
}

bool separates_lines(char32_t code) {
    return code == U'\n' || code == U'\r' || code == 0x0B || code == 0x0C || code == 0x85 || code == 0x2028 ||
           code == 0x2029;
}

namespace {

bool may_hold_right_to_left(std::u32string_view text) {
    return render::may_hold_right_to_left(
        std::span<const std::uint32_t>(reinterpret_cast<const std::uint32_t*>(text.data()), text.size()));
}

/// Breaks one paragraph; see break_into_lines.
class ParagraphBreaker {
public:
    /// `visible` holds the code of each of `chars`, which start at the text's character `first`.
    ParagraphBreaker(std::u32string_view text, std::span<const TypedChar> chars, std::size_t first,
                     std::u32string visible, bool right_to_left, LineWidths& widths)
        : text_(text), chars_(chars), first_(first), right_to_left_(right_to_left), widths_(widths),
          visible_(std::move(visible)), runs_add_up_(!right_to_left && !may_hold_right_to_left(visible_)) {}

    void break_lines(long wraplength, std::vector<BlockLine>& out) {
        const std::size_t count = chars_.size();
        if (count == 0 || wraplength <= 0) {
            add_line(0, count, out);
            return;
        }
        const std::vector<bool> allowed = break_opportunities(visible_);
        std::vector<std::size_t> ends;  // where a line may end: after these many characters
        for (std::size_t i = 0; i < count; ++i)
            if (allowed[i]) ends.push_back(i + 1);
        if (ends.empty() || ends.back() != count) ends.push_back(count);
        // A guess of the width per character says where each line ends; the
        // guess is then corrected by measuring, usually twice a line. The
        // first guess comes from a sample at the paragraph's start rather than
        // the whole paragraph, which would be shaped once more only for it;
        // each line measured refines it.
        auto sample = std::upper_bound(ends.begin(), ends.end(), kGuessSample);
        const std::size_t sample_end = sample == ends.begin() ? ends.front() : *std::prev(sample);
        double per_char = per_char_of(measure(0, sample_end), sample_end);
        std::size_t start = 0;
        auto first_end = ends.begin();
        while (start < count) {
            first_end = std::upper_bound(first_end, ends.end(), start);
            const auto target = start + static_cast<std::size_t>(static_cast<double>(wraplength) / per_char);
            auto guess = std::upper_bound(first_end, ends.end(), target);
            if (guess != first_end) --guess;
            long width = 0;
            const auto end = last_fitting(first_end, guess, ends.end(), start, wraplength, width);
            add_line(start, *end, out);
            if (width > 0) per_char = per_char_of(width, *end - start);
            start = *end;
        }
    }

private:
    using EndIterator = std::vector<std::size_t>::const_iterator;

    /// Characters measured for the first guess of a paragraph's width per character.
    static constexpr std::size_t kGuessSample = 64;

    static double per_char_of(long width, std::size_t characters) {
        return std::max(1e-3, static_cast<double>(width) / static_cast<double>(std::max<std::size_t>(characters, 1)));
    }

    /// The last end in [first, last) whose line from `start` is no wider than
    /// `wraplength` (`first` when none is), searched from `guess`: a step
    /// either way, then doubling steps and halving between the last end that
    /// fits and the first that does not. Widths grow with the line, so this
    /// is the end a walk from `first` would find, in a few measurements
    /// however far off the guess is. `width` is the found line's width.
    EndIterator last_fitting(EndIterator first, EndIterator guess, EndIterator last, std::size_t start,
                             long wraplength, long& width) {
        EndIterator fitting, too_wide;  // fitting < too_wide, too_wide may be `last`
        bool have_fitting = false;
        auto fits = [&](EndIterator candidate, long& measured) {
            measured = have_fitting && candidate > fitting ? measure_past(start, *fitting, *candidate)
                                                           : measure(start, *candidate);
            return measured <= wraplength;
        };
        long measured = 0;
        if (fits(guess, measured)) {
            have_fitting = true;
            fitting = guess;
            width = measured;
            std::ptrdiff_t step = 1;
            too_wide = last;
            while (last - fitting > step) {
                const EndIterator next = fitting + step;
                if (!fits(next, measured)) {
                    too_wide = next;
                    break;
                }
                fitting = next;
                width = measured;
                step *= 2;
            }
            if (too_wide == last && fitting + 1 != last) {
                // Past every doubling step: the last end is the one left to try.
                if (fits(last - 1, measured)) {
                    width = measured;
                    return last - 1;
                }
                too_wide = last - 1;
            }
        } else {
            too_wide = guess;
            std::ptrdiff_t step = 1;
            for (;;) {
                if (too_wide == first) {
                    // Even the first word is too wide: it makes a line alone.
                    width = measured;
                    return first;
                }
                const EndIterator back = too_wide - std::min(step, too_wide - first);
                if (fits(back, measured)) {
                    fitting = back;
                    have_fitting = true;
                    width = measured;
                    break;
                }
                too_wide = back;
                step *= 2;
            }
        }
        while (too_wide - fitting > 1) {
            const EndIterator middle = fitting + (too_wide - fitting) / 2;
            if (fits(middle, measured)) {
                fitting = middle;
                width = measured;
            } else {
                too_wide = middle;
            }
        }
        return fitting;
    }

    /// The characters [start, end) without the white space they end with.
    std::size_t shown_end(std::size_t start, std::size_t end) const {
        while (end > start && is_trailing_space(chars_[end - 1].code)) --end;
        return end;
    }

    std::u32string markup(std::size_t start, std::size_t end) const {
        std::u32string line;
        if (start >= end) return line;
        const TypedChar& first = chars_[start];
        if (first.face_end > first.face_start) {
            line += U'<';
            line += text_.substr(first.face_start, first.face_end - first.face_start);
            line += U"={";
        }
        if (first.colour) {
            line += U'^';
            line += *first.colour;
        }
        line += text_.substr(first.start, chars_[end - 1].end - first.start);
        return line;
    }

    long measure(std::size_t start, std::size_t end) {
        const std::size_t shown = shown_end(start, end);
        if (shown == start) return 0;
        return widths_.width(markup(start, shown), right_to_left_);
    }

    /// The width of the line [start, end) from that of the line [start, known)
    /// and of the rest, when the line breaks into runs at a space between
    /// them: a space takes a run of its own, so the runs of the whole line are
    /// those of its two parts, and its advance their sum. The rest is a few
    /// words where the whole line is dozens. Otherwise measured whole.
    long measure_past(std::size_t start, std::size_t known, std::size_t end) {
        const std::size_t known_shown = shown_end(start, known), shown = shown_end(start, end);
        // The space starts a run unless what it follows is drawn as spaces
        // are (a no-break space, or spaces before a mark that is not drawn).
        std::size_t last_drawn = known_shown;
        while (last_drawn > start && render::is_dropped_mark(chars_[last_drawn - 1].code)) --last_drawn;
        if (runs_add_up_ && last_drawn > start && shown > known_shown && chars_[known_shown].code == U' ' &&
            chars_[last_drawn - 1].code != U' ' && chars_[last_drawn - 1].code != 0xA0) {
            const std::optional<LineAdvance> head = widths_.advance(markup(start, known_shown), right_to_left_);
            const std::optional<LineAdvance> rest =
                head ? widths_.advance(markup(known_shown, shown), right_to_left_) : std::nullopt;
            if (head && rest && head->runs > 0 && rest->runs > 0)
                return std::max(1L, head->total + rest->total) + rest->last_reach;
        }
        return measure(start, end);
    }

    void add_line(std::size_t start, std::size_t end, std::vector<BlockLine>& out) const {
        const std::size_t shown = shown_end(start, end);
        out.push_back({markup(start, shown), visible_.substr(start, end - start), right_to_left_, first_ + start,
                       shown - start, end < chars_.size()});
    }

    std::u32string_view text_;
    std::span<const TypedChar> chars_;
    std::size_t first_;
    bool right_to_left_;
    LineWidths& widths_;
    std::u32string visible_;
    bool runs_add_up_;  // left to right throughout: no level reorders runs
};

}  // namespace

std::vector<BlockLine> break_into_lines(std::u32string_view text, Direction direction, long wraplength,
                                        LineWidths& widths, const std::function<bool(char32_t)>& is_palette_key) {
    return break_into_lines(text, typed_characters(text, is_palette_key), direction, wraplength, widths);
}

std::vector<BlockLine> break_into_lines(std::u32string_view text, std::span<const TypedChar> chars,
                                        Direction direction, long wraplength, LineWidths& widths) {
    std::vector<BlockLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= chars.size(); ++i) {
        const bool ends_paragraph = i == chars.size() || separates_lines(chars[i].code);
        if (!ends_paragraph) continue;
        const std::span<const TypedChar> paragraph(chars.data() + start, i - start);
        std::u32string visible;
        visible.reserve(paragraph.size());
        for (const TypedChar& typed : paragraph) visible.push_back(typed.code);
        const bool right_to_left =
            direction == Direction::right_to_left ||
            (direction == Direction::from_text &&
             render::starts_right_to_left({reinterpret_cast<const std::uint32_t*>(visible.data()), visible.size()}));
        ParagraphBreaker(text, paragraph, start, std::move(visible), right_to_left, widths)
            .break_lines(wraplength, lines);
        // "\r\n" separates one paragraph from the next, as "\n" alone does.
        if (i < chars.size() && chars[i].code == U'\r' && i + 1 < chars.size() && chars[i + 1].code == U'\n') ++i;
        start = i + 1;
    }
    return lines;
}

BlockGeometry place_lines(std::span<const LineExtent> extents, std::span<const BlockLine> lines, Align align,
                          long wraplength, long line_height, double line_spacing) {
    BlockGeometry block;
    const double step = static_cast<double>(line_height) * line_spacing;
    long widest = 0, top = 0, bottom = 0;
    std::vector<long> line_tops(extents.size());
    for (std::size_t i = 0; i < extents.size(); ++i) {
        line_tops[i] = std::lround(static_cast<double>(i) * step);
        widest = std::max(widest, extents[i].width);
        top = std::min(top, line_tops[i] + extents[i].ink_top);
        bottom = std::max({bottom, line_tops[i] + line_height, line_tops[i] + extents[i].ink_bottom});
    }
    block.width = std::max(1L, widest);
    if (wraplength > 0 && (align == Align::center || align == Align::right))
        block.width = std::max(block.width, wraplength);
    block.height = std::max(1L, bottom - top);
    for (std::size_t i = 0; i < extents.size(); ++i) {
        const long room = block.width - extents[i].width;
        const bool rightwards = align == Align::right || (align == Align::start && lines[i].right_to_left);
        block.x.push_back(rightwards ? room : align == Align::center ? room / 2 : 0);
        block.y.push_back(line_tops[i] - top);
    }
    return block;
}

}  // namespace lumo::layout
