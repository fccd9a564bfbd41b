// The settings guard refuses protected names and values a setting does not
// accept, asking about the value only what its decision needs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/settings_guard.h"

namespace {

using namespace lumo::engine;

/// A number as the host would answer for it, recording what was asked.
class NumberValue final : public AssignedValue {
public:
    NumberValue(double number, bool is_int, bool is_float, bool is_bool = false)
        : number_(number), int_(is_int), float_(is_float), bool_(is_bool) {}

    bool is_bool() override { return note("bool"), bool_; }
    bool is_int() override { return note("int"), int_; }
    bool is_float() override { return note("float"), float_; }
    bool at_least(double bound) override { return note(">=" + std::to_string(bound)), number_ >= bound; }
    bool at_most(double bound) override { return note("<=" + std::to_string(bound)), number_ <= bound; }

    std::vector<std::string> asked;

private:
    void note(std::string question) { asked.push_back(std::move(question)); }

    double number_;
    bool int_, float_, bool_;
};

NumberValue an_int(double number) { return {number, true, false}; }
NumberValue a_float(double number) { return {number, false, true}; }
NumberValue a_bool(bool truth) { return {truth ? 1.0 : 0.0, true, false, true}; }
NumberValue text() { return {0.0, false, false}; }

struct AssignmentCase {
    const char* label;
    const char* name;
    NumberValue value;
    bool accepted;
};

class Assignment : public ::testing::TestWithParam<AssignmentCase> {};

TEST_P(Assignment, IsAcceptedOnlyWhenTheSettingTakesTheValue) {
    NumberValue value = GetParam().value;
    EXPECT_EQ(!assignment_refusal(GetParam().name, value).has_value(), GetParam().accepted);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    SettingsGuard, Assignment,
    ::testing::Values(AssignmentCase{"flag_true", "MODERN_FONT", a_bool(true), true},
                      AssignmentCase{"flag_one", "MODERN_FONT", an_int(1), false},
                      AssignmentCase{"offset_float", "EMOJI_OFFSET_Y", a_float(-0.5), true},
                      AssignmentCase{"offset_int_at_bound", "EMOJI_OFFSET_Y", an_int(2), true},
                      AssignmentCase{"offset_beyond", "EMOJI_OFFSET_Y", a_float(2.5), false},
                      AssignmentCase{"offset_below", "EMOJI_OFFSET_Y", a_float(-2.01), false},
                      AssignmentCase{"offset_nan", "EMOJI_OFFSET_Y", a_float(kNaN), false},
                      AssignmentCase{"offset_text", "EMOJI_OFFSET_Y", text(), false},
                      AssignmentCase{"cache_size", "MAX_TEXT_CACHE", an_int(10), true},
                      AssignmentCase{"cache_size_true", "MAX_GLYPH_CACHE", a_bool(true), true},
                      AssignmentCase{"cache_size_zero", "MAX_TEXT_CACHE", an_int(0), false},
                      AssignmentCase{"cache_size_float", "TEXT_CACHE_CLEAN_COUNT", a_float(10.0), false},
                      AssignmentCase{"protected", "_ft_lib", an_int(1), false},
                      AssignmentCase{"protected_table", "_SYNTHETIC_FACE_MAP", text(), false},
                      AssignmentCase{"other_attribute", "my_value", text(), true},
                      AssignmentCase{"case_matters", "modern_font", an_int(1), true}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SettingsGuard, AsksTheHostOnlyWhatTheDecisionNeeds) {
    NumberValue flag = an_int(1);
    assignment_refusal("SMOOTH_FONT", flag);
    EXPECT_EQ(flag.asked, (std::vector<std::string>{"bool"}));

    NumberValue wrong = text();
    assignment_refusal("EMOJI_OFFSET_Y", wrong);
    EXPECT_EQ(wrong.asked, (std::vector<std::string>{"int", "float"}));

    NumberValue below = an_int(-3);
    assignment_refusal("EMOJI_OFFSET_Y", below);
    EXPECT_EQ(below.asked, (std::vector<std::string>{"int", ">=-2.000000"}));

    NumberValue protected_value = an_int(1);
    assignment_refusal("is_scanning", protected_value);
    EXPECT_TRUE(protected_value.asked.empty());
}

TEST(SettingsGuard, EveryDeletionIsRefusedAndProtectedNamesSaySo) {
    EXPECT_NE(deletion_warning("_is_scanning").find("protected"), std::string::npos);
    EXPECT_EQ(deletion_warning("MAX_TEXT_CACHE").find("protected"), std::string::npos);
    EXPECT_NE(deletion_warning("MAX_TEXT_CACHE").find("'MAX_TEXT_CACHE'"), std::string::npos);
}

}  // namespace
