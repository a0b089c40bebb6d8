#pragma once
// Extended values in tests: exact ones from double literals, and failure messages that
// show the bits, so that two values one unit in the last place apart never print alike.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

#include "numbers/decimal_form.h"
#include "numbers/extended.h"

namespace kobrant {

// sign:exponent field:significand in hexadecimal, e.g. 12.5 is "+4002:c800000000000000".
inline std::string Hex(Extended x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%c%04x:%016llx", IsNegative(x) ? '-' : '+', ExponentField(x),
                  static_cast<unsigned long long>(x.significand));
    return buffer;
}

inline void PrintTo(const Extended& x, std::ostream* out) { *out << Hex(x); }

// A double as an Extended, exactly (every double is one; a subnormal double is a
// normal extended value). NaNs become the default NaN.
inline Extended Ext(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (field == 0x7FF) {
        if (fraction != 0) return kDefaultNaN;
        return negative ? Negate(kPositiveInfinity) : kPositiveInfinity;
    }
    if (field == 0 && fraction == 0) return negative ? Negate(Extended{}) : Extended{};
    const std::uint64_t significand = field == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    return ExactExtended(significand, (field == 0 ? 1 : field) - 1023 - 52, negative);
}

// mantissa x 10^power correctly rounded: for the values no double holds (3.4 is
// Decimal(34, -1)).
inline Extended Decimal(std::int64_t mantissa, std::int64_t power) {
    const Extended magnitude = ScaleByPowerOfTen(static_cast<std::uint64_t>(mantissa < 0 ? -mantissa : mantissa), power);
    return mantissa < 0 ? Negate(magnitude) : magnitude;
}

// Same bits: a negative zero is told apart from zero, and a NaN equals itself.
inline ::testing::AssertionResult SameNumber(Extended expected, Extended actual) {
    if (SameBits(expected, actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << Hex(expected) << ", got " << Hex(actual);
}

}  // namespace kobrant
