#pragma once
// Conversions between decimal and Extended that do not use the number rules, to check
// them against: the C library's where its long double is the x87 format
// (decimal_oracle_x87.cpp), MPFR's elsewhere (decimal_oracle_software.cpp).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "numbers/decimal_form.h"
#include "numbers/extended.h"

namespace kobrant {

// The decimal text ("-12.5e3") correctly rounded to extended, ties to even, subnormal
// results included.
Extended NearestExtended(const std::string& decimal);

// The 18 significant digits of a positive finite value, correctly rounded, ties to even.
DecimalForm PrintedDigits(Extended value);

// The DecimalForm of a printed "%.17e" form ("1.25000000000000000e+01").
inline DecimalForm ReadPrintedDigits(const char* printed) {
    DecimalForm form;
    const char* p = printed;
    for (; *p != 'e'; ++p) {
        if (*p != '.') form.digits = form.digits * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    form.exponent = static_cast<std::int32_t>(std::strtol(p + 1, nullptr, 10) + 1);
    return form;
}

}  // namespace kobrant
