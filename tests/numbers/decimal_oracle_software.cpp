// MPFR's conversions, at 64 bits in the x87's exponent range (MPFR's exponent is one
// above the format's: 0.1b x 2^e).

#include "numbers/decimal_oracle.h"

#include <cstdint>  // before mpfr.h, which then declares its intmax_t functions

#include <mpfr.h>

namespace kobrant {

Extended NearestExtended(const std::string& decimal) {
    const mpfr_exp_t emin = mpfr_get_emin();
    const mpfr_exp_t emax = mpfr_get_emax();
    mpfr_set_emin(-16444);
    mpfr_set_emax(16384);
    mpfr_t x;
    mpfr_init2(x, 64);
    int ternary = mpfr_strtofr(x, decimal.c_str(), nullptr, 10, MPFR_RNDN);
    ternary = mpfr_check_range(x, ternary, MPFR_RNDN);
    mpfr_subnormalize(x, ternary, MPFR_RNDN);
    Extended result{0, static_cast<std::uint16_t>(mpfr_signbit(x) ? kExtendedSignBit : 0)};
    if (mpfr_inf_p(x)) {
        result = IsNegative(result) ? Negate(kPositiveInfinity) : kPositiveInfinity;
    } else if (!mpfr_zero_p(x)) {
        // The significand is |x| x 2^(64 - e), or |x| x 2^16445 below the normal range.
        const mpfr_exp_t field = mpfr_get_exp(x) + 16382;
        mpfr_abs(x, x, MPFR_RNDN);
        mpfr_mul_2si(x, x, field >= 1 ? 64 - mpfr_get_exp(x) : 16445, MPFR_RNDN);
        result.significand = mpfr_get_uj(x, MPFR_RNDN);
        if (field >= 1) result.signExponent |= static_cast<std::uint16_t>(field);
    }
    mpfr_clear(x);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
    return result;
}

DecimalForm PrintedDigits(Extended value) {
    mpfr_t x;
    mpfr_init2(x, 64);
    const int field = ExponentField(value);
    mpfr_set_uj_2exp(x, value.significand, (field == 0 ? 1 : field) - kExtendedBias - 63, MPFR_RNDN);
    char buffer[64];
    mpfr_snprintf(buffer, sizeof buffer, "%.17Re", x);
    mpfr_clear(x);
    return ReadPrintedDigits(buffer);
}

}  // namespace kobrant
