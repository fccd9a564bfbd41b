// The host's lower-casing and white-space stripping on UTF-8 text, driven by
// Unicode tables generated from the host itself.
#include "index/text_rules.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "base/utf8_units.h"

namespace lumo::index {

using base::next_unit;
using base::previous_unit;
using base::Utf8Unit;

namespace {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

struct LowerRun {
    char32_t first;
    char32_t last;
    std::int32_t delta;
    std::uint8_t stride;
};

// The longest lower-case form of one code point; the generator checks it.
constexpr std::size_t kLongestLowerForm = 3;

struct LowerExpansion {
    char32_t code_point;
    std::uint8_t length;
    char32_t lower[kLongestLowerForm];
};

#include "index/text_tables.inc"

constexpr char32_t kCapitalSigma = 0x03A3;
constexpr char32_t kSmallSigma = 0x03C3;
constexpr char32_t kFinalSigma = 0x03C2;
constexpr std::string_view kCapitalSigmaUtf8 = "\xCE\xA3";

/// The entry of a table sorted by `first` whose `first` is the greatest one not
/// above `code_point`, or nullptr.
template <typename Entry, std::size_t N>
const Entry* entry_at_or_before(const Entry (&table)[N], char32_t code_point) {
    const Entry* after = std::upper_bound(std::begin(table), std::end(table), code_point,
                                          [](char32_t cp, const Entry& entry) { return cp < entry.first; });
    return after == std::begin(table) ? nullptr : after - 1;
}

template <std::size_t N>
bool in_ranges(const CodePointRange (&ranges)[N], char32_t code_point) {
    const CodePointRange* range = entry_at_or_before(ranges, code_point);
    return range != nullptr && code_point <= range->last;
}

bool is_white_space(char32_t code_point) { return in_ranges(kWhiteSpaceRanges, code_point); }

char ascii_lower(char byte) { return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : byte; }

bool is_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

/// Appends the lower-case form of `code_point` and returns true, or returns
/// false when the code point is its own lower-case form.
bool append_lower_form(std::string& out, char32_t code_point) {
    if (const LowerRun* run = entry_at_or_before(kLowerRuns, code_point);
        run != nullptr && code_point <= run->last && (code_point - run->first) % run->stride == 0) {
        base::append_code_point(out, static_cast<char32_t>(static_cast<std::int32_t>(code_point) + run->delta));
        return true;
    }
    for (const LowerExpansion& expansion : kLowerExpansions) {
        if (expansion.code_point != code_point) continue;
        for (std::uint8_t i = 0; i < expansion.length; ++i) base::append_code_point(out, expansion.lower[i]);
        return true;
    }
    return false;
}

/// Whether a sigma whose unit ends at `offset` has a cased letter after it,
/// looking through case-ignorable characters (quotes, marks, modifiers).
/// Ill-formed bytes count as neither, like unassigned code points.
bool cased_letter_follows(std::string_view text, std::size_t offset) {
    while (offset < text.size()) {
        const Utf8Unit unit = next_unit(text, offset);
        if (!unit.well_formed) return false;
        if (!in_ranges(kCaseIgnorableRanges, unit.code_point)) return in_ranges(kCasedRanges, unit.code_point);
        offset += unit.length;
    }
    return false;
}

}  // namespace

std::string lower_text(std::string_view text) {
    std::string lowered;
    lowered.reserve(text.size());
    // Only a capital sigma looks at its neighbours, so text without one is
    // mapped character by character, and pure ASCII byte by byte.
    const bool has_capital_sigma = text.find(kCapitalSigmaUtf8) != std::string_view::npos;
    if (!has_capital_sigma && is_ascii(text)) {
        std::transform(text.begin(), text.end(), std::back_inserter(lowered), ascii_lower);
        return lowered;
    }

    bool cased_letter_precedes = false;  // the last character that is not case-ignorable was cased
    std::size_t offset = 0;
    while (offset < text.size()) {
        const Utf8Unit unit = next_unit(text, offset);
        const char32_t code_point = unit.code_point;
        const std::size_t unit_end = offset + unit.length;
        if (!unit.well_formed) {
            lowered += text[offset];
            cased_letter_precedes = false;
        } else if (code_point < 0x80 && !has_capital_sigma) {
            lowered += ascii_lower(text[offset]);
        } else {
            if (code_point == kCapitalSigma) {
                const bool is_final = cased_letter_precedes && !cased_letter_follows(text, unit_end);
                base::append_code_point(lowered, is_final ? kFinalSigma : kSmallSigma);
            } else if (!append_lower_form(lowered, code_point)) {
                lowered.append(text.substr(offset, unit.length));
            }
            if (has_capital_sigma && !in_ranges(kCaseIgnorableRanges, code_point))
                cased_letter_precedes = in_ranges(kCasedRanges, code_point);
        }
        offset = unit_end;
    }
    return lowered;
}

std::string_view strip_text(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const Utf8Unit unit = next_unit(text, begin);
        if (!unit.well_formed || !is_white_space(unit.code_point)) break;
        begin += unit.length;
    }
    std::size_t end = text.size();
    while (end > begin) {
        const Utf8Unit unit = previous_unit(text, end);
        if (!unit.well_formed || !is_white_space(unit.code_point)) break;
        end -= unit.length;
    }
    return text.substr(begin, end - begin);
}

std::size_t code_point_count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t offset = 0; offset < text.size(); offset += base::next_unit(text, offset).length) ++count;
    return count;
}

std::string_view drop_last_code_points(std::string_view text, std::size_t count) {
    std::size_t end = text.size();
    for (; count > 0 && end > 0; --count) end -= base::previous_unit(text, end).length;
    return count > 0 ? std::string_view{} : text.substr(0, end);
}

bool ends_with(std::string_view text, std::string_view suffix) { return text.ends_with(suffix); }

bool ends_with_ascii_nocase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(),
                      [](char a, char b) { return ascii_lower(a) == ascii_lower(b); });
}

}  // namespace lumo::index
