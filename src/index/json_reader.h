// A JSON reader for the index cache file that hands each value to a handler as
// it meets it, so the caller builds its own objects without an intermediate tree.
// It accepts what the host's json module accepts (NaN, Infinity, -Infinity,
// any number of digits) and words its errors the same way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumo::index {

class JsonHandler {
public:
    virtual ~JsonHandler() = default;
    // Each returns false to stop the reader (the handler keeps its own error).
    virtual bool null_value() = 0;
    virtual bool bool_value(bool value) = 0;
    /// An integer, as its text (an optional '-' and digits, any length).
    virtual bool integer_value(std::string_view digits) = 0;
    /// A number with a fraction or exponent, or NaN, Infinity, -Infinity, as its text.
    virtual bool float_value(std::string_view text) = 0;
    /// A string, escapes resolved, as generalised UTF-8 (a \udXXX escape
    /// without its pair becomes a lone surrogate's 3-byte encoding). The view
    /// is valid only during the call: it points into the input or a scratch buffer.
    virtual bool string_value(std::string_view utf8) = 0;
    virtual bool begin_object() = 0;
    /// A member's key, as string_value gives strings; its value follows.
    /// Repeated keys are all reported, in order.
    virtual bool key(std::string_view utf8) = 0;
    virtual bool end_object() = 0;
    virtual bool begin_array() = 0;
    virtual bool end_array() = 0;
};

struct JsonError {
    /// Worded as the host's json module words it, for example
    /// "Expecting value: line 1 column 1 (char 0)".
    std::string message;
    bool stopped_by_handler = false;  // the handler returned false; `message` is empty
};

/// Reads one JSON document (white space around it allowed) from UTF-8 text.
/// Nesting deeper than `kMaxJsonDepth` is an error, so hostile input cannot
/// exhaust the stack. Input that is not strict UTF-8 fails with the host's
/// decoder message ("'utf-8' codec can't decode byte 0xff in position 7: ..."),
/// ahead of any JSON error, as when the host decodes the file before parsing.
/// Positions in JSON errors count code points, as in the host's str.
std::optional<JsonError> read_json(std::string_view utf8, JsonHandler& handler);

inline constexpr std::size_t kMaxJsonDepth = 512;

}  // namespace lumo::index
