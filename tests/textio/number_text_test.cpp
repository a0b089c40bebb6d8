#include "textio/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "textio/float_state.h"

namespace kobrant {
namespace {

// Every number rule assumes the state that start-up sets; the test runner does not set it.
struct FloatStateEnvironment : ::testing::Environment {
    void SetUp() override { SetFloatingPointState(); }
};
[[maybe_unused]] const auto* const kFloatState = ::testing::AddGlobalTestEnvironment(new FloatStateEnvironment);

std::string Hex(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%La", value);
    return buffer;
}

// Same value and same sign (a negative zero is told apart from zero).
::testing::AssertionResult SameNumber(long double expected, long double actual) {
    if (expected == actual && std::signbit(expected) == std::signbit(actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << Hex(expected) << ", got " << Hex(actual);
}

TEST(ParseNumber, RuleExamples) {
    struct Case {
        std::string_view text;
        long double expected;
    };
    const Case cases[] = {
        {"12.5", 12.5L},   {"  7", 7.0L},       {"\t\t7", 7.0L},   {" \t\n7", 7.0L},  {"+5", 5.0L},
        {"-.5", -0.5L},    {"5.", 5.0L},        {".5", 0.5L},      {"007", 7.0L},     {"1e3", 1000.0L},
        {"1E+3", 1000.0L}, {"1d3", 1000.0L},    {"1D3", 1000.0L},  {"1e-2", 0.01L},   {"1E", 1.0L},
        {"1E+", 1.0L},     {"1Ex", 1.0L},       {"3.4.5", 3.4L},   {"1 000", 1.0L},   {"12,5", 12.0L},
        {"- 5", -0.0L},    {"abc", 0.0L},       {"", 0.0L},        {".", 0.0L},       {"-", -0.0L},
        {"1e5000", 0x1p127L}, {"1e-5000", 0.0L}, {"&H1F", 31.0L},  {"&h1f", 31.0L},   {"&B101", 5.0L},
        {"&O17", 15.0L},   {"&Q17", 15.0L},     {"&17", 15.0L},    {"&HFFFF", -1.0L}, {"&H0FFFF", 65535.0L},
        {"&HFFFF&", 65535.0L}, {"&H8000", -32768.0L}, {"&H10000", 65536.0L}, {"&HFFFFFFFF", -1.0L},
        {"&", 0.0L},       {"&H", 0.0L},        {"&Z", 0.0L},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=\"" << c.text << "\"";
    }
}

TEST(FormatNumber, RuleExamples) {
    struct Case {
        long double value;
        int digits;
        std::string_view expected;
    };
    const Case cases[] = {
        {0.0L, 3, " 0"},          {-0.0L, 3, " 0"},         {5.0L, 3, " 5"},
        {-5.0L, 3, "-5"},         {0.5L, 3, " .5"},         {-0.5L, 3, "-.5"},
        {0.05L, 3, " .05"},       {0.001L, 3, " .001"},     {0.0001L, 3, " 1E-4"},
        {0.0123L, 3, " 1.23E-2"}, {12.5L, 3, " 12.5"},      {-17.8L, 3, "-17.8"},
        {270.0L, 3, " 270"},      {999.5L, 3, " 1E+3"},     {1000.0L, 3, " 1E+3"},
        {1234.0L, 3, " 1.23E+3"}, {-2147483648.0L, 3, "-2.15E+9"}, {98.6f, 3, " 98.6"},
        {0.125L, 2, " .12"},      {0.375L, 2, " .38"},      {2.5L, 1, " 2"},
        {3.5L, 1, " 4"},          {9.5L, 1, " 1E+1"},       {10132.5L, 5, " 10132"},
        {10133.5L, 5, " 10134"},  {99999.5L, 5, " 1E+5"},   {123456789.0L, 5, " 1.2346E+8"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatNumber(c.value, c.digits)) << "value=" << Hex(c.value) << " n=" << c.digits;
    }
}

TEST(FormatFileNumber, RuleExamples) {
    struct Case {
        long double value;
        std::string_view expected;
    };
    const Case cases[] = {
        {5.0L, "5"},         {-12.0L, "-12"},   {0.0L, "0"},   {0.5L, ".5"},
        {123456.0L, "123456"}, {1e15L, "1E+15"}, {1.0L / 3.0L, ".333333333333333"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatFileNumber(c.value)) << "value=" << Hex(c.value);
    }
}

TEST(RoundToInteger, RuleExamples) {
    struct Case {
        long double value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0.5L, 0},   {1.5L, 2},   {2.5L, 2},   {3.5L, 4},   {-2.5L, -2},  {36.5L, 36},  {45.5L, 46},
        {-0.5L, 0},  {-3.5L, -4}, {-2.6L, -3},
        // one step of the last bit beside a tie decides it
        {3.5L - 0x1p-62L, 3}, {0.5L + 0x1p-64L, 1}, {-2.5L - 0x1p-62L, -3},
        {2147483647.0L, 2147483647},  {2147483647.4L, 2147483647}, {2147483647.5L, INT32_MIN},
        {-2147483648.0L, INT32_MIN},  {-2147483648.5L, INT32_MIN}, {-2147483649.0L, INT32_MIN},
        {1e30L, INT32_MIN}, {INFINITY, INT32_MIN}, {-INFINITY, INT32_MIN}, {NAN, INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, RoundToInteger(c.value)) << "value=" << Hex(c.value);
    }
}

}  // namespace
}  // namespace kobrant
