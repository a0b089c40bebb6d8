// Extended's arithmetic in software, with MPFR: each operation is done at 64 bits in
// the x87's exponent range and brought into its format by mpfr_check_range and
// mpfr_subnormalize, which give the results of a fixed binary format exactly,
// subnormals and overflows included. NaNs follow the x87's rules, worked out on the
// bits. No processor state is involved.

#include <cstdint>  // before mpfr.h, which then declares its intmax_t functions

#include <bit>
#include <limits>

#include <mpfr.h>

#include "numbers/extended_implementations.h"

namespace kobrant::software {
namespace {

// A binary format in MPFR's terms: MPFR writes a value as 0.1bbb x 2^e, one above the
// exponent of 1.bbb x 2^E, so a format's range runs from the exponent of its smallest
// subnormal plus one to its largest exponent plus one.
struct Format {
    mpfr_prec_t precision;
    mpfr_exp_t emin;
    mpfr_exp_t emax;
};
constexpr Format kExtendedFormat{64, -16444, 16384};  // 2^-16445 to below 2^16384
constexpr Format kSingleFormat{24, -148, 128};        // 2^-149 to below 2^128

// MPFR keeps its exponent range and its flags per thread: each operation sets the
// range it needs and leaves both as it found them.
class MpfrState {
public:
    explicit MpfrState(const Format& format)
        : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()), flags_(mpfr_flags_save()) {
        SetRange(format);
    }
    ~MpfrState() {
        mpfr_set_emin(emin_);
        mpfr_set_emax(emax_);
        mpfr_flags_restore(flags_, MPFR_FLAGS_ALL);
    }
    MpfrState(const MpfrState&) = delete;
    MpfrState& operator=(const MpfrState&) = delete;

    static void SetRange(const Format& format) {
        mpfr_set_emin(format.emin);
        mpfr_set_emax(format.emax);
    }

private:
    mpfr_exp_t emin_;
    mpfr_exp_t emax_;
    mpfr_flags_t flags_;
};

// An MPFR number of at most 64 bits whose significand lives on the stack.
class Number {
public:
    explicit Number(mpfr_prec_t precision = kExtendedFormat.precision) {
        mpfr_custom_init(limbs_, precision);
        mpfr_custom_init_set(value_, MPFR_ZERO_KIND, 0, precision, limbs_);
    }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;
    operator mpfr_ptr() { return value_; }

private:
    mp_limb_t limbs_[(64 + GMP_NUMB_BITS - 1) / GMP_NUMB_BITS];
    mpfr_t value_;
};

// A result rounded to the format set (after the rounding to its precision, whose
// ternary value says which way it went): overflow, underflow and subnormals.
void FitFormat(mpfr_ptr result, int ternary) {
    ternary = mpfr_check_range(result, ternary, MPFR_RNDN);
    mpfr_subnormalize(result, ternary, MPFR_RNDN);
}

constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
constexpr int kSubnormalPower = 1 - kExtendedBias - 63;  // a subnormal is significand x 2^-16445

// x := the value of a finite or infinite Extended, exactly.
void Load(mpfr_ptr x, Extended value) {
    if (IsInfinite(value)) {
        mpfr_set_inf(x, IsNegative(value) ? -1 : 1);
        return;
    }
    const int field = ExponentField(value);
    const long power = (field == 0 ? 1 : field) - kExtendedBias - 63;
    mpfr_set_uj_2exp(x, value.significand, power, MPFR_RNDN);
    if (IsNegative(value)) mpfr_neg(x, x, MPFR_RNDN);  // -0 too
}

// The Extended that holds x, which has at most 64 bits and lies in the extended range.
Extended Store(mpfr_ptr x) {
    if (mpfr_nan_p(x)) return kDefaultNaN;
    const std::uint16_t sign = mpfr_signbit(x) ? kExtendedSignBit : std::uint16_t{0};
    if (mpfr_inf_p(x)) return {kExtendedIntegerBit, static_cast<std::uint16_t>(0x7FFF | sign)};
    if (mpfr_zero_p(x)) return {0, sign};
    const mpfr_exp_t exponent = mpfr_get_exp(x);
    const mpfr_exp_t field = exponent - 1 + kExtendedBias;
    const bool subnormal = field < 1;
    Number scaled;
    mpfr_mul_2si(scaled, x, subnormal ? -kSubnormalPower : 64 - exponent, MPFR_RNDN);
    mpfr_abs(scaled, scaled, MPFR_RNDN);
    return {mpfr_get_uj(scaled, MPFR_RNDN), static_cast<std::uint16_t>((subnormal ? 0 : field) | sign)};
}

Extended Quiet(Extended nan) { return {nan.significand | kQuietBit, nan.signExponent}; }
bool IsQuiet(Extended nan) { return (nan.significand & kQuietBit) != 0; }

// The x87's choice among NaN operands: the quiet one before a signalling one, else
// the larger significand, else the positive one; quieted.
Extended PropagateNaN(Extended a, Extended b) {
    if (!IsNaN(b)) return Quiet(a);
    if (!IsNaN(a)) return Quiet(b);
    if (IsQuiet(a) != IsQuiet(b)) return IsQuiet(a) ? a : b;
    if (a.significand != b.significand) return Quiet(a.significand > b.significand ? a : b);
    return Quiet(IsNegative(a) ? b : a);
}

using MpfrOperation = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

Extended Arithmetic(Extended a, Extended b, MpfrOperation operation) {
    if (IsNaN(a) || IsNaN(b)) return PropagateNaN(a, b);
    const MpfrState state(kExtendedFormat);
    Number x, y, result;
    Load(x, a);
    Load(y, b);
    FitFormat(result, operation(result, x, y, MPFR_RNDN));
    return Store(result);
}

template <typename Integer>
Integer ToInteger(Extended value) {
    constexpr Integer kIndefinite = std::numeric_limits<Integer>::min();
    if (IsNaN(value) || IsInfinite(value)) return kIndefinite;
    const MpfrState state(kExtendedFormat);
    Number x;
    Load(x, value);
    if (!mpfr_fits_intmax_p(x, MPFR_RNDN)) return kIndefinite;
    const std::intmax_t whole = mpfr_get_sj(x, MPFR_RNDN);  // ties to even
    if (whole < std::numeric_limits<Integer>::min() || whole > std::numeric_limits<Integer>::max()) {
        return kIndefinite;
    }
    return static_cast<Integer>(whole);
}

}  // namespace

