// The two implementations of Extended's operations, the x87 unit and the software one,
// given the same operands: they must give the same bits. The operands are random
// (seeded, so every run is the same) and biased to the hard cases: ties at the 64th
// bit, results at the overflow and underflow thresholds, subnormal operands and
// results, conversions to single that round on a tie, integers at and beyond 2^31 and
// 2^63. Then every field's conversion of random texts, with each implementation as the
// program's. Each test prints how many cases it ran.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "station/field_conversion.h"
#include "numbers/extended_switch.h"
#include "numbers/extended_test_support.h"

namespace kobrant {
namespace {

constexpr int kOperands = 1000000;  // for each operation
constexpr int kFieldTexts = 20000;  // each converted in all nine fields

using Random = std::mt19937_64;

int Below(Random& random, int bound) { return static_cast<int>(random() % static_cast<std::uint64_t>(bound)); }
int Between(Random& random, int low, int high) { return low + Below(random, high - low + 1); }

// A significand whose low bits make the roundings hard: only its top bits (exact
// results, ties in sums and products), a tie pattern ...1000 or ...0111 at a random
// bit (a tie when the operation or a conversion rounds there), or random bits.
std::uint64_t RandomSignificand(Random& random) {
    std::uint64_t bits = random();
    const int at = Below(random, 64);
    const std::uint64_t bit = std::uint64_t{1} << at;
    switch (Below(random, 4)) {
        case 0: bits &= ~std::uint64_t{0} << at; break;
        case 1: bits = (bits & ~(bit | (bit - 1))) | bit; break;
        case 2: bits = (bits & ~(bit | (bit - 1))) | (bit - 1); break;
        default: break;
    }
    return bits | kExtendedIntegerBit;
}

// An exponent field near the places where results change kind.
int RandomField(Random& random) {
    switch (Below(random, 8)) {
        case 0: return kExtendedBias + Between(random, -70, 70);           // near one
        case 1: return 0x7FFE - Below(random, 70);                         // near the top
        case 2: return 1 + Below(random, 70);                              // near the bottom
        case 3: return 0;                                                  // subnormal
        case 4: return kExtendedBias + Between(random, -152, -122);        // single's subnormals
        case 5: return kExtendedBias + Between(random, 124, 129);          // single's overflow
        case 6: return kExtendedBias + (Below(random, 2) != 0 ? 31 : 63) + Between(random, -2, 1);  // 2^31, 2^63
        default: return 1 + Below(random, 0x7FFE);                         // anywhere
    }
}

Extended FromParts(bool negative, int field, std::uint64_t significand) {
    if (field == 0) significand = (significand & ~kExtendedIntegerBit) >> (significand % 64);
    return {significand, static_cast<std::uint16_t>(field | (negative ? kExtendedSignBit : 0))};
}

// Now and then a zero, an infinity or a NaN (the default one or any other).
Extended RandomOperand(Random& random) {
    const bool negative = Below(random, 2) != 0;
    switch (Below(random, 64)) {
        case 0: return FromParts(negative, 0, 0);
        case 1: return FromParts(negative, 0x7FFF, kExtendedIntegerBit);
        case 2: return kDefaultNaN;
        case 3: return FromParts(negative, 0x7FFF, RandomSignificand(random) | 1);
        default: return FromParts(negative, RandomField(random), RandomSignificand(random));
    }
}

// The second operand: independent, or with an exponent that puts the sum's or
// difference's roundings on the first's bits, or the product or quotient at the edge
// of the range.
Extended PartnerOf(Extended a, Random& random) {
    Extended b = RandomOperand(random);
    const int fieldA = ExponentField(a);
    if (fieldA == 0 || fieldA == 0x7FFF || ExponentField(b) == 0x7FFF) return b;
    const int edge = Below(random, 2) != 0 ? 0x7FFE + Between(random, -2, 2) : Between(random, -66, 2);
    int field = fieldA;
    switch (Below(random, 4)) {
        case 0: field = fieldA + Between(random, -70, 70); break;
        case 1: field = edge - fieldA + kExtendedBias; break;  // product at the edge
        case 2: field = fieldA - edge + kExtendedBias; break;  // quotient at the edge
        default: return b;
    }
    if (field < 1 || field > 0x7FFE) return b;
    return FromParts(IsNegative(b), field, b.significand | kExtendedIntegerBit);
}

float RandomSingle(Random& random) {
    auto bits = static_cast<std::uint32_t>(random());
    switch (Below(random, 8)) {
        case 0: bits &= 0x807FFFFF; break;  // subnormal or zero
        case 1: bits |= 0x7F800000; break;  // infinity or NaN
        default: break;
    }
    return std::bit_cast<float>(bits);
}

std::int64_t RandomInteger(Random& random) {
    const auto value = static_cast<std::int64_t>(random());
    switch (Below(random, 4)) {
        case 0: return value >> Below(random, 64);                                                  // any size
        case 1: return (Below(random, 2) != 0 ? 1 : -1) * ((std::int64_t{1} << 31) + Between(random, -3, 3));
        case 2: return Below(random, 2) != 0 ? INT64_MAX - Below(random, 4) : INT64_MIN + Below(random, 4);
        default: return value;
    }
}

// Counts the cases and the differences, and tells the first few.
struct Tally {
    const char* operation;
    long cases = 0;
    long differences = 0;

