// The x87 unit's arithmetic: Extended is the bits of a GCC long double on x86 and
// x86-64, and each operation is one x87 instruction in the state that float_state.h
// sets (nearest, 64-bit precision, exceptions masked). This is the only place where
// the program names long double.

#include <cstdint>
#include <cstring>
#include <limits>

#include "numbers/extended_implementations.h"

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type (GCC on x86 or x86-64)");
static_assert(std::numeric_limits<long double>::max_exponent == 16384,
              "long double must have the 15-bit exponent of the x87 extended type");

namespace kobrant::x87 {
namespace {

long double Value(Extended x) {
    unsigned char bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &x.significand, 8);
    std::memcpy(bytes + 8, &x.signExponent, 2);
    long double value;
    std::memcpy(&value, bytes, sizeof bytes);
    return value;
}

Extended Bits(long double value) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof bytes);
    Extended x;
    std::memcpy(&x.significand, bytes, 8);
    std::memcpy(&x.signExponent, bytes + 8, 2);
    return x;
}

// Nearest whole number, ties to even, without the rounding mode: truncation (which
// GCC does whatever the mode) and the exact remainder decide.
template <typename Integer>
Integer RoundToWhole(long double value) {
    constexpr Integer kIndefinite = std::numeric_limits<Integer>::min();
    if (!(value >= -0x1p63L && value < 0x1p63L)) return kIndefinite;  // NaNs too
    auto whole = static_cast<std::int64_t>(value);
    const long double fraction = value - static_cast<long double>(whole);
    // At 2^62 and above an extended value has no bit below one half: the only fraction
    // left is a tie, and rounding it up from 2^63 - 1 leaves the range.
    if (fraction > 0.5L || (fraction == 0.5L && whole % 2 != 0)) {
        if (whole == std::numeric_limits<std::int64_t>::max()) return kIndefinite;
        ++whole;
    } else if (fraction < -0.5L || (fraction == -0.5L && whole % 2 != 0)) {
        --whole;
    }
    if (whole < std::numeric_limits<Integer>::min() || whole > std::numeric_limits<Integer>::max()) {
        return kIndefinite;
    }
    return static_cast<Integer>(whole);
}

}  // namespace

Extended Add(Extended a, Extended b) { return Bits(Value(a) + Value(b)); }
Extended Subtract(Extended a, Extended b) { return Bits(Value(a) - Value(b)); }
Extended Multiply(Extended a, Extended b) { return Bits(Value(a) * Value(b)); }
Extended Divide(Extended a, Extended b) { return Bits(Value(a) / Value(b)); }

Order Compare(Extended a, Extended b) {
    const long double x = Value(a);
    const long double y = Value(b);
    if (x < y) return Order::Less;
    if (x > y) return Order::Greater;
    if (x == y) return Order::Equal;
    return Order::Unordered;
}

Extended FromSingle(float value) { return Bits(value); }
float ToSingle(Extended value) { return static_cast<float>(Value(value)); }
Extended FromInteger(std::int64_t value) { return Bits(static_cast<long double>(value)); }

std::int32_t ToInt32(Extended value) { return RoundToWhole<std::int32_t>(Value(value)); }
std::int64_t ToInt64(Extended value) { return RoundToWhole<std::int64_t>(Value(value)); }

}  // namespace kobrant::x87
