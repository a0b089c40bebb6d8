#pragma once
// A small unsigned big integer, just enough to convert between decimal and binary
// exactly: multiply by small factors and powers of ten, shift, compare, subtract, and a
// division whose quotient is known to fit 64 bits.
//
// The numbers met in the number rules stay below about 2^16700 (an extended value's
// largest integer is below 2^16384, its smallest step 2^-16445, and at most 10^4970 is
// needed to move the decimal point), so plain schoolbook loops are fast enough.

#include <cstdint>
#include <vector>

namespace kobrant {

class BigUnsigned {
public:
    explicit BigUnsigned(std::uint64_t value = 0);

    void MultiplyBy(std::uint32_t factor);
    void MultiplyByPowerOfTen(std::int64_t exponent);  // exponent >= 0
    void ShiftLeft(std::int64_t bits);                 // bits >= 0
    void ShiftRightOne();
    void Subtract(const BigUnsigned& other);           // requires *this >= other

    bool IsZero() const { return limbs_.empty(); }
    std::int64_t BitLength() const;

    // <0, 0, >0 as a is smaller than, equal to or greater than b.
    friend int Compare(const BigUnsigned& a, const BigUnsigned& b);

private:
    void Trim();

    std::vector<std::uint32_t> limbs_;  // least significant first, no leading zero limb
};

// Divides numerator by denominator (not zero) when the quotient fits 64 bits: returns
// true, sets quotient and leaves the remainder in numerator. Returns false and leaves
// numerator unchanged when the quotient would be 2^64 or more.
bool DivideToWord(BigUnsigned& numerator, const BigUnsigned& denominator, std::uint64_t& quotient);

// Compares twice the remainder with the divisor: <0 below the half, 0 exactly half,
// >0 above the half. This is the round-to-nearest decision after DivideToWord.
int CompareWithHalf(const BigUnsigned& remainder, const BigUnsigned& divisor);

}  // namespace kobrant
