#include "numbers/decimal_form.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "numbers/decimal_oracle.h"
#include "numbers/extended_test_support.h"

namespace kobrant {
namespace {

Extended RandomExtended(std::mt19937_64& random) {
    Extended bits;
    bits.significand = random();
    const unsigned kind = static_cast<unsigned>(random() % 8);
    if (kind == 0) {  // subnormal
        bits.significand >>= 1 + random() % 63;
        bits.signExponent = 0;
    } else if (kind < 4) {  // anywhere in the range
        bits.significand |= std::uint64_t{1} << 63;
        bits.signExponent = static_cast<std::uint16_t>(1 + random() % 0x7FFE);
    } else {  // near one, where typed values and the settings numbers lie
        bits.significand |= std::uint64_t{1} << 63;
        bits.signExponent = static_cast<std::uint16_t>(16383 - 80 + random() % 160);
    }
    if (bits.significand == 0) bits.significand = 1;
    return bits;
}

TEST(EighteenDigits, MatchesThePrintedDigits) {
    std::mt19937_64 random(17);
    for (int i = 0; i < 4000; ++i) {
        const Extended value = RandomExtended(random);
        const DecimalForm expected = PrintedDigits(value);
        const DecimalForm actual = EighteenDigits(value);
        ASSERT_EQ(expected.digits, actual.digits) << "value=" << Hex(value);
        ASSERT_EQ(expected.exponent, actual.exponent) << "value=" << Hex(value);
    }
}

TEST(EighteenDigits, ExactTiesAndCarries) {
    struct Case {
        Extended value;
        std::uint64_t digits;
        std::int32_t exponent;
    };
    const Case cases[] = {
        {Ext(12.5), 125000000000000000ULL, 2},
        {Decimal(1, -3), 100000000000000000ULL, -2},
        {Ext(1.0), 100000000000000000ULL, 1},
        // 19-digit whole numbers exactly halfway: ties go to the even 18th digit
        {FromInteger(1234567890123456785), 123456789012345678ULL, 19},
        {FromInteger(1234567890123456775), 123456789012345678ULL, 19},
        // all nines round up into the next power of ten
        {ExactExtended(9999999999999999999ULL, 0), 100000000000000000ULL, 20},
        {Extended{1, 0}, 364519953188247460ULL, -4950},
        {Ext(0x1p63), 922337203685477581ULL, 19},
    };
    for (const Case& c : cases) {
        const DecimalForm actual = EighteenDigits(c.value);
        EXPECT_EQ(c.digits, actual.digits) << "value=" << Hex(c.value);
        EXPECT_EQ(c.exponent, actual.exponent) << "value=" << Hex(c.value);
    }
}

// `count` random mantissas of up to 18 digits x 10^low..high, against the oracle.
void ExpectCorrectRounding(std::uint64_t seed, int count, std::int64_t low, std::int64_t high) {
    std::mt19937_64 random(seed);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t mantissa = 1 + random() % 999999999999999999ULL;
        const std::int64_t power = std::uniform_int_distribution<std::int64_t>(low, high)(random);
        const std::string text = std::to_string(mantissa) + "e" + std::to_string(power);
        ASSERT_TRUE(SameNumber(NearestExtended(text), ScaleByPowerOfTen(mantissa, power))) << "input=" << text;
    }
}

TEST(ScaleByPowerOfTen, MatchesCorrectRounding) { ExpectCorrectRounding(10, 2000, -4950, 4914); }
TEST(ScaleByPowerOfTen, MatchesCorrectRoundingAmongSubnormals) { ExpectCorrectRounding(16445, 1000, -4968, -4930); }

TEST(ScaleByPowerOfTen, SubnormalsAndTheRangeEnds) {
    struct Case {
        std::uint64_t mantissa;
        std::int64_t power;
        Extended expected;
    };
    const Case cases[] = {
        {125, -1, Ext(12.5)},
        {1, -4950, Extended{3, 0}},                     // 1E-4950: three steps of the smallest subnormal
        {36451995318824746ULL, -4967, Extended{1, 0}},  // the smallest subnormal
        {18225997659412373ULL, -4967, Ext(0.0)},         // half of it, just below the tie
        {18225997659412374ULL, -4967, Extended{1, 0}},  // just above the tie
        {1, -4951, Ext(0.0)},
        {2, -4951, Extended{1, 0}},
        {9, -4951, Extended{2, 0}},
        {999999999999999999ULL, 4914, ExactExtended(0xd72cb2a95c7ef6bdULL, 16320)},  // the largest that is read
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, ScaleByPowerOfTen(c.mantissa, c.power))) << "input=" << c.mantissa << "e" << c.power;
    }
}

TEST(LayOutDigits, FixedAndExponentForms) {
    struct Case {
        std::string_view digits;
        std::int64_t exponent;
        int budget;
        std::string_view expected;
    };
    const Case cases[] = {
        {"5", 1, 3, "5"},           {"27", 3, 3, "270"},        {"999", 3, 3, "999"},
        {"1", 4, 3, "1E+3"},        {"123", 4, 3, "1.23E+3"},   {"5", 0, 3, ".5"},
        {"5", -1, 3, ".05"},        {"1", -2, 3, ".001"},       {"1", -3, 3, "1E-4"},
        {"123", -1, 3, "1.23E-2"},  {"125", 2, 3, "12.5"},      {"12", 0, 2, ".12"},
        {"1", 2, 1, "1E+1"},        {"1", 16, 15, "1E+15"},     {"1", 15, 15, "100000000000000"},
        {"999", 999, 3, "9.99E+998"}, {"1", -4950, 3, "1E-4951"}, {"1", 4933, 18, "1E+4932"},
        {"12345", 9, 5, "1.2345E+8"}, {"12", 1, 2, "1.2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, LayOutDigits(c.digits, c.exponent, c.budget))
            << "digits=" << c.digits << " E=" << c.exponent << " n=" << c.budget;
    }
}

}  // namespace
}  // namespace kobrant
