// The cache file reader: the values it reports, and the errors it gives for
// damaged or hostile text, worded as the host's json module words them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "index/json_reader.h"

using namespace std::string_view_literals;
using lumo::index::JsonHandler;
using lumo::index::kMaxJsonDepth;
using lumo::index::read_json;

namespace {

/// Writes every event as a word, e.g. "{ key:a int:1 }".
class EventLog final : public JsonHandler {
public:
    std::string log;
    std::size_t events_left = SIZE_MAX;  // returns false once this reaches zero
    std::string_view last_string;

    bool null_value() override { return note("null"); }
    bool bool_value(bool value) override { return note(value ? "true" : "false"); }
    bool integer_value(std::string_view digits) override { return note("int:" + std::string(digits)); }
    bool float_value(std::string_view text) override { return note("float:" + std::string(text)); }
    bool string_value(std::string_view utf8) override {
        last_string = utf8;
        return note("str:" + std::string(utf8));
    }
    bool begin_object() override { return note("{"); }
    bool key(std::string_view utf8) override { return note("key:" + std::string(utf8)); }
    bool end_object() override { return note("}"); }
    bool begin_array() override { return note("["); }
    bool end_array() override { return note("]"); }

private:
    bool note(const std::string& word) {
        if (!log.empty()) log += ' ';
        log += word;
        return --events_left != 0;
    }
};

struct ValidCase {
    std::string_view text;
    std::string_view events;
};

const ValidCase kValidDocuments[] = {
    {"null"sv, "null"sv},
    {" \t\r\n[ true ,\tfalse ]\n"sv, "[ true false ]"sv},
    {"[0, -0, 123456789012345678901234567890]"sv, "[ int:0 int:-0 int:123456789012345678901234567890 ]"sv},
    {"[1.5, -2.5e+3, 1E-2, 0e0]"sv, "[ float:1.5 float:-2.5e+3 float:1E-2 float:0e0 ]"sv},
    {"[NaN, Infinity, -Infinity]"sv, "[ float:NaN float:Infinity float:-Infinity ]"sv},
    {"\"\\\"\\\\\\/\\b\\f\\n\\r\\t\""sv, "str:\"\\/\b\f\n\r\t"sv},
    {"\"\\u00e9\\u20AC caf\303\251 \360\237\230\200 \177\""sv,
     "str:\303\251\342\202\254 caf\303\251 \360\237\230\200 \177"sv},
    // A surrogate pair makes one character; a surrogate without its pair is kept alone.
    {"\"\\ud83d\\ude00\""sv, "str:\360\237\230\200"sv},
    {"[\"\\ud800\\u0041\", \"\\udc80\", \"\\ud800\"]"sv, "[ str:\355\240\200A str:\355\262\200 str:\355\240\200 ]"sv},
    {"{}"sv, "{ }"sv},
    {"{\"b\": [1, {\"c\": null}], \"a\": {}, \"b\": []}"sv,
     "{ key:b [ int:1 { key:c null } ] key:a { } key:b [ ] }"sv},
    {"{\"k\\u00e9y\": \"v\"}"sv, "{ key:k\303\251y str:v }"sv},
};

TEST(JsonReader, ReportsEveryValueInOrder) {
    for (const ValidCase& valid : kValidDocuments) {
        SCOPED_TRACE(valid.text);
        EventLog events;
        const auto error = read_json(valid.text, events);
        EXPECT_FALSE(error.has_value()) << error->message;
        EXPECT_EQ(events.log, valid.events);
    }
}

struct MalformedCase {
    std::string_view text;
    std::string_view message;
};

// Messages as the host gives them for the same bytes read from a file.
const MalformedCase kMalformedDocuments[] = {
    {""sv, "Expecting value: line 1 column 1 (char 0)"},
    {"   \n"sv, "Expecting value: line 2 column 1 (char 4)"},
    {"nul"sv, "Expecting value: line 1 column 1 (char 0)"},
    {"tru"sv, "Expecting value: line 1 column 1 (char 0)"},
    {"-"sv, "Expecting value: line 1 column 1 (char 0)"},
    {"-Inf"sv, "Expecting value: line 1 column 1 (char 0)"},
    {"01"sv, "Extra data: line 1 column 2 (char 1)"},
    {"1."sv, "Extra data: line 1 column 2 (char 1)"},
    {"NaN1"sv, "Extra data: line 1 column 4 (char 3)"},
    {"[1,]"sv, "Expecting value: line 1 column 4 (char 3)"},
    {"{\"a\":1,}"sv, "Expecting property name enclosed in double quotes: line 1 column 8 (char 7)"},
    {"{"sv, "Expecting property name enclosed in double quotes: line 1 column 2 (char 1)"},
    {"["sv, "Expecting value: line 1 column 2 (char 1)"},
    {"{\"a\" 1}"sv, "Expecting ':' delimiter: line 1 column 6 (char 5)"},
    {"{\"a\":1 \"b\":2}"sv, "Expecting ',' delimiter: line 1 column 8 (char 7)"},
    {"[1 2]"sv, "Expecting ',' delimiter: line 1 column 4 (char 3)"},
    {"{1:2}"sv, "Expecting property name enclosed in double quotes: line 1 column 2 (char 1)"},
    {"1 2"sv, "Extra data: line 1 column 3 (char 2)"},
    {"[1]]"sv, "Extra data: line 1 column 4 (char 3)"},
    {"\"abc"sv, "Unterminated string starting at: line 1 column 1 (char 0)"},
    {"\"a\\"sv, "Unterminated string starting at: line 1 column 1 (char 0)"},
    {"\"a\\x\""sv, "Invalid \\escape: line 1 column 3 (char 2)"},
    {"\"é\\x\""sv, "Invalid \\escape: line 1 column 3 (char 2)"},
    {"\"\\u12G4\""sv, "Invalid \\uXXXX escape: line 1 column 3 (char 2)"},
    {"\"\\u1234"sv, "Invalid \\uXXXX escape: line 1 column 3 (char 2)"},
    {"\"\\ud800\\udc00"sv, "Invalid \\uXXXX escape: line 1 column 9 (char 8)"},
    {"\"\\ud800\\uzzzz\""sv, "Invalid \\uXXXX escape: line 1 column 9 (char 8)"},
    {"\"a\tb\""sv, "Invalid control character at: line 1 column 3 (char 2)"},
    {"[\"€\037\"]"sv, "Invalid control character at: line 1 column 4 (char 3)"},
    {"\357\273\277{}"sv, "Unexpected UTF-8 BOM (decode using utf-8-sig): line 1 column 1 (char 0)"},
    {" \357\273\2771"sv, "Expecting value: line 1 column 2 (char 1)"},
    {"{\n  \"é😀\": [1,\n   2 3]}"sv, "Expecting ',' delimiter: line 3 column 6 (char 19)"},
    {"[\r\n1\r\n2]"sv, "Expecting ',' delimiter: line 3 column 1 (char 6)"},
    {"[1,\n\n  x]"sv, "Expecting value: line 3 column 3 (char 7)"},
    {"\"\377\""sv, "'utf-8' codec can't decode byte 0xff in position 1: invalid start byte"},
    {"[\"ok\", \"\355\240\200\"]"sv, "'utf-8' codec can't decode byte 0xed in position 8: invalid continuation byte"},
    {"\"\360\220\200"sv, "'utf-8' codec can't decode bytes in position 1-3: unexpected end of data"},
    {"{} \303"sv, "'utf-8' codec can't decode byte 0xc3 in position 3: unexpected end of data"},
    {"\357\273\277\377"sv, "'utf-8' codec can't decode byte 0xff in position 3: invalid start byte"},
    {"[1, 2 \377"sv, "'utf-8' codec can't decode byte 0xff in position 6: invalid start byte"},
};

TEST(JsonReader, WordsErrorsAsTheHostDoes) {
    for (const MalformedCase& malformed : kMalformedDocuments) {
        SCOPED_TRACE(malformed.text);
        EventLog events;
        const auto error = read_json(malformed.text, events);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message, malformed.message);
        EXPECT_FALSE(error->stopped_by_handler);
    }
}

