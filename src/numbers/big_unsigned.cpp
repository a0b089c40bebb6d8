#include "numbers/big_unsigned.h"

#include <cassert>

namespace kobrant {

BigUnsigned::BigUnsigned(std::uint64_t value) {
    while (value != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(value));
        value >>= 32;
    }
}

void BigUnsigned::Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

void BigUnsigned::MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
        const std::uint64_t product = std::uint64_t{limb} * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    Trim();  // a factor of 0
}

void BigUnsigned::MultiplyByPowerOfTen(std::int64_t exponent) {
    assert(exponent >= 0);
    // 10^k = 5^k * 2^k, with the powers of five taken nine at a time (5^9 < 2^32).
    constexpr std::uint32_t kFivePow9 = 1953125;
    std::int64_t left = exponent;
    for (; left >= 9; left -= 9) MultiplyBy(kFivePow9);
    std::uint32_t rest = 1;
    for (; left > 0; --left) rest *= 5;
    MultiplyBy(rest);
    ShiftLeft(exponent);
}

void BigUnsigned::ShiftLeft(std::int64_t bits) {
    assert(bits >= 0);
    if (limbs_.empty() || bits == 0) return;
    const auto wholeLimbs = static_cast<std::size_t>(bits / 32);
    const auto partBits = static_cast<unsigned>(bits % 32);
    if (partBits != 0) {
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint32_t next = limb >> (32 - partBits);
            limb = (limb << partBits) | carry;
            carry = next;
        }
        if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), wholeLimbs, 0);
}

void BigUnsigned::ShiftRightOne() {
    std::uint32_t carry = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;) {
        const std::uint32_t limb = limbs_[i];
        limbs_[i] = (limb >> 1) | (carry << 31);
        carry = limb & 1;
    }
    Trim();
}

void BigUnsigned::Subtract(const BigUnsigned& other) {
    assert(Compare(*this, other) >= 0);
    std::uint32_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        const std::uint64_t subtrahend = std::uint64_t{i < other.limbs_.size() ? other.limbs_[i] : 0u} + borrow;
        borrow = limbs_[i] < subtrahend ? 1 : 0;
        limbs_[i] = static_cast<std::uint32_t>(limbs_[i] - subtrahend);
    }
    Trim();
}

std::int64_t BigUnsigned::BitLength() const {
    if (limbs_.empty()) return 0;
    std::int64_t length = static_cast<std::int64_t>(limbs_.size() - 1) * 32;
    for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1) ++length;
    return length;
}

int Compare(const BigUnsigned& a, const BigUnsigned& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
}

bool DivideToWord(BigUnsigned& numerator, const BigUnsigned& denominator, std::uint64_t& quotient) {
    assert(!denominator.IsZero());
    BigUnsigned shifted = denominator;
    shifted.ShiftLeft(64);
    if (Compare(numerator, shifted) >= 0) return false;

    // Restoring division, one quotient bit at a time from bit 63 down. Bits above the
    // difference of the lengths are zero, so the loop starts there.
    std::int64_t top = numerator.BitLength() - denominator.BitLength();
    if (top < 0) {
        quotient = 0;
        return true;
    }
    if (top > 63) top = 63;
    shifted = denominator;
    shifted.ShiftLeft(top);
    quotient = 0;
    for (std::int64_t bit = top; bit >= 0; --bit) {
        if (Compare(numerator, shifted) >= 0) {
            numerator.Subtract(shifted);
            quotient |= std::uint64_t{1} << bit;
        }
        shifted.ShiftRightOne();
    }
    return true;
}

int CompareWithHalf(const BigUnsigned& remainder, const BigUnsigned& divisor) {
    BigUnsigned twice = remainder;
    twice.ShiftLeft(1);
    return Compare(twice, divisor);
}

}  // namespace kobrant
