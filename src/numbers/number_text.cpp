#include "numbers/number_text.h"

#include <array>
#include <limits>

#include "numbers/decimal_form.h"

namespace kobrant {
namespace {

// An integer mantissa of up to 18 decimal digits is below 10^18 < 2^63: exact in the
// 64-bit significand, as is every power of ten up to 10^27 (5^27 < 2^64). One
// multiplication or division of the two is therefore correctly rounded.
constexpr int kKeptDigits = 18;
constexpr int kExactPowers = 27;

// 10^n = 5^n x 2^n.
constexpr std::array<Extended, kExactPowers + 1> MakePowersOfTen() {
    std::array<Extended, kExactPowers + 1> powers{};
    std::uint64_t powerOfFive = 1;
    for (int n = 0; n <= kExactPowers; ++n, powerOfFive *= 5) powers[static_cast<std::size_t>(n)] = ExactExtended(powerOfFive, n);
    return powers;
}
constexpr auto kPowersOfTen = MakePowersOfTen();

// A decimal point this many places (or more) above the first digit gives 2^127; this
// many places (or more) below it gives zero.
constexpr std::int64_t kPointLimit = 4933;
constexpr Extended kTooLarge = ExactExtended(1, 127);
constexpr std::int64_t kExponentCap = 9999;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 0-9, then A-Z or a-z for 10-35; -1 for any other byte.
int RadixDigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

// The radix form after its "&": base letter, digits, one optional type mark.
Extended ParseRadixNumber(std::string_view text) {
    std::size_t i = 0;
    unsigned base = 8;  // any other byte is the first octal digit
    if (!text.empty()) {
        switch (text[0]) {
            case 'H': case 'h': base = 16; i = 1; break;
            case 'B': case 'b': base = 2; i = 1; break;
            case 'O': case 'o': case 'Q': case 'q': base = 8; i = 1; break;
            default: break;
        }
    }

    std::uint64_t value = 0;
    bool anyDigit = false;
    bool firstDigitIsZero = false;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = RadixDigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        if (!anyDigit) firstDigitIsZero = digit == 0;
        anyDigit = true;
        const auto d = static_cast<std::uint64_t>(digit);
        if (value > (std::numeric_limits<std::uint64_t>::max() - d) / base) {
            overflow = true;
        } else {
            value = value * base + d;
        }
    }
    if (!anyDigit || overflow) return {};

    int ampersands = 0;
    int questionMarks = 0;
    if (i < text.size() && text[i] == '&') {
        ampersands = (i + 1 < text.size() && text[i + 1] == '&') ? 2 : 1;
    } else {
        while (questionMarks < 3 && i < text.size() && text[i] == '?') {
            ++questionMarks;
            ++i;
        }
    }

    constexpr std::uint64_t kBit15 = 0x8000;
    constexpr std::uint64_t kBit31 = 0x80000000;
    constexpr std::uint64_t kBit63 = std::uint64_t{1} << 63;
    if (questionMarks > 0) {
        if ((value & kBit63) != 0) return {};
    } else if (!firstDigitIsZero) {
        if (value < 0x10000 && (value & kBit15) != 0 && ampersands == 0) {
            value |= 0xFFFFFFFFFFFF0000ULL;
        } else if (value >= 0x10000 && value < 0x100000000ULL && (value & kBit31) != 0 && ampersands < 2) {
            value |= 0xFFFFFFFF00000000ULL;
        }
    }
    return FromInteger(static_cast<std::int64_t>(value));
}

}  // namespace