TEST(JsonReader, HandsOutPlainStringsWithoutCopying) {
    const std::string_view text = "[\"a plain string that is long enough\"]";
    EventLog events;
    ASSERT_FALSE(read_json(text, events).has_value());
    EXPECT_EQ(events.last_string.data(), text.data() + 2);
}

TEST(JsonReader, LimitsNesting) {
    const std::string deepest_allowed = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    EventLog events;
    EXPECT_FALSE(read_json(deepest_allowed, events).has_value());

    for (const std::size_t depth : {kMaxJsonDepth + 1, std::size_t{1'000'000}}) {
        const std::string hostile = std::string(depth, '[') + std::string(depth, ']');
        const auto error = read_json(hostile, events);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message, "Nesting deeper than 512 levels: line 1 column 513 (char 512)");
    }
}

TEST(JsonReader, StopsWhenTheHandlerSaysSo) {
    EventLog events;
    events.events_left = 3;
    const auto error = read_json("{\"a\": [1, 2, 3]}", events);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->stopped_by_handler);
    EXPECT_EQ(error->message, "");
    EXPECT_EQ(events.log, "{ key:a [");
}

TEST(JsonReader, EveryCutOfACacheFileIsAnError) {
    const std::string_view file =
        "{\n  \"_timestamp\": \"17.5|3\",\n  \"paths\": {\n    \"caf\303\251 \\\"x\\\"\": [\n"
        "      \"/f/\\udcff.ttc\",\n      -1\n    ]\n  },\n  \"names\": {\"c\": \"\\ud83d\\ude00\"}\n}";
    EventLog events;
    ASSERT_FALSE(read_json(file, events).has_value());
    for (std::size_t length = 0; length < file.size(); ++length) {
        const auto error = read_json(file.substr(0, length), events);
        ASSERT_TRUE(error.has_value()) << length;
        EXPECT_FALSE(error->message.empty());
    }
}

}  // namespace
