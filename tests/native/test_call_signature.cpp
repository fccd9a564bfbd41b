// Keywords fill the parameter they name exactly, and a call that does not fit
// is refused in the host's own words.
#include <gtest/gtest.h>

#include <array>

#include "engine/call_signature.h"

namespace {

using namespace lumo::engine;

constexpr std::array<const char*, 3> kNames = {"text", "size", "color"};

TEST(CallSignature, AKeywordFillsOnlyTheParameterItNamesExactly) {
    EXPECT_EQ(parameter_named(kNames, "text"), 0u);
    EXPECT_EQ(parameter_named(kNames, "color"), 2u);
    for (const char* other : {"colour", "siz", "sizes", "Size", "", "text\xed\xb2\x80"})
        EXPECT_EQ(parameter_named(kNames, other), kNames.size()) << other;
}

TEST(CallSignature, CountsArgumentsAsTheHostDoes) {
    EXPECT_EQ(too_many_positional_message("size", 1, 2), "size() takes at most 1 positional argument (2 given)");
    EXPECT_EQ(too_many_positional_message("render", 5, 6), "render() takes at most 5 positional arguments (6 given)");
    EXPECT_EQ(missing_argument_message("render", "size", 1), "render() missing required argument 'size' (pos 2)");
}

}  // namespace
