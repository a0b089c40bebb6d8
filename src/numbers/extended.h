#pragma once
// Extended: the one number type of the number rules, the x87 80-bit extended format
// exactly: a 64-bit significand with an explicit integer bit, 15 exponent bits (bias
// 16383) below the sign bit, gradual underflow, signed zeros, infinities and the x87's
// default NaN. Every operation rounds once, to nearest with ties to even at 64 bits.
//
// The value is plain data, the 80 bits; the arithmetic is done by one of two
// implementations that the build chooses (src/numbers/CMakeLists.txt): the x87 unit on
// x86 and x86-64 (extended_x87.cpp), a software one elsewhere (extended_software.cpp).
// Both give the same bits for every operation (the differential test checks it).
//
// Values are the encodings the operations make: a normal value has its integer bit
// set, a subnormal or zero has exponent field 0. An invalid operation makes the default
// NaN (sign set, exponent all ones, significand 0xC000000000000000); NaN operands give
// one of them back, quieted, by the x87's rules (a quiet one before a signalling one,
// then the larger significand, then the positive one).
//
// The examples below are replayed by ExtendedContract.CommentExamples.
//   FromInteger(7) / FromInteger(2) -> 3.5             FromSingle(0.1f) -> 0.100000001490116119384765625
//   ToSingle(FromInteger(16777217)) -> 16777216.0f     (24 bits, the tie to even)
//   ToInt32(FromSingle(2.5f)) -> 2                     ToInt32(FromSingle(-3.5f)) -> -4
//   ToInt32(ExactExtended(1, 31)) -> -2147483648       (2^31 does not fit)
//   FromInteger(0) / FromInteger(0) -> kDefaultNaN     Compare(kDefaultNaN, kDefaultNaN) -> Order::Unordered

#include <bit>
#include <cstdint>

namespace kobrant {

struct Extended {
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
};

constexpr int kExtendedBias = 16383;
constexpr std::uint16_t kExtendedSignBit = 0x8000;
constexpr std::uint16_t kExtendedExponentMask = 0x7FFF;
constexpr std::uint64_t kExtendedIntegerBit = std::uint64_t{1} << 63;
constexpr Extended kDefaultNaN{0xC000000000000000ULL, 0xFFFF};
constexpr Extended kPositiveInfinity{kExtendedIntegerBit, 0x7FFF};

constexpr int ExponentField(Extended x) { return x.signExponent & kExtendedExponentMask; }
constexpr bool IsNegative(Extended x) { return (x.signExponent & kExtendedSignBit) != 0; }
constexpr bool IsNaN(Extended x) { return ExponentField(x) == 0x7FFF && (x.significand << 1) != 0; }
constexpr bool IsInfinite(Extended x) { return ExponentField(x) == 0x7FFF && (x.significand << 1) == 0; }
constexpr bool IsZero(Extended x) { return ExponentField(x) == 0 && x.significand == 0; }
constexpr bool SameBits(Extended a, Extended b) {
    return a.significand == b.significand && a.signExponent == b.signExponent;
}

// The sign changed or dropped, exactly (NaNs included), as the x87's FCHS and FABS do.
constexpr Extended Negate(Extended x) {
    return {x.significand, static_cast<std::uint16_t>(x.signExponent ^ kExtendedSignBit)};
}
constexpr Extended Magnitude(Extended x) {
    return {x.significand, static_cast<std::uint16_t>(x.signExponent & kExtendedExponentMask)};
}

// significand x 2^power, for constants: exact, and so only for a normal result
// (significand not zero, the value inside the range).
//   ExactExtended(1, 127) -> 2^127        ExactExtended(5, -1) -> 2.5
constexpr Extended ExactExtended(std::uint64_t significand, int power, bool negative = false) {
    const int shift = std::countl_zero(significand);
    const int field = kExtendedBias + 63 - shift + power;
    return {significand << shift,
            static_cast<std::uint16_t>(field | (negative ? kExtendedSignBit : 0))};
}

enum class Order { Less, Equal, Greater, Unordered };

#include "numbers/extended_operations.inc"

inline Extended operator+(Extended a, Extended b) { return Add(a, b); }
inline Extended operator-(Extended a, Extended b) { return Subtract(a, b); }
inline Extended operator*(Extended a, Extended b) { return Multiply(a, b); }
inline Extended operator/(Extended a, Extended b) { return Divide(a, b); }
inline Extended operator-(Extended a) { return Negate(a); }
inline bool operator==(Extended a, Extended b) { return Compare(a, b) == Order::Equal; }
inline bool operator<(Extended a, Extended b) { return Compare(a, b) == Order::Less; }
inline bool operator>(Extended a, Extended b) { return Compare(a, b) == Order::Greater; }
inline bool operator<=(Extended a, Extended b) {
    const Order order = Compare(a, b);
    return order == Order::Less || order == Order::Equal;
}
inline bool operator>=(Extended a, Extended b) {
    const Order order = Compare(a, b);
    return order == Order::Greater || order == Order::Equal;
}

}  // namespace kobrant