Extended Add(Extended a, Extended b) { return Arithmetic(a, b, mpfr_add); }
Extended Subtract(Extended a, Extended b) { return Arithmetic(a, b, mpfr_sub); }
Extended Multiply(Extended a, Extended b) { return Arithmetic(a, b, mpfr_mul); }
Extended Divide(Extended a, Extended b) { return Arithmetic(a, b, mpfr_div); }

Order Compare(Extended a, Extended b) {
    if (IsNaN(a) || IsNaN(b)) return Order::Unordered;
    const MpfrState state(kExtendedFormat);
    Number x, y;
    Load(x, a);
    Load(y, b);
    const int order = mpfr_cmp(x, y);
    return order < 0 ? Order::Less : order > 0 ? Order::Greater : Order::Equal;
}

// A single's NaN keeps its sign and payload and is quieted, as the x87 loads it.
Extended FromSingle(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    if (value != value) {
        const std::uint64_t payload = static_cast<std::uint64_t>(bits & 0x7FFFFF) << 40;
        return {kExtendedIntegerBit | kQuietBit | payload,
                static_cast<std::uint16_t>(0x7FFF | ((bits >> 31) != 0 ? kExtendedSignBit : 0))};
    }
    const MpfrState state(kExtendedFormat);
    Number x;
    mpfr_set_flt(x, value, MPFR_RNDN);  // exact: every single is an extended value
    return Store(x);
}

// Rounded once to 24 bits in the extended range, then brought into the single range,
// where mpfr_subnormalize rounds a subnormal again without a second rounding error.
float ToSingle(Extended value) {
    if (IsNaN(value)) {
        const std::uint32_t sign = IsNegative(value) ? 0x80000000u : 0;
        const auto payload = static_cast<std::uint32_t>((value.significand | kQuietBit) >> 40) & 0x7FFFFF;
        return std::bit_cast<float>(sign | 0x7F800000u | payload);
    }
    const MpfrState state(kExtendedFormat);
    Number x;
    Number single(kSingleFormat.precision);
    Load(x, value);
    const int ternary = mpfr_set(single, x, MPFR_RNDN);
    MpfrState::SetRange(kSingleFormat);
    FitFormat(single, ternary);
    return mpfr_get_flt(single, MPFR_RNDN);
}

Extended FromInteger(std::int64_t value) {
    const MpfrState state(kExtendedFormat);
    Number x;
    mpfr_set_sj(x, value, MPFR_RNDN);  // exact: 64 bits
    return Store(x);
}

std::int32_t ToInt32(Extended value) { return ToInteger<std::int32_t>(value); }
std::int64_t ToInt64(Extended value) { return ToInteger<std::int64_t>(value); }

}  // namespace kobrant::software
