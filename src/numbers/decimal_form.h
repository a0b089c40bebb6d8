#pragma once
// The exact steps between binary extended values and decimal digits that ParseNumber
// and FormatNumber are built on: deciding the digits (and the value) is kept apart from
// spelling them, so each half is tested on its own.

#include <cstdint>
#include <string>
#include <string_view>

#include "numbers/extended.h"

namespace kobrant {

// A positive number rounded to 18 significant digits: value = 0.d1d2...d18 x 10^exponent,
// digits holds d1...d18 as one integer, from 10^17 to 10^18 - 1.
struct DecimalForm {
    std::uint64_t digits = 0;
    std::int32_t exponent = 0;
};

// The 18-digit form of a positive finite value, correctly rounded with ties to even,
// computed exactly from its bits (subnormal values included); the sign is not looked
// at. Zero, infinities and NaNs are the caller's to handle.
//   EighteenDigits(12.5) -> {125000000000000000, 2}
//   EighteenDigits(0.001) -> {100000000000000000, -2}
DecimalForm EighteenDigits(Extended magnitude);

// mantissa x 10^power, correctly rounded to extended with ties to even (subnormal
// results included), computed exactly. mantissa > 0; the result must lie inside the
// extended range, which every power from -4950 to 4931 with an 18-digit mantissa does.
//   ScaleByPowerOfTen(125, -1) -> 12.5
//   ScaleByPowerOfTen(1, -4950) -> the subnormal nearest to 1E-4950
Extended ScaleByPowerOfTen(std::uint64_t mantissa, std::int64_t power);

// Lays out significant digits d1...dk (1 <= k <= budget, no trailing zero) with the
// decimal exponent E of 0.d1...dk x 10^E, for a digit budget of 1 to 18: fixed form
// while the digits fit the budget, otherwise exponent form. No sign position.
//   LayOutDigits("5", 1, 3) -> "5"          LayOutDigits("27", 3, 3) -> "270"
//   LayOutDigits("5", 0, 3) -> ".5"         LayOutDigits("1", -2, 3) -> ".001"
//   LayOutDigits("125", 2, 3) -> "12.5"     LayOutDigits("1", 4, 3) -> "1E+3"
//   LayOutDigits("1", -3, 3) -> "1E-4"      LayOutDigits("123", -1, 3) -> "1.23E-2"
std::string LayOutDigits(std::string_view digits, std::int64_t exponent, int budget);

}  // namespace kobrant
