#include "numbers/decimal_form.h"

#include <bit>
#include <cmath>

#include "numbers/big_unsigned.h"

namespace kobrant {
namespace {

constexpr int kMaxExponentField = 0x7FFE;  // 0x7FFF holds infinities and NaNs
// A subnormal is significand x 2^-16445: the exponent of the smallest normal value
// (-16382) less the 63 fraction bits.
constexpr std::int64_t kSubnormalShift = kExtendedBias - 1 + 63;

constexpr std::uint64_t kTenPow17 = 100000000000000000ULL;
constexpr std::uint64_t kTenPow18 = 1000000000000000000ULL;

// significand x 2^binaryExponent x 10^decimalExponent as a fraction of two whole numbers.
struct Ratio {
    BigUnsigned numerator;
    BigUnsigned denominator{1};
};

Ratio MakeRatio(std::uint64_t significand, std::int64_t binaryExponent, std::int64_t decimalExponent) {
    Ratio ratio{BigUnsigned(significand)};
    if (binaryExponent >= 0) {
        ratio.numerator.ShiftLeft(binaryExponent);
    } else {
        ratio.denominator.ShiftLeft(-binaryExponent);
    }
    if (decimalExponent >= 0) {
        ratio.numerator.MultiplyByPowerOfTen(decimalExponent);
    } else {
        ratio.denominator.MultiplyByPowerOfTen(-decimalExponent);
    }
    return ratio;
}

bool RoundsUp(const Ratio& afterDivision, std::uint64_t quotient) {
    const int half = CompareWithHalf(afterDivision.numerator, afterDivision.denominator);
    return half > 0 || (half == 0 && (quotient & 1) != 0);
}

void AppendDecimal(std::string& out, std::int64_t value) {
    char buffer[24];
    int length = 0;
    do {
        buffer[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (length > 0) out.push_back(buffer[--length]);
}

std::string ExponentForm(std::string_view digits, std::int64_t shownExponent) {
    std::string out(1, digits[0]);
    if (digits.size() > 1) {
        out.push_back('.');
        out.append(digits.substr(1));
    }
    out.push_back('E');
    out.push_back(shownExponent < 0 ? '-' : '+');
    AppendDecimal(out, shownExponent < 0 ? -shownExponent : shownExponent);
    return out;
}

}  // namespace

DecimalForm EighteenDigits(Extended magnitude) {
    const int field = ExponentField(magnitude);
    const std::uint64_t significand = magnitude.significand;
    if (significand == 0) return {};  // zero is not this function's to handle

    const std::int64_t binaryExponent = (field == 0 ? 1 : field) - kExtendedBias - 63;
    // floor(log2 value), then a first guess at E = floor(log10 value) + 1; the guess is
    // off by at most one and the loop below corrects it.
    const std::int64_t topBit = 63 - std::countl_zero(significand) + binaryExponent;
    auto exponent = static_cast<std::int64_t>(std::floor(static_cast<double>(topBit) * 0.30102999566398120)) + 1;

    for (;;) {
        // value x 10^(18 - E) lies in [10^17, 10^18) exactly when E is right.
        Ratio ratio = MakeRatio(significand, binaryExponent, 18 - exponent);
        std::uint64_t digits = 0;
        if (!DivideToWord(ratio.numerator, ratio.denominator, digits) || digits >= kTenPow18) {
            ++exponent;
            continue;
        }
        if (digits < kTenPow17) {
            --exponent;
            continue;
        }
        if (RoundsUp(ratio, digits)) ++digits;
        if (digits == kTenPow18) {
            digits = kTenPow17;
            ++exponent;
        }
        return {digits, static_cast<std::int32_t>(exponent)};
    }
}

Extended ScaleByPowerOfTen(std::uint64_t mantissa, std::int64_t power) {
    if (mantissa == 0) return {};
    const Ratio exact = MakeRatio(mantissa, 0, power);
    // The result is quotient x 2^-shift with a 64-bit quotient (bit 63 set); the value
    // lies in [2^(a-b-1), 2^(a-b+1)) for bit lengths a and b, so this shift gives a
    // quotient in [2^63, 2^65) and at most one step back. Subnormal results have
    // fewer bits: the shift never exceeds that of the subnormal range.
    std::int64_t shift = 64 - exact.numerator.BitLength() + exact.denominator.BitLength();
    if (shift > kSubnormalShift) shift = kSubnormalShift;
    for (;;) {
        Ratio ratio = exact;
        if (shift >= 0) {
            ratio.numerator.ShiftLeft(shift);
        } else {
            ratio.denominator.ShiftLeft(-shift);
        }
        std::uint64_t quotient = 0;
        if (!DivideToWord(ratio.numerator, ratio.denominator, quotient)) {
            --shift;
            continue;
        }
        if (RoundsUp(ratio, quotient)) {
            ++quotient;
            if (quotient == 0) {  // carried out of 64 bits
                quotient = kExtendedIntegerBit;
                --shift;
            }
        }
        Extended result{quotient, 0};
        if ((quotient & kExtendedIntegerBit) != 0) {
            const std::int64_t field = kExtendedBias + 63 - shift;
            if (field > kMaxExponentField) return kPositiveInfinity;
            result.signExponent = static_cast<std::uint16_t>(field);
        }
        return result;
    }
}

std::string LayOutDigits(std::string_view digits, std::int64_t exponent, int budget) {
    const auto count = static_cast<std::int64_t>(digits.size());
    if (count <= exponent) {  // a whole number
        if (exponent > budget) return ExponentForm(digits, exponent - 1);
        std::string out(digits);
        out.append(static_cast<std::size_t>(exponent - count), '0');
        return out;
    }
    if (count - exponent > budget) return ExponentForm(digits, exponent - 1);
    if (exponent <= 0) {
        std::string out(".");
        out.append(static_cast<std::size_t>(-exponent), '0');
        out.append(digits);
        return out;
    }
    std::string out(digits.substr(0, static_cast<std::size_t>(exponent)));
    out.push_back('.');
    out.append(digits.substr(static_cast<std::size_t>(exponent)));
    return out;
}

}  // namespace kobrant
