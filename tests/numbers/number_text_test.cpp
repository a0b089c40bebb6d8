#include "numbers/number_text.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "numbers/float_state.h"
#include "system/local_clock.h"
#include "numbers/extended_test_support.h"
#include "numbers/decimal_oracle.h"

namespace kobrant {
namespace {

TEST(ParseNumber, RuleExamples) {
    struct Case {
        std::string_view text;
        Extended expected;
    };
    const Case cases[] = {
        {"12.5", Ext(12.5)},   {"  7", Ext(7.0)},       {"\t\t7", Ext(7.0)},   {" \t\n7", Ext(7.0)},  {"+5", Ext(5.0)},
        {"-.5", -Ext(0.5)},    {"5.", Ext(5.0)},        {".5", Ext(0.5)},      {"007", Ext(7.0)},     {"1e3", Ext(1000.0)},
        {"1E+3", Ext(1000.0)}, {"1d3", Ext(1000.0)},    {"1D3", Ext(1000.0)},  {"1e-2", Decimal(1, -2)},   {"1E", Ext(1.0)},
        {"1E+", Ext(1.0)},     {"1Ex", Ext(1.0)},       {"3.4.5", Decimal(34, -1)},   {"1 000", Ext(1.0)},   {"12,5", Ext(12.0)},
        {"- 5", -Ext(0.0)},    {"abc", Ext(0.0)},       {"", Ext(0.0)},        {".", Ext(0.0)},       {"-", -Ext(0.0)},
        {"1e5000", Ext(0x1p127)}, {"1e-5000", Ext(0.0)}, {"&H1F", Ext(31.0)},  {"&h1f", Ext(31.0)},   {"&B101", Ext(5.0)},
        {"&O17", Ext(15.0)},   {"&Q17", Ext(15.0)},     {"&17", Ext(15.0)},    {"&HFFFF", -Ext(1.0)}, {"&H0FFFF", Ext(65535.0)},
        {"&HFFFF&", Ext(65535.0)}, {"&H8000", -Ext(32768.0)}, {"&H10000", Ext(65536.0)}, {"&HFFFFFFFF", -Ext(1.0)},
        {"&", Ext(0.0)},       {"&H", Ext(0.0)},        {"&Z", Ext(0.0)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=\"" << c.text << "\"";
    }
}

TEST(FormatNumber, RuleExamples) {
    struct Case {
        Extended value;
        int digits;
        std::string_view expected;
    };
    const Case cases[] = {
        {Ext(0.0), 3, " 0"},          {-Ext(0.0), 3, " 0"},         {Ext(5.0), 3, " 5"},
        {-Ext(5.0), 3, "-5"},         {Ext(0.5), 3, " .5"},         {-Ext(0.5), 3, "-.5"},
        {Decimal(5, -2), 3, " .05"},       {Decimal(1, -3), 3, " .001"},     {Decimal(1, -4), 3, " 1E-4"},
        {Decimal(123, -4), 3, " 1.23E-2"}, {Ext(12.5), 3, " 12.5"},      {Decimal(-178, -1), 3, "-17.8"},
        {Ext(270.0), 3, " 270"},      {Ext(999.5), 3, " 1E+3"},     {Ext(1000.0), 3, " 1E+3"},
        {Ext(1234.0), 3, " 1.23E+3"}, {-Ext(2147483648.0), 3, "-2.15E+9"}, {FromSingle(98.6f), 3, " 98.6"},
        {Ext(0.125), 2, " .12"},      {Ext(0.375), 2, " .38"},      {Ext(2.5), 1, " 2"},
        {Ext(3.5), 1, " 4"},          {Ext(9.5), 1, " 1E+1"},       {Ext(10132.5), 5, " 10132"},
        {Ext(10133.5), 5, " 10134"},  {Ext(99999.5), 5, " 1E+5"},   {Ext(123456789.0), 5, " 1.2346E+8"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatNumber(c.value, c.digits)) << "value=" << Hex(c.value) << " n=" << c.digits;
    }
}

TEST(FormatFileNumber, RuleExamples) {
    struct Case {
        Extended value;
        std::string_view expected;
    };
    const Case cases[] = {
        {Ext(5.0), "5"},         {-Ext(12.0), "-12"},   {Ext(0.0), "0"},   {Ext(0.5), ".5"},
        {Ext(123456.0), "123456"}, {Ext(1e15), "1E+15"}, {Ext(1.0) / Ext(3.0), ".333333333333333"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatFileNumber(c.value)) << "value=" << Hex(c.value);
    }
}

TEST(RoundToInteger, RuleExamples) {
    struct Case {
        Extended value;
        std::int32_t expected;
    };
    const Case cases[] = {
        {Ext(0.5), 0},   {Ext(1.5), 2},   {Ext(2.5), 2},   {Ext(3.5), 4},   {-Ext(2.5), -2},  {Ext(36.5), 36},  {Ext(45.5), 46},
        {-Ext(0.5), 0},  {-Ext(3.5), -4}, {-Decimal(26, -1), -3},
        // one step of the last bit beside a tie decides it
        {Ext(3.5) - Ext(0x1p-62), 3}, {Ext(0.5) + Ext(0x1p-64), 1}, {-Ext(2.5) - Ext(0x1p-62), -3},
        {Ext(2147483647.0), 2147483647},  {Decimal(21474836474, -1), 2147483647}, {Ext(2147483647.5), INT32_MIN},
        {-Ext(2147483648.0), INT32_MIN},  {-Ext(2147483648.5), INT32_MIN}, {-Ext(2147483649.0), INT32_MIN},
        {Ext(1e30), INT32_MIN}, {Ext(INFINITY), INT32_MIN}, {Ext(-INFINITY), INT32_MIN}, {Ext(NAN), INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, RoundToInteger(c.value)) << "value=" << Hex(c.value);
    }
}

// The examples written in number_text.h, line by line.
TEST(NumberTextContract, CommentExamples) {
    const Extended kNaN = Ext(NAN);
    const Extended kInfinity = Ext(INFINITY);
    EXPECT_TRUE(SameNumber(Ext(12.5), ParseNumber("12.5")));
    EXPECT_TRUE(SameNumber(Ext(7.0), ParseNumber("  7")));
    EXPECT_TRUE(SameNumber(-Ext(0.5), ParseNumber("-.5")));
    EXPECT_TRUE(SameNumber(Ext(1000.0), ParseNumber("1D3")));
    EXPECT_TRUE(SameNumber(Ext(1.0), ParseNumber("1Ex")));
    EXPECT_TRUE(SameNumber(Decimal(34, -1), ParseNumber("3.4.5")));
    EXPECT_TRUE(SameNumber(Ext(12.0), ParseNumber("12,5")));
    EXPECT_TRUE(SameNumber(Ext(0x1p127), ParseNumber("1e5000")));
    EXPECT_TRUE(SameNumber(Ext(31.0), ParseNumber("&H1F")));
    EXPECT_TRUE(SameNumber(-Ext(1.0), ParseNumber("&HFFFF")));
    EXPECT_TRUE(SameNumber(Ext(65535.0), ParseNumber("&HFFFF&")));
    EXPECT_TRUE(SameNumber(Ext(15.0), ParseNumber("&17")));
    EXPECT_TRUE(SameNumber(Ext(0.0), ParseNumber("abc")));
    EXPECT_TRUE(SameNumber(Ext(0.0), ParseNumber("")));
    EXPECT_TRUE(SameNumber(-Ext(0.0), ParseNumber("- 5")));
    EXPECT_TRUE(SameNumber(Ext(0.0), ParseNumber("1e-5000")));
    EXPECT_TRUE(SameNumber(Ext(0.0), ParseNumber("&Z")));
    EXPECT_TRUE(SameNumber(Ext(0.0), ParseNumber("&H10000000000000000")));

    EXPECT_EQ(" 5", FormatNumber(Ext(5), 3));
    EXPECT_EQ("-5", FormatNumber(Ext(-5), 3));
    EXPECT_EQ(" .5", FormatNumber(Ext(0.5), 3));
    EXPECT_EQ(" 1E-4", FormatNumber(Decimal(1, -4), 3));
    EXPECT_EQ(" 1.23E-2", FormatNumber(Decimal(123, -4), 3));
    EXPECT_EQ(" 1E+3", FormatNumber(Ext(999.5), 3));
    EXPECT_EQ(" 1.23E+3", FormatNumber(Ext(1234), 3));
    EXPECT_EQ(" .12", FormatNumber(Ext(0.125), 2));
    EXPECT_EQ(" .38", FormatNumber(Ext(0.375), 2));
    EXPECT_EQ(" 1.2346E+8", FormatNumber(Ext(123456789), 5));
    EXPECT_EQ(" 0", FormatNumber(-Ext(0.0), 3));
    EXPECT_EQ(" 0", FormatNumber(kNaN, 3));
    EXPECT_EQ(" 9.99E+998", FormatNumber(kInfinity, 3));

    EXPECT_EQ("5", FormatFileNumber(Ext(5)));
    EXPECT_EQ("-12", FormatFileNumber(Ext(-12)));
    EXPECT_EQ(".5", FormatFileNumber(Ext(0.5)));
    EXPECT_EQ("1E+15", FormatFileNumber(Ext(1E+15)));
    EXPECT_EQ(".333333333333333", FormatFileNumber(Ext(1.0) / Ext(3.0)));

    EXPECT_EQ(2, RoundToInteger(Ext(2.5)));
    EXPECT_EQ(4, RoundToInteger(Ext(3.5)));
    EXPECT_EQ(-2, RoundToInteger(-Ext(2.5)));
    EXPECT_EQ(46, RoundToInteger(Ext(45.5)));
    EXPECT_EQ(-2147483648, RoundToInteger(Ext(2147483647.5)));
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
        Extended expected;
    };
    const Case cases[] = {
        {"1" + zeros, Ext(0x1p127)},                    // point 9991 places up
        {"-1" + zeros, -Ext(0x1p127)},
        {"." + zeros + "1", Ext(0.0)},                  // point 9990 places down
        {"." + zeros + "1e99999", Ext(1e8)},            // exponent stops at 9999: 0.1e9
        {std::string(5000, '9') + "e-4999", Decimal(999999999999999999, -17)},
        {"1e99999", Ext(0x1p127)},
        {"1e-99999", Ext(0.0)},
        {"-1e-99999", Ext(0.0)},
        {"1e4932", Ext(0x1p127)},                       // point 4933 up: the cut-off
        {"-9.99e4931", -Decimal(999, 4929)},                // point 4932 up: still a number
        {"1e-4933", Decimal(1, -4933)},                      // point 4932 down: a subnormal, not zero
        {"0.1e-4932", Decimal(1, -4933)},
        {"1e-4934", Ext(0.0)},                          // point 4933 down
        {"0e99999", Ext(0.0)},
        {"-0.000", -Ext(0.0)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=" << c.text.substr(0, 40) << "... ("
                                                                 << c.text.size() << " bytes)";
    }
}

TEST(ParseNumber, WhatEndsOrSkipsTheNumber) {
    struct Case {
        std::string_view text;
        Extended expected;
    };
    const Case cases[] = {
        {"\r7", Ext(0.0)},     {"\n\t 7", Ext(7.0)},    {"+-5", Ext(0.0)},    {"--5", -Ext(0.0)},  {"5-3", Ext(5.0)},
        {"1e+-3", Ext(1.0)},   {"1e 3", Ext(1.0)},      {"2D-1", Decimal(2, -1)},   {"1.5e1.5", Ext(15.0)}, {"e5", Ext(0.0)},
        {".e5", Ext(0.0)},     {"0x10", Ext(0.0)},      {"1\"5", Ext(1.0)},   {"1'5", Ext(1.0)},   {"12\xE4", Ext(12.0)},
        {"1e0009", Ext(1e9)},  {"  -  5", -Ext(0.0)},   {"7 ", Ext(7.0)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ParseNumber(c.text))) << "input=\"" << c.text << "\"";
    }
}

TEST(ParseNumber, RadixFormMarksAndSigns) {
    struct Case {
        std::string_view text;
        Extended expected;
    };
    const Case cases[] = {
        {"&HFFFFFFFFFFFFFFFF", -Ext(1.0)},           {"&H7FFFFFFFFFFFFFFF", FromInteger(9223372036854775807)},
        {"&H8000000000000000", -Ext(0x1p63)},        {"&H10000000000000000", Ext(0.0)},   // 65 bits
        {"&H000000000000000000001", Ext(1.0)},       // leading zeros take no room
        {"&HFFFFFFFFFFFFFFFF?", Ext(0.0)},           {"&H7FFFFFFFFFFFFFFF??", FromInteger(9223372036854775807)},
        {"&H8000?", Ext(32768.0)},                   {"&H8000???", Ext(32768.0)},
        {"&H8000%", -Ext(32768.0)},                  {"&H8000&", Ext(32768.0)},
        {"&H80000000", -Ext(2147483648.0)},          {"&H80000000&", -Ext(2147483648.0)},
        {"&H80000000&&", Ext(2147483648.0)},         {"&H08000", Ext(32768.0)},
        {"&H080000000", Ext(2147483648.0)},          {"&H7FFF", Ext(32767.0)},
        {"&B1111111111111111", -Ext(1.0)},           {"&O177777", -Ext(1.0)},
        {"&177777", -Ext(1.0)},                      {"&0177777", Ext(65535.0)},
        {"&9", Ext(0.0)},                            {"&18", Ext(1.0)},                   // 8 is no octal digit
        {"&B102", Ext(2.0)},                         {"&hz", Ext(0.0)},
        {"&Hff.5", Ext(255.0)},                      {"  &H10", Ext(16.0)},
        {"-&H10", -Ext(0.0)},                        {"&B", Ext(0.0)},
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
// ParseNumber's single multiplication or division is then correctly rounded, as the oracle is.
TEST(ParseNumber, PlainDecimalsMatchCorrectRounding) {
    std::mt19937_64 random(20261206);
    for (int i = 0; i < 20000; ++i) {
        const RandomDecimal decimal = MakeDecimal(random, 18, 0, 0, false);
        const Extended expected = NearestExtended(decimal.text);
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
        Extended expected = Ext(0.0);
        if (decimal.point >= 4933) {
            expected = decimal.text[0] == '-' ? -Ext(0x1p127) : Ext(0x1p127);
        } else if (decimal.point > -4933) {
            expected = NearestExtended(decimal.text);
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
        ASSERT_EQ(expected, FormatNumber(FromInteger(value), budget)) << "value=" << value << " n=" << budget;
    }
}

TEST(FormatNumber, BudgetRoundingAndLayoutBorders) {
    struct Case {
        Extended value;
        int digits;
        std::string_view expected;
    };
    const Extended kInfinity = Ext(INFINITY);
    const Case cases[] = {
        // only the digit after the budget counts: .1251 is not rounded up to .13
        {Decimal(1251, -4), 2, " .12"},
        // rounded twice: first to 18 digits (.135000...), then the 5 after the odd 3 goes up
        {ScaleByPowerOfTen(13499999999999999999ULL, -20), 2, " .14"},
        {Decimal(995, -3), 2, " 1"},             {Decimal(-996, -2), 2, "-10"},          {Decimal(9996, -2), 3, " 100"},
        {Ext(100), 3, " 100"},         {Ext(999), 3, " 999"},            {Decimal(999, -3), 3, " .999"},
        {Decimal(999, -4), 3, " 9.99E-2"},      {Decimal(1234, -2), 3, " 12.3"},        {Decimal(1234, -1), 3, " 123"},
        {Ext(1234.5), 3, " 1.23E+3"},      {-Decimal(1, -3), 3, "-.001"},       {Ext(1e18), 18, " 1E+18"},
        {Ext(1e17), 18, " 100000000000000000"},
        {Ext(1.0) / Ext(3.0), 0, " .333333333333333333"},  {Ext(1.0) / Ext(3.0), 19, " .333333333333333333"},
        {Ext(1.0) / Ext(3.0), -1, " .333333333333333333"}, {Ext(1.0) / Ext(3.0), 18, " .333333333333333333"},
        {Ext(2.0) / Ext(3.0), 17, " .66666666666666667"},
        // a 19-digit whole number that lies exactly halfway between two 18-digit forms
        {FromInteger(1234567890123456785), 18, " 1.23456789012345678E+18"},
        {FromInteger(1234567890123456795), 18, " 1.2345678901234568E+18"},
        {kInfinity, 3, " 9.99E+998"},  {-kInfinity, 3, "-9.99E+998"}, {kInfinity, 1, " 9E+998"},
        {kInfinity, 0, " 9.99999999999999999E+998"},
        // the smallest subnormal, 3.6451995...E-4951: the 5 after the even 4 stays down
        {Extended{1, 0}, 3, " 3.64E-4951"},
        {Extended{kExtendedIntegerBit, 1}, 5, " 3.3621E-4932"},
        {Extended{~std::uint64_t{0}, 0x7FFE}, 3, " 1.19E+4932"},
        {-Ext(0x1p127), 15, "-1.70141183460469E+38"},
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
        EXPECT_EQ(position, RoundToInteger(ParseNumber(FormatFileNumber(FromInteger(position))))) << "position=" << position;
    }
}

// whole + eighths / 8, rounded on the integers: the eighths decide, 4 is the tie.
TEST(RoundToInteger, AgreesWithIntegerRoundingAcrossTheRange) {
    std::mt19937_64 random(32);
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t whole = std::uniform_int_distribution<std::int64_t>(-3000000000LL, 3000000000LL)(random);
        const auto eighths = static_cast<std::int64_t>(random() % 8);
        const Extended value = FromInteger(whole) + FromInteger(eighths) / FromInteger(8);
        const std::int64_t nearest = whole + (eighths > 4 || (eighths == 4 && whole % 2 != 0) ? 1 : 0);
        const std::int32_t expected = (nearest >= INT32_MIN && nearest <= INT32_MAX) ? static_cast<std::int32_t>(nearest) : INT32_MIN;
        ASSERT_EQ(expected, RoundToInteger(value)) << "value=" << Hex(value);
    }
}

// nearbyint or a plain conversion would follow the rounding mode that some other code
// may have left behind; the rule is ties to even whatever the mode.
TEST(RoundToInteger, IgnoresTheRoundingMode) {
    const Extended third = Ext(1.0) / Ext(3.0);
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO, FE_TONEAREST}) {
        ASSERT_EQ(0, std::fesetround(mode)) << "mode=" << mode;
        EXPECT_EQ(2, RoundToInteger(Ext(2.5))) << "mode=" << mode;
        EXPECT_EQ(-2, RoundToInteger(-Ext(2.5))) << "mode=" << mode;
        EXPECT_EQ(4, RoundToInteger(Ext(3.5))) << "mode=" << mode;
        EXPECT_EQ(-3, RoundToInteger(-Decimal(27, -1))) << "mode=" << mode;
        EXPECT_EQ(3, RoundToInteger(Decimal(27, -1))) << "mode=" << mode;
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
    // A 32-bit time_t (32-bit Linux without _TIME_BITS=64) ends in January 2038.
    EXPECT_GE(sizeof(std::time_t), 8u);
}

}  // namespace
}  // namespace kobrant