    template <typename Show>
    void Check(bool same, Show show) {
        ++cases;
        if (same) return;
        if (++differences <= 5) ADD_FAILURE() << operation << ": " << show();
    }
    ~Tally() { std::printf("%-12s %ld cases, %ld differences\n", operation, cases, differences); }
};

TEST(ExtendedDifferential, Arithmetic) {
    Random random(16);
    Tally add{"add"}, subtract{"subtract"}, multiply{"multiply"}, divide{"divide"}, compare{"compare"};
    for (int i = 0; i < kOperands; ++i) {
        const Extended a = RandomOperand(random);
        const Extended b = PartnerOf(a, random);
        const auto show = [&] { return "a=" + Hex(a) + " b=" + Hex(b); };
        add.Check(SameBits(x87::Add(a, b), software::Add(a, b)), show);
        subtract.Check(SameBits(x87::Subtract(a, b), software::Subtract(a, b)), show);
        multiply.Check(SameBits(x87::Multiply(a, b), software::Multiply(a, b)), show);
        divide.Check(SameBits(x87::Divide(a, b), software::Divide(a, b)), show);
        compare.Check(x87::Compare(a, b) == software::Compare(a, b), show);
    }
}

TEST(ExtendedDifferential, Conversions) {
    Random random(31);
    Tally toSingle{"to single"}, fromSingle{"from single"}, toInt32{"to int32"}, toInt64{"to int64"}, fromInteger{"from int64"};
    for (int i = 0; i < kOperands; ++i) {
        const Extended x = RandomOperand(random);
        const auto show = [&] { return Hex(x); };
        toSingle.Check(std::bit_cast<std::uint32_t>(x87::ToSingle(x)) == std::bit_cast<std::uint32_t>(software::ToSingle(x)), show);
        toInt32.Check(x87::ToInt32(x) == software::ToInt32(x), show);
        toInt64.Check(x87::ToInt64(x) == software::ToInt64(x), show);
        const float single = RandomSingle(random);
        fromSingle.Check(SameBits(x87::FromSingle(single), software::FromSingle(single)), [&] { return std::to_string(std::bit_cast<std::uint32_t>(single)); });
        const std::int64_t integer = RandomInteger(random);
        fromInteger.Check(SameBits(x87::FromInteger(integer), software::FromInteger(integer)), [&] { return std::to_string(integer); });
    }
}

// A text as the settings file may hold it: mostly a number as typed (sign, digits, a
// point or comma, an exponent), else bytes from the number alphabet, else any bytes.
std::string RandomFieldText(Random& random) {
    static const std::string kAlphabet = "0123456789.,+-eEdD &HhBbOoQq%?\t\"x";
    std::string text;
    const int kind = Below(random, 4);
    if (kind < 2) {
        if (Below(random, 4) == 0) text += Below(random, 2) != 0 ? "-" : " ";
        for (int k = Between(random, 1, 6); k > 0; --k) text += static_cast<char>('0' + Below(random, 10));
        if (Below(random, 2) != 0) {
            text += Below(random, 2) != 0 ? "." : ",";
            for (int k = Between(random, 0, 4); k > 0; --k) text += static_cast<char>('0' + Below(random, 10));
        }
        if (kind == 1) text += "E" + std::to_string(Between(random, -50, 50));
    } else {
        for (int k = Between(random, 0, 12); k > 0; --k) {
            text += kind == 2 ? kAlphabet[static_cast<std::size_t>(Below(random, static_cast<int>(kAlphabet.size())))]
                              : static_cast<char>(Below(random, 256));
        }
    }
    return text;
}

// The value text and the cleaned text of one field's conversion with this implementation.
std::pair<std::string, std::string> Convert(ExtendedImplementation implementation, Field field, std::string text) {
    UseExtendedImplementation(implementation);
    std::string valueText = ConvertField(field, text);
    UseExtendedImplementation(ExtendedImplementation::X87);
    return {valueText, text};
}

TEST(ExtendedDifferential, FieldConversion) {
    Random random(32);
    Tally fields{"fields"};
    for (int i = 0; i < kFieldTexts; ++i) {
        const std::string text = RandomFieldText(random);
        for (Field field : kFields) {
            const auto x87 = Convert(ExtendedImplementation::X87, field, text);
            const auto software = Convert(ExtendedImplementation::Software, field, text);
            fields.Check(x87 == software, [&] {
                return "field " + std::to_string(FieldIndex(field)) + " text \"" + text + "\": " + x87.first + " and " + software.first;
            });
        }
    }
}

}  // namespace
}  // namespace kobrant
