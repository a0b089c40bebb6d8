// Extended's operations at the edges of the format, with the arithmetic this build
// uses (the x87 unit on x86, the software one elsewhere): each row names its inputs.

#include "numbers/extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "numbers/extended_test_support.h"

namespace kobrant {
namespace {

constexpr Extended kZero{};
constexpr Extended kNegativeZero{0, kExtendedSignBit};
constexpr Extended kOne = ExactExtended(1, 0);
constexpr Extended kLargest{~std::uint64_t{0}, 0x7FFE};
constexpr Extended kSmallestNormal{kExtendedIntegerBit, 1};
constexpr Extended kLargestSubnormal{~std::uint64_t{0} >> 1, 0};
constexpr Extended kSmallestSubnormal{1, 0};
const Extended kInfinity = kPositiveInfinity;
const Extended kNaN = kDefaultNaN;

TEST(Extended, ArithmeticAtTheEdges) {
    struct Case {
        const char* name;
        Extended (*op)(Extended, Extended);
        Extended a, b, expected;
    };
    const Case cases[] = {
        {"largest + largest", Add, kLargest, kLargest, kInfinity},
        {"-largest - largest", Subtract, -kLargest, kLargest, -kInfinity},
        {"largest x 2", Multiply, kLargest, Ext(2), kInfinity},
        {"largest / 0.5", Divide, kLargest, Ext(0.5), kInfinity},
        {"largest + half its last step (tie to even: up, out of range)", Add, kLargest, ExactExtended(1, 16319), kInfinity},
        {"largest - its last step", Subtract, kLargest, ExactExtended(1, 16320), Extended{~std::uint64_t{1}, 0x7FFE}},
        {"smallest normal / 2", Divide, kSmallestNormal, Ext(2), Extended{std::uint64_t{1} << 62, 0}},
        {"smallest normal - smallest subnormal", Subtract, kSmallestNormal, kSmallestSubnormal, kLargestSubnormal},
        {"largest subnormal + smallest subnormal", Add, kLargestSubnormal, kSmallestSubnormal, kSmallestNormal},
        {"smallest subnormal / 2 (tie to even: zero)", Divide, kSmallestSubnormal, Ext(2), kZero},
        {"-smallest subnormal / 2", Divide, -kSmallestSubnormal, Ext(2), kNegativeZero},
        {"smallest subnormal x 1.5 (tie to even: 2)", Multiply, kSmallestSubnormal, Ext(1.5), Extended{2, 0}},
        {"smallest subnormal x 2.5 (tie to even: 2)", Multiply, kSmallestSubnormal, Ext(2.5), Extended{2, 0}},
        {"smallest subnormal / 1.5", Divide, kSmallestSubnormal, Ext(1.5), kSmallestSubnormal},
        {"2^-16382 x 2^-63", Multiply, kSmallestNormal, Ext(0x1p-63), kSmallestSubnormal},
        {"1 + 2^-64 (tie to even: 1)", Add, kOne, Ext(0x1p-64), kOne},
        {"1 + 3 x 2^-64 (tie to even: up)", Add, kOne, Ext(0x3p-64), ExactExtended(0x4000000000000001ULL, -62)},
        {"2^64 - 1 + 1 carries", Add, ExactExtended(~std::uint64_t{0}, 0), kOne, Ext(0x1p64)},
        {"0 + -0", Add, kZero, kNegativeZero, kZero},
        {"-0 + -0", Add, kNegativeZero, kNegativeZero, kNegativeZero},
        {"1 - 1", Subtract, kOne, kOne, kZero},
        {"0 x -1", Multiply, kZero, -kOne, kNegativeZero},
        {"1 / 0", Divide, kOne, kZero, kInfinity},
        {"1 / -0", Divide, kOne, kNegativeZero, -kInfinity},
        {"1 / infinity", Divide, kOne, kInfinity, kZero},
        {"infinity - infinity", Subtract, kInfinity, kInfinity, kNaN},
        {"0 x infinity", Multiply, kZero, kInfinity, kNaN},
        {"0 / 0", Divide, kZero, kZero, kNaN},
        {"infinity / -infinity", Divide, kInfinity, -kInfinity, kNaN},
        {"NaN + 1", Add, kNaN, kOne, kNaN},
        {"1 x NaN", Multiply, kOne, kNaN, kNaN},
        {"infinity + largest", Add, kInfinity, kLargest, kInfinity},
        {"1 / 3", Divide, kOne, Ext(3), ExactExtended(0xAAAAAAAAAAAAAAABULL, -65)},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameNumber(c.expected, c.op(c.a, c.b))) << c.name;
    }
}

TEST(Extended, ComparisonsAtTheEdges) {
    struct Case {
        const char* name;
        Extended a, b;
        Order expected;
    };
    const Case cases[] = {
        {"-0 and 0", kNegativeZero, kZero, Order::Equal},
        {"NaN and NaN", kNaN, kNaN, Order::Unordered},
        {"NaN and 1", kNaN, kOne, Order::Unordered},
        {"1 and NaN", kOne, kNaN, Order::Unordered},
        {"-infinity and -largest", -kInfinity, -kLargest, Order::Less},
        {"infinity and infinity", kInfinity, kInfinity, Order::Equal},
        {"smallest subnormal and 0", kSmallestSubnormal, kZero, Order::Greater},
        {"-smallest subnormal and -0", -kSmallestSubnormal, kNegativeZero, Order::Less},
        {"largest subnormal and smallest normal", kLargestSubnormal, kSmallestNormal, Order::Less},
        {"2^63 + 1 and 2^63", ExactExtended(kExtendedIntegerBit | 1, 0), Ext(0x1p63), Order::Greater},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, Compare(c.a, c.b)) << c.name;
    }
    EXPECT_TRUE(kNaN != kNaN);
    EXPECT_FALSE(kNaN <= kNaN || kNaN >= kNaN || kNaN < kOne || kNaN > kOne);
    EXPECT_TRUE(kNegativeZero <= kZero && kNegativeZero >= kZero);
}

