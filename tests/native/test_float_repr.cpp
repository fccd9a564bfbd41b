// Fingerprint times are written exactly as the host's repr(float) writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "index/float_repr.h"

namespace {

struct ReprCase {
    double value;
    const char* text;  // repr() of the value in the host
};

class FloatRepr : public ::testing::TestWithParam<ReprCase> {};

TEST_P(FloatRepr, MatchesTheHost) { EXPECT_EQ(lumo::index::python_float_repr(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Values, FloatRepr,
    ::testing::Values(ReprCase{1.0, "1.0"}, ReprCase{0.1, "0.1"}, ReprCase{1733567890.25, "1733567890.25"},
                      ReprCase{1733567890.1234567, "1733567890.1234567"}, ReprCase{1e+16, "1e+16"},
                      ReprCase{1234567890123456.0, "1234567890123456.0"},
                      ReprCase{1.2345678901234568e+16, "1.2345678901234568e+16"}, ReprCase{1e-05, "1e-05"},
                      ReprCase{0.0001, "0.0001"}, ReprCase{5e-324, "5e-324"}, ReprCase{-0.0, "-0.0"},
                      ReprCase{0.0, "0.0"}, ReprCase{1.7976931348623157e+308, "1.7976931348623157e+308"},
                      ReprCase{-2.5, "-2.5"}, ReprCase{123.456, "123.456"}, ReprCase{1e+22, "1e+22"},
                      ReprCase{1.152921504606847e+18, "1.152921504606847e+18"},
                      ReprCase{0.3333333333333333, "0.3333333333333333"},
                      ReprCase{std::numeric_limits<double>::infinity(), "inf"},
                      ReprCase{-std::numeric_limits<double>::infinity(), "-inf"}, ReprCase{std::nan(""), "nan"}));

}  // namespace
