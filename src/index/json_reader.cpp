// The event reader for the index cache file: one pass over the text, strings
// without escapes handed out as views of it, errors worded as the host words them.
#include "index/json_reader.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "index/strict_utf8.h"

namespace lumo::index {
namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

/// High bit set in (at least) the lowest byte of `word` that is a quote, a
/// backslash, a control character or not ASCII; zero when there is none.
/// Bytes above the first hit may be flagged wrongly, which is harmless.
inline std::uint64_t string_stop_bits(std::uint64_t word) {
    const std::uint64_t quote = word ^ (kEveryByte * '"');
    const std::uint64_t backslash = word ^ (kEveryByte * '\\');
    return (((quote - kEveryByte) & ~quote) | ((backslash - kEveryByte) & ~backslash) |
            (word - kEveryByte * 0x20) | word) &
           kHighBits;
}

inline bool is_string_stop(unsigned char c) { return c == '"' || c == '\\' || c < 0x20 || c >= 0x80; }

/// The first byte at or after `at` where plain string content ends.
const char* find_string_stop(const char* at, const char* end) {
    while (end - at >= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        const std::uint64_t stops = string_stop_bits(word);
        if (stops != 0) {
            if constexpr (std::endian::native == std::endian::little) return at + std::countr_zero(stops) / 8;
            break;
        }
        at += 8;
    }
    while (at < end && !is_string_stop(static_cast<unsigned char>(*at))) ++at;
    return at;
}

inline bool is_white_space(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// The value of four hex digits, or -1 when one of them is not a hex digit.
int hex_quad(const char* digits) {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = digits[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return -1;
        value = value * 16 + digit;
    }
    return value;
}

/// Appends a code point as (generalised) UTF-8: a surrogate gets its 3-byte form.
void append_code_point(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

/// "<what>: line L column C (char N)", with N counted in code points as the
/// host's str counts them. Only called for text already known to be UTF-8.
std::string with_position(std::string_view text, const char* what, std::size_t offset) {
    std::size_t chars = 0, line = 1, column_base = 0;  // column_base: chars up to and including the last '\n'
    for (std::size_t i = 0; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;
        ++chars;
        if (byte == '\n') {
            ++line;
            column_base = chars;
        }
    }
    char position[96];
    std::snprintf(position, sizeof position, ": line %zu column %zu (char %zu)", line, chars - column_base + 1, chars);
    return std::string(what) + position;
}

class JsonReader {
public:
    JsonReader(std::string_view text, JsonHandler& handler)
        : text_(text), at_(text.data()), end_(text.data() + text.size()), handler_(handler) {}

    std::optional<JsonError> run() {
        if (text_.starts_with("\xEF\xBB\xBF")) return fail("Unexpected UTF-8 BOM (decode using utf-8-sig)", at_);
        skip_white_space();
        if (!read_document()) return error();
        skip_white_space();
        if (at_ != end_) return fail("Extra data", at_);
        return std::nullopt;
    }

private:
    static constexpr const char* kNestingTooDeep = "Nesting deeper than 512 levels";
    static_assert(kMaxJsonDepth == 512, "update kNestingTooDeep");

    /// Reads the value at `at_` and every value nested in it.
    bool read_document() {
        bool at_value = true;  // false once a value has ended
        for (;;) {
            if (at_value) {
                if (at_ == end_) return fail_at("Expecting value", at_);
                const char c = *at_;
                if (c == '{' || c == '[') {
                    const bool object = c == '{';
                    if (!open_container(object)) return false;
                    skip_white_space();
                    if (at_ < end_ && *at_ == (object ? '}' : ']')) {
                        ++at_;
                        if (!close_container()) return false;
                        at_value = false;
                    } else if (object && !read_key()) {
                        return false;
                    }
                    continue;
                }
                if (!read_scalar()) return false;
                at_value = false;
            }
            if (depth_ == 0) return true;
            skip_white_space();
            const bool object = in_object_[depth_ - 1];
            if (at_ < end_ && *at_ == (object ? '}' : ']')) {
                ++at_;
                if (!close_container()) return false;
                continue;
            }
            if (at_ == end_ || *at_ != ',') return fail_at("Expecting ',' delimiter", at_);
            ++at_;
            skip_white_space();
            if (object && !read_key()) return false;
            at_value = true;
        }
    }

    bool open_container(bool object) {
        if (depth_ == kMaxJsonDepth) return fail_at(kNestingTooDeep, at_);
        in_object_[depth_++] = object;
        ++at_;
        return emit(object ? handler_.begin_object() : handler_.begin_array());
    }

    bool close_container() {
        --depth_;
        return emit(in_object_[depth_] ? handler_.end_object() : handler_.end_array());
    }

    /// A member's key and its ':' delimiter, leaving `at_` at the value.
    bool read_key() {
        if (at_ == end_ || *at_ != '"') return fail_at("Expecting property name enclosed in double quotes", at_);
        std::string_view key;
        if (!read_string(key) || !emit(handler_.key(key))) return false;
        skip_white_space();
        if (at_ == end_ || *at_ != ':') return fail_at("Expecting ':' delimiter", at_);
        ++at_;
        skip_white_space();
        return true;
    }

    bool read_scalar() {
        const std::size_t left = static_cast<std::size_t>(end_ - at_);
        switch (*at_) {
        case '"': {
            std::string_view value;
            return read_string(value) && emit(handler_.string_value(value));
        }
        case 'n':
            if (matches("null", left)) return emit(handler_.null_value());
            break;
        case 't':
            if (matches("true", left)) return emit(handler_.bool_value(true));
            break;
        case 'f':
            if (matches("false", left)) return emit(handler_.bool_value(false));
            break;
        case 'N':
            if (matches("NaN", left)) return emit(handler_.float_value("NaN"));
            break;
        case 'I':
            if (matches("Infinity", left)) return emit(handler_.float_value("Infinity"));
            break;
        case '-':
            if (matches("-Infinity", left)) return emit(handler_.float_value("-Infinity"));
            break;
        }
        return read_number();
    }

    /// Consumes `word` if the text at `at_` starts with it.
    bool matches(std::string_view word, std::size_t left) {
        if (left < word.size() || std::memcmp(at_, word.data(), word.size()) != 0) return false;
        at_ += word.size();
        return true;
    }

    /// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?, the longest match; a
    /// fraction or exponent that is not complete is left for the next token.
    bool read_number() {
        const char* start = at_;
        const char* at = at_;
        if (*at == '-') ++at;
        if (at == end_ || !is_digit(*at)) return fail_at("Expecting value", start);
        if (*at++ != '0') {
            while (at < end_ && is_digit(*at)) ++at;
        }
        bool is_float = false;
        if (end_ - at >= 2 && at[0] == '.' && is_digit(at[1])) {
            at += 2;
            while (at < end_ && is_digit(*at)) ++at;
            is_float = true;
        }
        if (at < end_ && (*at == 'e' || *at == 'E')) {
            const char* exponent = at + 1;
            if (exponent < end_ && (*exponent == '+' || *exponent == '-')) ++exponent;
            if (exponent < end_ && is_digit(*exponent)) {
                while (exponent < end_ && is_digit(*exponent)) ++exponent;
                at = exponent;
                is_float = true;
            }
        }
        at_ = at;
        const std::string_view number(start, static_cast<std::size_t>(at - start));
        return emit(is_float ? handler_.float_value(number) : handler_.integer_value(number));
    }

    /// Reads the string whose opening quote is at `at_`. `value` views the input
    /// when the string has no escapes, and the scratch buffer otherwise.
    bool read_string(std::string_view& value) {
        const char* quote = at_;
        const char* run = quote + 1;  // start of the content not yet copied
        const char* at = run;
        bool escaped = false;
        for (;;) {
            at = find_string_stop(at, end_);
            if (at == end_) return fail_at("Unterminated string starting at", quote);
            const auto c = static_cast<unsigned char>(*at);
            if (c == '"') break;
            if (c >= 0x80) {
                const std::size_t length = utf8_sequence_length(std::string_view(at, end_ - at));
                if (length == 0) return fail_at("", at);  // reported as the decoder's fault
                at += length;
                continue;
            }
            if (c < 0x20) return fail_at("Invalid control character at", at);
            if (!escaped) scratch_.clear();
            escaped = true;
            scratch_.append(run, at);
            if (!read_escape(at, quote)) return false;
            run = at;
        }
        if (escaped) {
            scratch_.append(run, at);
            value = scratch_;
        } else {
            value = std::string_view(run, static_cast<std::size_t>(at - run));
        }
        at_ = at + 1;
        return true;
    }

    /// Resolves the escape whose backslash is at `at` into the scratch buffer
    /// and moves `at` past it. A high surrogate escape followed by a low one
    /// makes one code point; the error positions follow the host's reader.
    bool read_escape(const char*& at, const char* quote) {
        if (end_ - at < 2) return fail_at("Unterminated string starting at", quote);
        char simple = 0;
        switch (at[1]) {
        case '"': simple = '"'; break;
        case '\\': simple = '\\'; break;
        case '/': simple = '/'; break;
        case 'b': simple = '\b'; break;
        case 'f': simple = '\f'; break;
        case 'n': simple = '\n'; break;
        case 'r': simple = '\r'; break;
        case 't': simple = '\t'; break;
        case 'u': break;
        default: return fail_at("Invalid \\escape", at);
        }
        if (simple != 0) {
            scratch_ += simple;
            at += 2;
            return true;
        }
        // The host wants a character after the four digits (at least the closing quote).
        if (end_ - at <= 6) return fail_at("Invalid \\uXXXX escape", at + 1);
        int code = hex_quad(at + 2);
        if (code < 0) return fail_at("Invalid \\uXXXX escape", at + 1);
        at += 6;
        if (code >= 0xD800 && code <= 0xDBFF && end_ - at > 6 && at[0] == '\\' && at[1] == 'u') {
            const int low = hex_quad(at + 2);
            if (low < 0) return fail_at("Invalid \\uXXXX escape", at + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 6;
            }
        }
        append_code_point(scratch_, static_cast<std::uint32_t>(code));
        return true;
    }

    void skip_white_space() {
        while (at_ < end_ && is_white_space(*at_)) ++at_;
    }

    bool emit(bool handler_goes_on) {
        if (!handler_goes_on) stopped_by_handler_ = true;
        return handler_goes_on;
    }

    bool fail_at(const char* what, const char* where) {
        error_what_ = what;
        error_offset_ = static_cast<std::size_t>(where - text_.data());
        return false;
    }

    std::optional<JsonError> fail(const char* what, const char* where) {
        fail_at(what, where);
        return error();
    }

    /// Text that is not UTF-8 is reported as the host's decoder reports it,
    /// before any JSON error, since the host decodes the whole file first.
    std::optional<JsonError> error() const {
        if (stopped_by_handler_) return JsonError{{}, true};
        if (auto fault = first_utf8_fault(text_)) return JsonError{utf8_fault_message(text_, *fault), false};
        return JsonError{with_position(text_, error_what_, error_offset_), false};
    }

    std::string_view text_;
    const char* at_;
    const char* end_;
    JsonHandler& handler_;
    std::string scratch_;  // strings with escapes, resolved; reused so reading does not allocate per string
    std::array<bool, kMaxJsonDepth> in_object_{};
    std::size_t depth_ = 0;
    bool stopped_by_handler_ = false;
    const char* error_what_ = "";
    std::size_t error_offset_ = 0;
};

}  // namespace

std::optional<JsonError> read_json(std::string_view utf8, JsonHandler& handler) {
    return JsonReader(utf8, handler).run();
}

}  // namespace lumo::index
