// The cache file as written: byte for byte what the host's json.dumps(indent=2,
// ensure_ascii=False) writes, except that undecodable path bytes become escapes.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "index/font_map_file.h"

using namespace std::string_view_literals;
using lumo::index::append_json_path;
using lumo::index::append_json_string;
using lumo::index::font_map_json;
using lumo::index::FontMap;
using lumo::index::PathRecord;

namespace {

struct FileCase {
    const char* name;
    std::string_view timestamp;
    std::vector<std::pair<std::string_view, PathRecord>> paths;
    std::vector<std::pair<std::string_view, std::string_view>> names;
    std::string_view expected;
};

// Expected texts come from the host's json.dumps, with its lone surrogates
// (surrogateescape bytes) written as \udcXX.
const FileCase kFiles[] = {
    {"empty maps", "0"sv, {}, {},
     "{\n"
     "  \"_timestamp\": \"0\",\n"
     "  \"paths\": {},\n"
     "  \"names\": {}\n"
     "}"},
    {"typical", "1700000000.25|42"sv,
     {{"dejavu sans"sv, {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", -1}},
      {"noto sans cjk jp"sv, {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 0}}},
     {{"dejavu"sv, "dejavu sans"sv}, {"noto sans cjk"sv, "noto sans cjk jp"sv}},
     "{\n"
     "  \"_timestamp\": \"1700000000.25|42\",\n"
     "  \"paths\": {\n"
     "    \"dejavu sans\": [\n"
     "      \"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\",\n"
     "      -1\n"
     "    ],\n"
     "    \"noto sans cjk jp\": [\n"
     "      \"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc\",\n"
     "      0\n"
     "    ]\n"
     "  },\n"
     "  \"names\": {\n"
     "    \"dejavu\": \"dejavu sans\",\n"
     "    \"noto sans cjk\": \"noto sans cjk jp\"\n"
     "  }\n"
     "}"},
    {"quotes, backslashes and controls", "ts \"1\"\\"sv,
     {{"a \"quoted\" \\ name"sv, {"C:\\Windows\\Fonts/arial.ttf", 12}}},
     {{"tab\tnew\nline\r"sv, "ctl\001\010\014\037\177"sv}},
     "{\n"
     "  \"_timestamp\": \"ts \\\"1\\\"\\\\\",\n"
     "  \"paths\": {\n"
     "    \"a \\\"quoted\\\" \\\\ name\": [\n"
     "      \"C:\\\\Windows\\\\Fonts/arial.ttf\",\n"
     "      12\n"
     "    ]\n"
     "  },\n"
     "  \"names\": {\n"
     "    \"tab\\tnew\\nline\\r\": \"ctl\\u0001\\b\\f\\u001f\177\"\n"
     "  }\n"
     "}"},
    {"non-ASCII kept raw", "été"sv,
     {{"ｍｓ ゴシック"sv, {"/fonts/フォント/msgothic.ttc", 1}},
      {"emoji 😀"sv, {"/fonts/Noto\342\200\250Emoji.ttf", -1}}},
     {{"ゴシック"sv, "ｍｓ ゴシック"sv}},
     "{\n"
     "  \"_timestamp\": \"été\",\n"
     "  \"paths\": {\n"
     "    \"ｍｓ ゴシック\": [\n"
     "      \"/fonts/フォント/msgothic.ttc\",\n"
     "      1\n"
     "    ],\n"
     "    \"emoji 😀\": [\n"
     "      \"/fonts/Noto\342\200\250Emoji.ttf\",\n"
     "      -1\n"
     "    ]\n"
     "  },\n"
     "  \"names\": {\n"
     "    \"ゴシック\": \"ｍｓ ゴシック\"\n"
     "  }\n"
     "}"},
    {"undecodable path bytes", "1"sv,
     {{"bad bytes"sv, {"/fonts/\377\355\240\200\300\257\360\220\200.ttf", -1}},
      {"latin-1 name"sv, {"/fonts/caf\351.ttf", 0}}},
     {},
     "{\n"
     "  \"_timestamp\": \"1\",\n"
     "  \"paths\": {\n"
     "    \"bad bytes\": [\n"
     "      \"/fonts/\\udcff\\udced\\udca0\\udc80\\udcc0\\udcaf\\udcf0\\udc90\\udc80.ttf\",\n"
     "      -1\n"
     "    ],\n"
     "    \"latin-1 name\": [\n"
     "      \"/fonts/caf\\udce9.ttf\",\n"
     "      0\n"
     "    ]\n"
     "  },\n"
     "  \"names\": {}\n"
     "}"},
};

FontMap font_map_of(const FileCase& file) {
    FontMap map;
    for (const auto& [key, record] : file.paths) map.paths.insert_or_assign(std::string(key), record);
    for (const auto& [alias, full_name] : file.names) {
        map.names.insert_or_assign(std::string(alias), std::string(full_name));
    }
    return map;
}

TEST(FontMapFile, MatchesTheHostsLayoutByteForByte) {
    for (const FileCase& file : kFiles) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(font_map_json(file.timestamp, font_map_of(file)), file.expected);
    }
}

struct LiteralCase {
    std::string_view input;
    std::string_view expected;
};

TEST(FontMapFile, EscapesPathBytesAsTheHostsSurrogateescape) {
    const LiteralCase cases[] = {
        {"/fonts/café 😀.ttf"sv, "\"/fonts/café 😀.ttf\""sv},
        {"\355\240\200"sv, "\"\\udced\\udca0\\udc80\""sv},
        {"\355\237\277"sv, "\"\355\237\277\""sv},
        {"\360\220\200"sv, "\"\\udcf0\\udc90\\udc80\""sv},
        {"\360\220\200\200"sv, "\"\360\220\200\200\""sv},
        {"\300\257"sv, "\"\\udcc0\\udcaf\""sv},
        {"\340\200\200"sv, "\"\\udce0\\udc80\\udc80\""sv},
        {"\364\220\200\200"sv, "\"\\udcf4\\udc90\\udc80\\udc80\""sv},
        {"\364\217\277\277"sv, "\"\364\217\277\277\""sv},
        {"\200\277\376\377"sv, "\"\\udc80\\udcbf\\udcfe\\udcff\""sv},
        {"\342\202"sv, "\"\\udce2\\udc82\""sv},
        {"a\"\\\001b"sv, "\"a\\\"\\\\\\u0001b\""sv},
    };
    for (const LiteralCase& path : cases) {
        SCOPED_TRACE(path.input);
        std::string out;
        append_json_path(out, path.input);
        EXPECT_EQ(out, path.expected);
    }
}

TEST(FontMapFile, EscapesTextAsTheHostDoes) {
    const LiteralCase cases[] = {
        {""sv, "\"\""sv},
        {"\"\\\n\r\t\010\014"sv, "\"\\\"\\\\\\n\\r\\t\\b\\f\""sv},
        {"\000\001\037"sv, "\"\\u0000\\u0001\\u001f\""sv},
        {"\177/é€😀\342\200\250"sv, "\"\177/é€😀\342\200\250\""sv},
        {"a\355\240\200b\355\277\277\355\262\200"sv, "\"a\\ud800b\\udfff\\udc80\""sv},
    };
    for (const LiteralCase& text : cases) {
        SCOPED_TRACE(text.input);
        std::string out;
        append_json_string(out, text.input);
        EXPECT_EQ(out, text.expected);
    }
}

}  // namespace

namespace {

TEST(FontMapFileReadBack, FaceNumbersAreThoseAScanWrites) {
    for (long long written : {-1LL, 0LL, 7LL, static_cast<long long>(lumo::kMaxCollectionFaces)})
        EXPECT_TRUE(lumo::index::is_written_face_index(written)) << written;
    for (long long damaged : {-2LL, static_cast<long long>(lumo::kMaxCollectionFaces) + 1, 1LL << 40})
        EXPECT_FALSE(lumo::index::is_written_face_index(damaged)) << damaged;
}

TEST(FontMapFileReadBack, RefusalsQuoteWhatIsWrongCutShort) {
    EXPECT_EQ(lumo::index::bad_path_record_message("'dejavu sans'", "['/f.ttf', 'x']"),
              "index entry 'dejavu sans' of \"paths\" is not [path, face index]: ['/f.ttf', 'x']");
    EXPECT_EQ(lumo::index::bad_names_message("[]"), "\"names\" of the index is not an object: []");
    EXPECT_EQ(lumo::index::bad_alias_message("'sans'", "'missing face'"),
              "index alias 'sans' names no face of \"paths\": 'missing face'");
    const std::string long_repr = "'" + std::string(80, 'a') + "'";
    EXPECT_EQ(lumo::index::shortened_repr(long_repr), "'" + std::string(59, 'a') + "...");
    EXPECT_EQ(lumo::index::shortened_repr(std::string(60, 'b')), std::string(60, 'b'));
}

}  // namespace
