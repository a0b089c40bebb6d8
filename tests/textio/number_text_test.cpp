#include "textio/number_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "textio/float_state.h"
#include "textio/local_clock.h"
#include "textio/long_double_hex.h"

namespace kobrant {
namespace {

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

// The examples written in number_text.h, line by line.
TEST(NumberTextContract, CommentExamples) {
    const long double kNaN = NAN;
    const long double kInfinity = INFINITY;
    EXPECT_TRUE(SameNumber(12.5L, ParseNumber("12.5")));
    EXPECT_TRUE(SameNumber(7.0L, ParseNumber("  7")));
    EXPECT_TRUE(SameNumber(-0.5L, ParseNumber("-.5")));
    EXPECT_TRUE(SameNumber(1000.0L, ParseNumber("1D3")));
    EXPECT_TRUE(SameNumber(1.0L, ParseNumber("1Ex")));
    EXPECT_TRUE(SameNumber(3.4L, ParseNumber("3.4.5")));
    EXPECT_TRUE(SameNumber(12.0L, ParseNumber("12,5")));
    EXPECT_TRUE(SameNumber(0x1p127L, ParseNumber("1e5000")));
    EXPECT_TRUE(SameNumber(31.0L, ParseNumber("&H1F")));
    EXPECT_TRUE(SameNumber(-1.0L, ParseNumber("&HFFFF")));
    EXPECT_TRUE(SameNumber(65535.0L, ParseNumber("&HFFFF&")));
    EXPECT_TRUE(SameNumber(15.0L, ParseNumber("&17")));
    EXPECT_TRUE(SameNumber(0.0L, ParseNumber("abc")));
    EXPECT_TRUE(SameNumber(0.0L, ParseNumber("")));
    EXPECT_TRUE(SameNumber(-0.0L, ParseNumber("- 5")));
    EXPECT_TRUE(SameNumber(0.0L, ParseNumber("1e-5000")));
    EXPECT_TRUE(SameNumber(0.0L, ParseNumber("&Z")));
    EXPECT_TRUE(SameNumber(0.0L, ParseNumber("&H10000000000000000")));

    EXPECT_EQ(" 5", FormatNumber(5, 3));
    EXPECT_EQ("-5", FormatNumber(-5, 3));
    EXPECT_EQ(" .5", FormatNumber(0.5L, 3));
    EXPECT_EQ(" 1E-4", FormatNumber(0.0001L, 3));
    EXPECT_EQ(" 1.23E-2", FormatNumber(0.0123L, 3));
    EXPECT_EQ(" 1E+3", FormatNumber(999.5L, 3));
    EXPECT_EQ(" 1.23E+3", FormatNumber(1234, 3));
    EXPECT_EQ(" .12", FormatNumber(0.125L, 2));
    EXPECT_EQ(" .38", FormatNumber(0.375L, 2));
    EXPECT_EQ(" 1.2346E+8", FormatNumber(123456789, 5));
    EXPECT_EQ(" 0", FormatNumber(-0.0L, 3));
    EXPECT_EQ(" 0", FormatNumber(kNaN, 3));
    EXPECT_EQ(" 9.99E+998", FormatNumber(kInfinity, 3));

    EXPECT_EQ("5", FormatFileNumber(5));
    EXPECT_EQ("-12", FormatFileNumber(-12));
    EXPECT_EQ(".5", FormatFileNumber(0.5L));
    EXPECT_EQ("1E+15", FormatFileNumber(1E+15L));
    EXPECT_EQ(".333333333333333", FormatFileNumber(1.0L / 3.0L));

    EXPECT_EQ(2, RoundToInteger(2.5L));
    EXPECT_EQ(4, RoundToInteger(3.5L));
    EXPECT_EQ(-2, RoundToInteger(-2.5L));
    EXPECT_EQ(46, RoundToInteger(45.5L));
    EXPECT_EQ(-2147483648, RoundToInteger(2147483647.5L));
    EXPECT_EQ(-2147483648, RoundToInteger(kNaN));

    EXPECT_EQ("1.2.3", ReplaceAll(",", ".", "1,2,3"));
    EXPECT_EQ("ba", ReplaceAll("aa", "b", "aaa"));
    EXPECT_EQ("01.23E+3", ReplaceAll(" ", "0", " 1.23E+3"));
    EXPECT_EQ("005", RightPart("0000005", 3));
    EXPECT_EQ("ab", RightPart("ab", 3));
    EXPECT_EQ("14:05", MidPart("14:05:09", 1, 5));
    EXPECT_EQ("06", MidPart("12-06-2026", 4, 2));
    EXPECT_EQ("", MidPart("abc", 9, 5));
    EXPECT_EQ("", MidPart("abc", 0, 2));
    EXPECT_LT(CompareText("Z", "a"), 0);
    EXPECT_GT(CompareText("       ", "      "), 0);
    EXPECT_LT(CompareText("\t5", "      "), 0);
    EXPECT_GT(CompareText("-5", "      "), 0);

    EXPECT_EQ("12-06-2026", FormatDateText({2026, 12, 6, 14, 5, 9}));
    EXPECT_EQ("14:05:09", FormatTimeText({2026, 12, 6, 14, 5, 9}));
}

TEST(ParseNumber, DigitsBeyondEighteenAreDroppedNotRounded) {
    struct Case {
        std::string_view text;
        std::string_view sameAs;
    };
    const Case cases[] = {
        {"9999999999999999999", "9999999999999999990"},
        {"1234567890123456789999", "1234567890123456780000"},
        {"0.0001234567890123456789", "0.000123456789012345678"},
        {"1.0000000000000000009", "1"},
        {"-77777777777777777777e-5", "-77777777777777777700e-5"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(ParseNumber(c.sameAs), ParseNumber(c.text))) << "input=" << c.text;
    }
}

// Texts far longer than any typed value: digit counts and the exponent must not wrap.
TEST(ParseNumber, LongTextsAndExtremePoints) {
    const std::string zeros(9990, '0');
    struct Case {
        std::string text;
        long double expected;
    };
    const Case cases[] = {
        {"1" + zeros, 0x1p127L},                    // point 9991 places up
        {"-1" + zeros, -0x1p127L},
        {"." + zeros + "1", 0.0L},                  // point 9990 places down
        {"." + zeros + "1e99999", 1e8L},            // exponent stops at 9999: 0.1e9
        {std::string(5000, '9') + "e-4999", 9.99999999999999999L},
        {"1e99999", 0x1p127L},
        {"1e-99999", 0.0L},
        {"-1e-99999", 0.0L},
        {"1e4932", 0x1p127L},                       // point 4933 up: the cut-off
        {"-9.99e4931", -9.99e4931L},                // point 4932 up: still a number
        {"1e-4933", 1e-4933L},                      // point 4932 down: a subnormal, not zero
        {"0.1e-4932", 1e-4933L},
        {"1e-4934", 0.0L},                          // point 4933 down
        {"0e99999", 0.0L},
        {"-0.000", -0.0L},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=" << c.text.substr(0, 40) << "... ("
                                                                 << c.text.size() << " bytes)";
    }
}

TEST(ParseNumber, WhatEndsOrSkipsTheNumber) {
    struct Case {
        std::string_view text;
        long double expected;
    };
    const Case cases[] = {
        {"\r7", 0.0L},     {"\n\t 7", 7.0L},    {"+-5", 0.0L},    {"--5", -0.0L},  {"5-3", 5.0L},
        {"1e+-3", 1.0L},   {"1e 3", 1.0L},      {"2D-1", 0.2L},   {"1.5e1.5", 15.0L}, {"e5", 0.0L},
        {".e5", 0.0L},     {"0x10", 0.0L},      {"1\"5", 1.0L},   {"1'5", 1.0L},   {"12\xE4", 12.0L},
        {"1e0009", 1e9L},  {"  -  5", -0.0L},   {"7 ", 7.0L},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=\"" << c.text << "\"";
    }
}

TEST(ParseNumber, RadixFormMarksAndSigns) {
    struct Case {
        std::string_view text;
        long double expected;
    };
    const Case cases[] = {
        {"&HFFFFFFFFFFFFFFFF", -1.0L},           {"&H7FFFFFFFFFFFFFFF", 9223372036854775807.0L},
        {"&H8000000000000000", -0x1p63L},        {"&H10000000000000000", 0.0L},   // 65 bits
        {"&H000000000000000000001", 1.0L},       // leading zeros take no room
        {"&HFFFFFFFFFFFFFFFF?", 0.0L},           {"&H7FFFFFFFFFFFFFFF??", 9223372036854775807.0L},
        {"&H8000?", 32768.0L},                   {"&H8000???", 32768.0L},
        {"&H8000%", -32768.0L},                  {"&H8000&", 32768.0L},
        {"&H80000000", -2147483648.0L},          {"&H80000000&", -2147483648.0L},
        {"&H80000000&&", 2147483648.0L},         {"&H08000", 32768.0L},
        {"&H080000000", 2147483648.0L},          {"&H7FFF", 32767.0L},
        {"&B1111111111111111", -1.0L},           {"&O177777", -1.0L},
        {"&177777", -1.0L},                      {"&0177777", 65535.0L},
        {"&9", 0.0L},                            {"&18", 1.0L},                   // 8 is no octal digit
        {"&B102", 2.0L},                         {"&hz", 0.0L},
        {"&Hff.5", 255.0L},                      {"  &H10", 16.0L},
        {"-&H10", -0.0L},                        {"&B", 0.0L},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=\"" << c.text << "\"";
    }
}

// Digits and exponent of a random decimal with at most 18 significant digits.
struct RandomDecimal {
    std::string text;
    std::int64_t point;  // places of the point above the first significant digit
};

RandomDecimal MakeDecimal(std::mt19937_64& random, int maxDigits, int minExponent, int maxExponent, bool withExponent) {
    const int count = std::uniform_int_distribution<int>(1, maxDigits)(random);
    std::string digits(1, static_cast<char>('1' + random() % 9));
    for (int k = 1; k < count; ++k) digits.push_back(static_cast<char>('0' + random() % 10));
    const int pointAt = std::uniform_int_distribution<int>(0, count)(random);
    const int leadingZeros = pointAt == 0 ? static_cast<int>(random() % 4) : 0;
    RandomDecimal decimal;
    if (random() % 2 != 0) decimal.text = "-";
    decimal.text += digits.substr(0, static_cast<std::size_t>(pointAt)) + "." + std::string(static_cast<std::size_t>(leadingZeros), '0') +
                    digits.substr(static_cast<std::size_t>(pointAt));
    decimal.point = pointAt - leadingZeros;
    if (withExponent) {
        const int exponent = std::uniform_int_distribution<int>(minExponent, maxExponent)(random);
        decimal.text += "e" + std::to_string(exponent);
        decimal.point += exponent;
    }
    return decimal;
}

// A plain decimal of up to 18 digits needs one exact power of ten of at most 10^18:
// ParseNumber's single multiplication or division is then correctly rounded, as strtold is.
TEST(ParseNumber, PlainDecimalsMatchCorrectRounding) {
    std::mt19937_64 random(20261206);
    for (int i = 0; i < 20000; ++i) {
        const RandomDecimal decimal = MakeDecimal(random, 18, 0, 0, false);
        const long double expected = std::strtold(decimal.text.c_str(), nullptr);
        ASSERT_TRUE(SameNumber(expected, ParseNumber(decimal.text))) << "input=" << decimal.text;
    }
}

// Beyond the exact powers the scaling is exact too, subnormal results included; within
// the cut-offs the result is the correctly rounded value.
TEST(ParseNumber, ExponentFormsMatchCorrectRounding) {
    std::mt19937_64 random(4932);
    for (int i = 0; i < 3000; ++i) {
        const bool wide = i % 2 == 0;
        const RandomDecimal decimal = wide ? MakeDecimal(random, 18, -4960, 4940, true) : MakeDecimal(random, 18, -40, 40, true);
        long double expected = 0.0L;
        if (decimal.point >= 4933) {
            expected = decimal.text[0] == '-' ? -0x1p127L : 0x1p127L;
        } else if (decimal.point > -4933) {
            expected = std::strtold(decimal.text.c_str(), nullptr);
        }
        ASSERT_TRUE(SameNumber(expected, ParseNumber(decimal.text))) << "input=" << decimal.text;
    }
}

TEST(FormatNumber, WholeNumbersWithinTheBudgetAreSignAndDigits) {
    std::mt19937_64 random(18);
    for (int i = 0; i < 5000; ++i) {
        const int budget = 1 + i % 18;
        std::int64_t limit = 1;
        for (int k = 0; k < budget; ++k) limit *= 10;
        const std::int64_t value = std::uniform_int_distribution<std::int64_t>(-(limit - 1), limit - 1)(random);
        const std::string expected = (value < 0 ? "-" : " ") + std::to_string(value < 0 ? -value : value);
        ASSERT_EQ(expected, FormatNumber(static_cast<long double>(value), budget)) << "value=" << value << " n=" << budget;
    }
}

TEST(FormatNumber, BudgetRoundingAndLayoutBorders) {
    struct Case {
        long double value;
        int digits;
        std::string_view expected;
    };
    const long double kInfinity = INFINITY;
    const Case cases[] = {
        // only the digit after the budget counts: .1251 is not rounded up to .13
        {0.1251L, 2, " .12"},
        // rounded twice: first to 18 digits (.135000...), then the 5 after the odd 3 goes up
        {0.13499999999999999999L, 2, " .14"},
        {0.995L, 2, " 1"},             {-9.96L, 2, "-10"},          {99.96L, 3, " 100"},
        {100, 3, " 100"},              {999, 3, " 999"},            {0.999L, 3, " .999"},
        {0.0999L, 3, " 9.99E-2"},      {12.34L, 3, " 12.3"},        {123.4L, 3, " 123"},
        {1234.5L, 3, " 1.23E+3"},      {-0.001L, 3, "-.001"},       {1e18L, 18, " 1E+18"},
        {1e17L, 18, " 100000000000000000"},
        {1.0L / 3.0L, 0, " .333333333333333333"},  {1.0L / 3.0L, 19, " .333333333333333333"},
        {1.0L / 3.0L, -1, " .333333333333333333"}, {1.0L / 3.0L, 18, " .333333333333333333"},
        {2.0L / 3.0L, 17, " .66666666666666667"},
        // a 19-digit whole number that lies exactly halfway between two 18-digit forms
        {1234567890123456785.0L, 18, " 1.23456789012345678E+18"},
        {1234567890123456795.0L, 18, " 1.2345678901234568E+18"},
        {kInfinity, 3, " 9.99E+998"},  {-kInfinity, 3, "-9.99E+998"}, {kInfinity, 1, " 9E+998"},
        {kInfinity, 0, " 9.99999999999999999E+998"},
        // the smallest subnormal, 3.6451995...E-4951: the 5 after the even 4 stays down
        {0x1p-16445L, 3, " 3.64E-4951"},
        {0x1p-16382L, 5, " 3.3621E-4932"},
        {1.18973149535723176502e+4932L, 3, " 1.19E+4932"},
        {-0x1p127L, 15, "-1.70141183460469E+38"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatNumber(c.value, c.digits)) << "value=" << Hex(c.value) << " n=" << c.digits;
    }
}

// What the settings file writes, ParseNumber reads back as the same 15-digit form.
TEST(FormatFileNumber, ReadsBackToTheSameText) {
    std::mt19937_64 random(1015);
    for (int i = 0; i < 5000; ++i) {
        const RandomDecimal decimal = MakeDecimal(random, 18, -60, 60, true);
        const std::string written = FormatFileNumber(ParseNumber(decimal.text));
        ASSERT_EQ(written, FormatFileNumber(ParseNumber(written))) << "input=" << decimal.text;
    }
    for (std::int32_t position : {0, 5, -1, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(position, RoundToInteger(ParseNumber(FormatFileNumber(position)))) << "position=" << position;
    }
}

TEST(RoundToInteger, AgreesWithNearbyintAcrossTheRange) {
    std::mt19937_64 random(32);
    for (int i = 0; i < 20000; ++i) {
        const long double whole = static_cast<long double>(std::uniform_int_distribution<std::int64_t>(-3000000000LL, 3000000000LL)(random));
        const long double fraction = static_cast<long double>(random() % 8) / 8.0L;  // ties included
        const long double value = whole + fraction;
        const long double nearest = std::nearbyintl(value);  // ties to even in the set state
        const std::int32_t expected = (nearest >= -2147483648.0L && nearest <= 2147483647.0L) ? static_cast<std::int32_t>(nearest) : INT32_MIN;
        ASSERT_EQ(expected, RoundToInteger(value)) << "value=" << Hex(value);
    }
}

// nearbyint or a plain conversion would follow the rounding mode that some other code
// may have left behind; the rule is ties to even whatever the mode.
TEST(RoundToInteger, IgnoresTheRoundingMode) {
    const long double third = 1.0L / 3.0L;
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
        ASSERT_EQ(0, std::fesetround(mode)) << "mode=" << mode;
        EXPECT_EQ(2, RoundToInteger(2.5L)) << "mode=" << mode;
        EXPECT_EQ(-2, RoundToInteger(-2.5L)) << "mode=" << mode;
        EXPECT_EQ(4, RoundToInteger(3.5L)) << "mode=" << mode;
        EXPECT_EQ(-3, RoundToInteger(-2.7L)) << "mode=" << mode;
        EXPECT_EQ(3, RoundToInteger(2.7L)) << "mode=" << mode;
        EXPECT_EQ(" .333333333333333333", FormatNumber(third, 18)) << "mode=" << mode;
    }
    SetFloatingPointState();
}

TEST(TextOperations, ReplaceAll) {
    struct Case {
        std::string_view search, replacement, text, expected;
    };
    const Case cases[] = {
        {",", ".", "12,5", "12.5"},   {",", ".", "1,2,3", "1.2.3"},   {",", ".", "12.5", "12.5"},
        {" ", "0", " 5", "05"},       {" ", "0", "  7", "007"},       {" ", "0", "-5", "-5"},
        {"aa", "b", "aaa", "ba"},     {"a", "aa", "aaa", "aaaaaa"},   {"", "x", "abc", "abc"},
        {",", ".", "", ""},           {"\"", "'", "a\"b\"", "a'b'"},  {"abc", "", "xabcyabc", "xy"},
        {"\xE4", "ae", "B\xE4r", "Baer"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ReplaceAll(c.search, c.replacement, c.text))
            << "search=\"" << c.search << "\" replacement=\"" << c.replacement << "\" text=\"" << c.text << "\"";
    }
}

TEST(TextOperations, RightPartAndMidPart) {
    struct Case {
        bool mid;           // MidPart(text, start, count), else RightPart(text, count)
        std::string_view text;
        std::size_t start;
        std::size_t count;
        std::string_view expected;
    };
    const Case cases[] = {
        {false, "0000005", 0, 3, "005"}, {false, "000000-5", 0, 3, "0-5"}, {false, "ab", 0, 3, "ab"},
        {false, "", 0, 3, ""},           {false, "abc", 0, 0, ""},         {false, "abc", 0, 3, "abc"},
        {true, "14:05:09", 1, 5, "14:05"}, {true, "12-06-2026", 4, 2, "06"}, {true, "abc", 9, 5, ""},
        {true, "abc", 3, 5, "c"},          {true, "abc", 4, 1, ""},          {true, "abc", 0, 1, ""},
        {true, "abc", 2, 0, ""},           {true, "abc", 1, SIZE_MAX, "abc"},
    };
    for (const Case& c : cases) {
        const std::string actual = c.mid ? MidPart(c.text, c.start, c.count) : RightPart(c.text, c.count);
        EXPECT_EQ(c.expected, actual) << (c.mid ? "MidPart" : "RightPart") << " text=\"" << c.text << "\" start=" << c.start
                                      << " count=" << c.count;
    }
}

TEST(TextOperations, CompareTextIsBytewiseUnsigned) {
    struct Case {
        std::string_view a, b;
        int expected;  // sign only
    };
    const std::string_view sixBlanks = "      ";
    const Case cases[] = {
        {"", sixBlanks, -1},       {" ", sixBlanks, -1},     {sixBlanks, sixBlanks, 0},
        {"       ", sixBlanks, 1}, {"-5", sixBlanks, 1},     {"5", sixBlanks, 1},
        {" 5", sixBlanks, 1},      {"\t", sixBlanks, -1},    {"Z", "a", -1},
        {"z", "\xE4", -1},         {"\xE4", "z", 1},         {"abc", "abd", -1},
        {"ab", "abc", -1},         {"", "", 0},
    };
    for (const Case& c : cases) {
        const int actual = CompareText(c.a, c.b);
        EXPECT_EQ(c.expected, (actual > 0) - (actual < 0)) << "a=\"" << c.a << "\" b=\"" << c.b << "\"";
    }
}

TEST(ClockTexts, FixedWidthFields) {
    struct Case {
        ClockReading clock;
        std::string_view date, time;
    };
    const Case cases[] = {
        {{2026, 12, 6, 14, 5, 9}, "12-06-2026", "14:05:09"},
        {{2000, 1, 1, 0, 0, 0}, "01-01-2000", "00:00:00"},
        {{1999, 12, 31, 23, 59, 59}, "12-31-1999", "23:59:59"},
        {{5, 7, 4, 9, 8, 7}, "07-04-0005", "09:08:07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.date, FormatDateText(c.clock)) << "date " << c.date;
        EXPECT_EQ(c.time, FormatTimeText(c.clock)) << "time " << c.time;
    }
}

TEST(ClockTexts, LocalClockKeepsTheShapeAndTheFloatingPointState) {
    const std::string date = FormatDateText(ReadLocalClock());
    const std::string time = FormatTimeText(ReadLocalClock());
    EXPECT_TRUE(FloatingPointStateHolds());
    ASSERT_EQ(10u, date.size()) << date;
    ASSERT_EQ(8u, time.size()) << time;
    EXPECT_EQ('-', date[2]) << date;
    EXPECT_EQ('-', date[5]) << date;
    EXPECT_EQ(':', time[2]) << time;
    EXPECT_EQ(':', time[5]) << time;
    EXPECT_GE(date.substr(6), "2020") << date;
}

}  // namespace
}  // namespace kobrant