TEST(Extended, SingleConversionsAtTheEdges) {
    constexpr float kSingleLargest = std::numeric_limits<float>::max();
    constexpr float kSingleSmallest = std::numeric_limits<float>::denorm_min();
    struct Case {
        const char* name;
        Extended value;
        std::uint32_t expected;  // the single's bits
    };
    const Case cases[] = {
        {"16777217 (tie to even: down)", Ext(16777217), std::bit_cast<std::uint32_t>(16777216.0f)},
        {"16777219 (tie to even: up)", Ext(16777219), std::bit_cast<std::uint32_t>(16777220.0f)},
        {"16777217 + 2^-30 (above the tie)", Ext(16777217) + Ext(0x1p-30), std::bit_cast<std::uint32_t>(16777218.0f)},
        {"largest single", Ext(kSingleLargest), std::bit_cast<std::uint32_t>(kSingleLargest)},
        {"largest single + half a step (tie to even: out of range)", Ext(kSingleLargest) + Ext(0x1p103), 0x7F800000},
        {"largest single + less than half a step", Ext(kSingleLargest) + Ext(0x1p102), std::bit_cast<std::uint32_t>(kSingleLargest)},
        {"largest extended", kLargest, 0x7F800000},
        {"-largest extended", -kLargest, 0xFF800000},
        {"2^-150 (tie to even: zero)", Ext(0x1p-150), 0},
        {"-2^-150", Ext(-0x1p-150), 0x80000000},
        {"3 x 2^-151 (above the tie)", Ext(0x3p-151), 1},
        {"3 x 2^-150 (tie to even: 2)", Ext(0x3p-150), 2},
        {"smallest single", Ext(kSingleSmallest), 1},
        {"2^-126 - 2^-150 (rounds up to the smallest normal)", Ext(0x1p-126) - Ext(0x1p-150), 0x00800000},
        {"smallest extended", kSmallestSubnormal, 0},
        {"-0", kNegativeZero, 0x80000000},
        {"infinity", kInfinity, 0x7F800000},
        {"NaN", kNaN, 0xFFC00000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, std::bit_cast<std::uint32_t>(ToSingle(c.value))) << c.name;
    }
    EXPECT_TRUE(SameNumber(Ext(kSingleSmallest), FromSingle(kSingleSmallest)));
    EXPECT_TRUE(SameNumber(kNegativeZero, FromSingle(-0.0f)));
    EXPECT_TRUE(SameNumber(-kInfinity, FromSingle(-std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(SameNumber(kNaN, FromSingle(std::bit_cast<float>(0xFFC00000u))));
}

TEST(Extended, IntegerConversionsAtTheEdges) {
    struct Case {
        const char* name;
        Extended value;
        std::int64_t to64;
        std::int32_t to32;
    };
    constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
    constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
    const Case cases[] = {
        {"2.5", Ext(2.5), 2, 2},
        {"-2.5", Ext(-2.5), -2, -2},
        {"3.5", Ext(3.5), 4, 4},
        {"-0.5", Ext(-0.5), 0, 0},
        {"0.5 + 2^-64", Ext(0.5) + Ext(0x1p-64), 1, 1},
        {"2^31 - 0.5 (tie to even: 2^31)", Ext(0x1p31 - 0.5), 0x80000000LL, kMin32},
        {"2^31 - 1", Ext(0x1p31 - 1), 0x7FFFFFFF, 0x7FFFFFFF},
        {"-2^31 - 0.5 (tie to even: -2^31)", Ext(-0x1p31 - 0.5), -0x80000000LL, kMin32},
        {"-2^31 - 1", Ext(-0x1p31 - 1), -0x80000001LL, kMin32},
        {"2^63 - 1", ExactExtended(~std::uint64_t{0} >> 1, 0), std::numeric_limits<std::int64_t>::max(), kMin32},
        {"2^63 - 0.5 (tie to even: 2^63)", ExactExtended(~std::uint64_t{0}, -1), kMin64, kMin32},
        {"2^63 - 1.5 (tie to even: 2^63 - 2)", ExactExtended(~std::uint64_t{0} - 2, -1), std::numeric_limits<std::int64_t>::max() - 1, kMin32},
        {"-2^63", Ext(-0x1p63), kMin64, kMin32},
        {"-2^63 + 0.5 (tie to even: -2^63)", ExactExtended(~std::uint64_t{0}, -1, true), kMin64, kMin32},
        {"2^63", Ext(0x1p63), kMin64, kMin32},
        {"-2^63 - 1", ExactExtended(kExtendedIntegerBit | 1, 0, true), kMin64, kMin32},
        {"largest", kLargest, kMin64, kMin32},
        {"infinity", kInfinity, kMin64, kMin32},
        {"-infinity", -kInfinity, kMin64, kMin32},
        {"NaN", kNaN, kMin64, kMin32},
        {"-0", kNegativeZero, 0, 0},
        {"smallest subnormal", kSmallestSubnormal, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.to64, ToInt64(c.value)) << c.name;
        EXPECT_EQ(c.to32, ToInt32(c.value)) << c.name;
    }
    for (std::int64_t value : {kMin64, std::numeric_limits<std::int64_t>::max(), std::int64_t{0}, std::int64_t{-1}, std::int64_t{kMin32}}) {
        EXPECT_EQ(value, ToInt64(FromInteger(value))) << value;
    }
    EXPECT_TRUE(SameNumber(Ext(-0x1p63), FromInteger(kMin64)));
    EXPECT_TRUE(SameNumber(kZero, FromInteger(0)));
}

// The examples written in extended.h, line by line.
TEST(ExtendedContract, CommentExamples) {
    EXPECT_TRUE(SameNumber(Ext(3.5), FromInteger(7) / FromInteger(2)));
    EXPECT_TRUE(SameNumber(Ext(0.100000001490116119384765625), FromSingle(0.1f)));
    EXPECT_EQ(16777216.0f, ToSingle(FromInteger(16777217)));
    EXPECT_EQ(2, ToInt32(FromSingle(2.5f)));
    EXPECT_EQ(-4, ToInt32(FromSingle(-3.5f)));
    EXPECT_EQ(-2147483648, ToInt32(ExactExtended(1, 31)));
    EXPECT_TRUE(SameNumber(kDefaultNaN, FromInteger(0) / FromInteger(0)));
    EXPECT_EQ(Order::Unordered, Compare(kDefaultNaN, kDefaultNaN));
    EXPECT_TRUE(SameNumber(Ext(0x1p127), ExactExtended(1, 127)));
    EXPECT_TRUE(SameNumber(Ext(2.5), ExactExtended(5, -1)));
}

}  // namespace
}  // namespace kobrant
