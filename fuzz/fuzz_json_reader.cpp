// The index cache file's JSON reader over arbitrary bytes. Whatever it reports
// must be well formed: nesting balanced and within the depth cap, a key before
// every member value, integers and strings as documented. Every string it
// gives back is written with the file writer's escaping and read again, which
// must return the same string.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "index/font_map_file.h"
#include "index/json_reader.h"

namespace {

using lumo::fuzz::require;

/// Records what the reader reports and checks its shape as it goes.
class CheckingHandler final : public lumo::index::JsonHandler {
public:
    std::vector<std::string> strings;  // every string and key, in order
    bool finished = false;             // one whole value was reported

    bool null_value() override { return value(); }
    bool bool_value(bool) override { return value(); }
    bool integer_value(std::string_view digits) override {
        std::string_view rest = digits;
        if (!rest.empty() && rest.front() == '-') rest.remove_prefix(1);
        require(!rest.empty() && rest.find_first_not_of("0123456789") == std::string_view::npos,
                "an integer is not an optional '-' and digits");
        return value();
    }
    bool float_value(std::string_view text) override {
        require(!text.empty(), "an empty number");
        return value();
    }
    bool string_value(std::string_view utf8) override {
        strings.emplace_back(utf8);
        return value();
    }
    bool begin_object() override { return open('{'); }
    bool key(std::string_view utf8) override {
        require(!open_.empty() && open_.back() == '{' && !expect_value_, "a key outside an object or twice in a row");
        strings.emplace_back(utf8);
        expect_value_ = true;
        return true;
    }
    bool end_object() override { return close('{'); }
    bool begin_array() override { return open('['); }
    bool end_array() override { return close('['); }

private:
    std::vector<char> open_;
    bool expect_value_ = false;

    /// A value (scalar, or a container that just opened) in a legal place.
    bool value() {
        require(!finished, "a value after the document's end");
        if (open_.empty()) {
            finished = true;
        } else if (open_.back() == '{') {
            require(expect_value_, "an object member without a key");
            expect_value_ = false;
        }
        return true;
    }
    bool open(char bracket) {
        value();
        if (open_.empty()) finished = false;  // the document ends when this container closes
        open_.push_back(bracket);
        require(open_.size() <= lumo::index::kMaxJsonDepth, "nesting past the depth cap");
        return true;
    }
    bool close(char bracket) {
        require(!open_.empty() && open_.back() == bracket, "a container closes that was not opened");
        require(!expect_value_, "an object closes after a key without a value");
        open_.pop_back();
        if (open_.empty()) finished = true;
        return true;
    }
};

/// Reads a document that holds one string and returns that string.
class SingleString final : public lumo::index::JsonHandler {
public:
    std::string text;
    int count = 0;
    bool null_value() override { return false; }
    bool bool_value(bool) override { return false; }
    bool integer_value(std::string_view) override { return false; }
    bool float_value(std::string_view) override { return false; }
    bool string_value(std::string_view utf8) override {
        text.assign(utf8);
        ++count;
        return true;
    }
    bool begin_object() override { return false; }
    bool key(std::string_view) override { return false; }
    bool end_object() override { return false; }
    bool begin_array() override { return false; }
    bool end_array() override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckingHandler handler;
    const auto error = lumo::index::read_json(input, handler);
    if (error) {
        require(!error->stopped_by_handler, "the reader blames a handler that never stopped it");
        require(!error->message.empty(), "an error without a message");
        return 0;
    }
    require(handler.finished, "a document accepted without one whole value");
    for (const std::string& text : handler.strings) {
        std::string literal;
        lumo::index::append_json_string(literal, text);
        SingleString reread;
        const auto reread_error = lumo::index::read_json(literal, reread);
        require(!reread_error && reread.count == 1, "a written string literal does not read back");
        require(reread.text == text, "a string changes when written and read again");
    }
    return 0;
}