Extended ParseNumber(std::string_view text) {
    const std::size_t size = text.size();
    std::size_t i = 0;

    // Step 1: skip blanks, TABs and line feeds (not carriage returns).
    while (i < size && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;

    // Step 2: the radix form.
    if (i < size && text[i] == '&') return ParseRadixNumber(text.substr(i + 1));

    // Step 3: one optional sign, directly in front of the mantissa.
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Step 4: the mantissa. Leading zeros only move the point; the first 18
    // significant digits are kept, later ones are dropped (not rounded) but still move
    // the point.
    std::uint64_t mantissa = 0;
    int keptDigits = 0;
    std::int64_t significantBeforePoint = 0;
    std::int64_t zerosAfterPoint = 0;  // between the point and the first significant digit
    bool anyDigit = false;
    bool significant = false;
    bool seenPoint = false;
    for (; i < size; ++i) {
        const char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        anyDigit = true;
        if (!significant && c == '0') {
            if (seenPoint) ++zerosAfterPoint;
            continue;
        }
        significant = true;
        if (keptDigits < kKeptDigits) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++keptDigits;
        }
        if (!seenPoint) ++significantBeforePoint;
    }

    // Step 5: the exponent, when digits follow the letter (and its optional sign).
    std::int64_t exponent = 0;
    if (i < size && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < size && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        for (; j < size && IsDigit(text[j]); ++j) {
            exponent = exponent * 10 + (text[j] - '0');
            if (exponent > kExponentCap) exponent = kExponentCap;
        }
        if (exponentNegative) exponent = -exponent;
    }

    // Step 6: no digit, or only zeros, is a zero that keeps the sign read.
    const Extended zero{0, negative ? kExtendedSignBit : std::uint16_t{0}};
    if (!anyDigit || mantissa == 0) return zero;

    // Step 7: the place of the point against the first significant digit decides the
    // extremes; in between the mantissa is scaled by 10^power.
    const std::int64_t point = significantBeforePoint - zerosAfterPoint + exponent;
    if (point >= kPointLimit) return negative ? -kTooLarge : kTooLarge;
    if (point <= -kPointLimit) return {};
    const std::int64_t power = point - keptDigits;
    const Extended digits = FromInteger(static_cast<std::int64_t>(mantissa));
    Extended magnitude;
    if (power >= 0 && power <= kExactPowers) {
        magnitude = digits * kPowersOfTen[static_cast<std::size_t>(power)];
    } else if (power < 0 && power >= -kExactPowers) {
        magnitude = digits / kPowersOfTen[static_cast<std::size_t>(-power)];
    } else {
        // No single exact power of ten: scale exactly, with one rounding at the end.
        magnitude = ScaleByPowerOfTen(mantissa, power);
    }
    return negative ? -magnitude : magnitude;
}

std::string FormatNumber(Extended value, int digits) {
    const int budget = (digits >= 1 && digits <= kKeptDigits) ? digits : kKeptDigits;
    const bool negative = IsNegative(value);
    const bool infinity = IsInfinite(value);
    if (IsNaN(value) || IsZero(value)) return " 0";

    // Decide the digits: an infinity spells as budget nines at exponent 999.
    std::string kept(static_cast<std::size_t>(budget), '9');
    std::int64_t exponent = 999;
    if (!infinity) {
        const DecimalForm form = EighteenDigits(value);
        exponent = form.exponent;
        std::uint64_t rest = form.digits;
        char all[kKeptDigits];
        for (int k = kKeptDigits; k-- > 0; rest /= 10) all[k] = static_cast<char>('0' + rest % 10);
        kept.assign(all, static_cast<std::size_t>(budget));

        // Round to the budget on the next digit alone: 5 rounds up only after an odd digit.
        const char next = budget < kKeptDigits ? all[budget] : '0';
        if (next > '5' || (next == '5' && (kept.back() - '0') % 2 == 1)) {
            std::size_t k = kept.size();
            while (k > 0 && kept[k - 1] == '9') kept[--k] = '0';
            if (k == 0) {
                kept.assign("1");
                ++exponent;
            } else {
                ++kept[k - 1];
            }
        }
        while (kept.size() > 1 && kept.back() == '0') kept.pop_back();
    }

    std::string out(1, negative ? '-' : ' ');
    out += LayOutDigits(kept, exponent, budget);
    return out;
}

std::string FormatFileNumber(Extended value) {
    std::string text = FormatNumber(value, 15);
    if (text[0] == ' ') text.erase(0, 1);
    return text;
}

std::int32_t RoundToInteger(Extended value) { return ToInt32(value); }

std::string ReplaceAll(std::string_view search, std::string_view replacement, std::string_view text) {
    if (search.empty()) return std::string(text);
    std::string out;
    std::size_t from = 0;
    for (std::size_t found; (found = text.find(search, from)) != std::string_view::npos;) {
        out.append(text, from, found - from);
        out.append(replacement);
        from = found + search.size();
    }
    out.append(text, from);
    return out;
}

std::string RightPart(std::string_view text, std::size_t count) {
    if (count >= text.size()) return std::string(text);
    return std::string(text.substr(text.size() - count));
}

std::string MidPart(std::string_view text, std::size_t start, std::size_t count) {
    if (start == 0 || start > text.size()) return {};
    return std::string(text.substr(start - 1, count));
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace kobrant
