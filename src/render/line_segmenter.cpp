// Cutting a line into pieces; see line_segmenter.h.
#include "render/line_segmenter.h"

#include <array>
#include <optional>
#include <utility>

#include "font/emoji_ranges.h"
#include "render/char_categories.h"
#include "render/markup.h"
#include "render/run_direction.h"
#include "render/script_groups.h"

namespace lumo::render {

bool is_keycap_sequence_at(std::u32string_view line, std::size_t i) {
    if (!font::is_keycap_base(line[i])) return false;
    std::size_t next = i + 1;
    if (next < line.size() && line[next] == 0xFE0F) ++next;
    return next < line.size() && line[next] == font::kCombiningKeycap;
}

namespace {

class Segmenter {
public:
    Segmenter(std::u32string_view line, SegmentationHost& host, bool markup)
        : line_(line), host_(host), markup_(markup), colour_(host.call_colour()), face_(host.call_face()) {
        result_.visible.reserve(line.size());
    }

    SegmentedLine run() && {
        std::function<bool(char32_t)> is_palette_key;
        if (markup_) is_palette_key = [this](char32_t key) { return host_.is_palette_key(key); };
        MarkupLexer lexer(line_, std::move(is_palette_key));
        MarkupToken token;
        while (true) {
            std::size_t at = lexer.position();
            for (; at < line_.size() && is_plain_at(at); ++at) place_plain(line_[at]);
            lexer.skip_to(at);
            if (!lexer.next(token)) break;
            switch (token.kind) {
            case MarkupKind::colour_tag: colour_tag(token.code); break;
            case MarkupKind::face_open: face_open_tag(token); break;
            case MarkupKind::face_close: face_close_tag(); break;
            case MarkupKind::character:
                if (!is_dropped_mark(token.code))
                    place(token.code, is_keycap_sequence_at(line_, token.start) && host_.emoji_draws_keycap(),
                          font::requested_presentation(line_, token.start));
                break;
            }
        }
        flush();
        return std::move(result_);
    }

private:
    /// Whether the character at `i` is printable ASCII that no tag, keycap,
    /// variation selector or joiner around it concerns: most of most lines.
    /// Such characters skip the lexer and the emoji checks, which cost more
    /// than the rest of their placing; what they would answer is known.
    bool is_plain_at(std::size_t i) const {
        const char32_t code = line_[i];
        if (code < 0x20 || code > 0x7E) return false;
        if (markup_ && may_begin_tag(code)) return false;
        return (i == 0 || line_[i - 1] < 0x80) && (i + 1 == line_.size() || line_[i + 1] < 0x80);
    }

    void flush() {
        if (result_.visible.size() == piece_start_) return;
        result_.pieces.push_back({piece_start_, result_.visible.size() - piece_start_, *last_font_, colour_, group_,
                                  face_});
        piece_start_ = result_.visible.size();
    }

    /// A colour tag: the palette's colour from here on, or the call's for "^r".
    void colour_tag(char32_t key) {
        flush();
        colour_ = key == U'r' ? host_.call_colour() : host_.palette_colour(key);
    }

    /// "<word={": the face changes until "}>".
    void face_open_tag(const MarkupToken& token) {
        flush();
        face_ = host_.open_face(line_.substr(token.word_start, token.word_end - token.word_start));
        change_face();
    }

    void face_close_tag() {
        flush();
        face_ = host_.call_face();
        change_face();
    }

    void change_face() {
        remembered_.fill(std::nullopt);
        last_font_.reset();
    }

    /// place() for a character is_plain_at() lets through: printable ASCII
    /// is no mark, keycap or emoji, and of no script group but the space's.
    void place_plain(char32_t code) {
        int font;
        if (code == 0x20) {
            font = host_.fallback_font(face_);
        } else if (remembered_[code]) {
            font = *remembered_[code];
        } else {
            font = host_.font_for(code, face_, font::Presentation::by_default);
            remembered_[code] = font;
        }
        join(code, font, code == 0x20 ? 0 : kOtherScripts);
    }

    /// Adds `code` drawn with `font` in `group`: to the current piece, or to a
    /// new one where the font or the group changes.
    void join(char32_t code, int font, int group) {
        if (result_.visible.size() == piece_start_) {
            group_ = group;
        } else if ((font != *last_font_ && !host_.same_font(font, *last_font_)) || group != group_) {
            flush();
            group_ = group;
        }
        result_.visible.push_back(code);
        last_font_ = font;
    }

    void place(char32_t code, bool keycap, font::Presentation presentation) {
        int group = classify_script(code);
        const bool inheritable = code >= 0x80 && (is_mark(code) || is_format(code));  // none below
        int font;
        if (keycap) {
            font = host_.emoji_font();
        } else if (inheritable && last_font_ && !host_.is_no_font(*last_font_) && group_ != 0) {
            // Marks and joiners stay with the character they belong to.
            font = *last_font_;
            group = group_;
        } else if (code == 0x20 || code == 0xA0) {
            font = host_.fallback_font(face_);
        } else if (presentation != font::Presentation::by_default) {
            font = host_.font_for(code, face_, presentation);
        } else if (code < kRememberedCodes && remembered_[code]) {
            // Asked before in this face during this line: the answer cannot have changed.
            font = *remembered_[code];
        } else {
            font = host_.font_for(code, face_, presentation);
            if (code < kRememberedCodes) remembered_[code] = font;
        }
        join(code, font, group);
    }

    // Fonts of Latin-1 characters already placed in the current face.
    static constexpr char32_t kRememberedCodes = 256;
    std::array<std::optional<int>, kRememberedCodes> remembered_;
    std::u32string_view line_;  // the text as typed, markup included
    SegmentationHost& host_;
    bool markup_;
    int colour_;
    int face_;
    std::optional<int> last_font_;  // none before the first character of a face
    int group_ = -1;
    std::size_t piece_start_ = 0;
    SegmentedLine result_;
};

}  // namespace

SegmentedLine segment_markup(std::u32string_view line, SegmentationHost& host, bool markup) {
    return Segmenter(line, host, markup).run();
}

std::vector<LinePiece> cut_by_levels(std::span<const LinePiece> pieces, std::span<const std::uint8_t> levels) {
    std::vector<LinePiece> runs;
    runs.reserve(pieces.size());
    for (const LinePiece& piece : pieces) {
        std::size_t start = piece.start;
        const std::size_t end = piece.start + piece.length;
        for (std::size_t i = start + 1; i <= end; ++i) {
            if (i < end && levels[i] == levels[start]) continue;
            LinePiece run = piece;
            run.start = start;
            run.length = i - start;
            run.level = levels[start];
            runs.push_back(run);
            start = i;
        }
    }
    std::vector<std::uint8_t> run_levels;
    run_levels.reserve(runs.size());
    for (const LinePiece& run : runs) run_levels.push_back(run.level);
    std::vector<LinePiece> ordered;
    ordered.reserve(runs.size());
    for (std::size_t index : visual_order(run_levels)) ordered.push_back(runs[index]);
    return ordered;
}

std::vector<LinePiece> pieces_in_drawing_order(SegmentedLine& line, bool right_to_left_paragraph) {
    const std::span<const std::uint32_t> code_points(reinterpret_cast<const std::uint32_t*>(line.visible.data()),
                                                     line.visible.size());
    if (right_to_left_paragraph) return cut_by_levels(line.pieces, right_to_left_paragraph_levels(code_points));
    if (may_hold_right_to_left(code_points)) return cut_by_levels(line.pieces, embedding_levels(code_points));
    return std::move(line.pieces);
}

}  // namespace lumo::render
