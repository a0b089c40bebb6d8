#pragma once
// Number and text rules: how text becomes a number, how a number becomes text, and the
// few text operations that the report and the settings file are built with.
//
// Texts are byte strings (Windows-1252): no locale, no encoding conversion anywhere.
// Numbers are x87 extended values (see extended.h). None of these functions fails or
// reports anything: a text that holds no number reads as zero, every number has a
// display form, and positions beyond a text's end give shorter or empty texts.
//
// The examples below are replayed by NumberTextContract.CommentExamples.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "numbers/extended.h"

namespace kobrant {

// Reads the number at the start of text, after any blanks, TABs and line feeds; reading
// stops at the first byte that does not fit and the rest is ignored.
// - Decimal: an optional sign right in front of digits with at most one point, then an
//   optional exponent (E, e, D or d, an optional sign, digits; its size stops at 9999).
//   The first 18 significant digits count, later ones only move the point (dropped,
//   not rounded). With the point 4933 places or more above the first significant digit
//   the result is 2^127 with the sign; 4933 places or more below it, zero. Otherwise
//   the digits are scaled by the power of ten, correctly rounded to extended.
// - "&" starts the radix form: H for hex, B binary, O or Q octal, else octal digits
//   directly; 64-bit accumulation (more gives zero), an optional type mark (%, & or &&,
//   ? to ???) and the 16- and 32-bit sign rules; the 64 bits read as two's complement.
//   ParseNumber("12.5") -> 12.5           ParseNumber("  7") -> 7
//   ParseNumber("-.5") -> -0.5            ParseNumber("1D3") -> 1000
//   ParseNumber("1Ex") -> 1               ParseNumber("3.4.5") -> 3.4
//   ParseNumber("12,5") -> 12             ParseNumber("1e5000") -> 2^127
//   ParseNumber("&H1F") -> 31             ParseNumber("&HFFFF") -> -1
//   ParseNumber("&HFFFF&") -> 65535       ParseNumber("&17") -> 15
// Texts that hold no number:
//   ParseNumber("abc") -> 0               ParseNumber("") -> 0
//   ParseNumber("- 5") -> -0              ParseNumber("1e-5000") -> 0
//   ParseNumber("&Z") -> 0                ParseNumber("&H10000000000000000") -> 0
Extended ParseNumber(std::string_view text);

// The display form of value with at most `digits` significant digits (1 to 18; 0, a
// negative count or more than 18 mean 18): a sign position (" " or "-"), no zero in
// front of the point, no trailing zeros, and the exponent form once the digits do not
// fit. The value is first rounded to 18 digits (ties to even), then to the budget on
// the next digit alone (a 5 rounds up only after an odd digit). Infinities spell as
// nines at exponent 999; NaNs and zeros of either sign as " 0".
//   FormatNumber(5, 3) -> " 5"            FormatNumber(-5, 3) -> "-5"
//   FormatNumber(0.5, 3) -> " .5"         FormatNumber(0.0001, 3) -> " 1E-4"
//   FormatNumber(0.0123, 3) -> " 1.23E-2" FormatNumber(999.5, 3) -> " 1E+3"
//   FormatNumber(1234, 3) -> " 1.23E+3"   FormatNumber(0.125, 2) -> " .12"
//   FormatNumber(0.375, 2) -> " .38"      FormatNumber(123456789, 5) -> " 1.2346E+8"
//   FormatNumber(-0, 3) -> " 0"           FormatNumber(NaN, 3) -> " 0"
//   FormatNumber(infinity, 3) -> " 9.99E+998"
std::string FormatNumber(Extended value, int digits);

// FormatNumber with 15 digits, without the blank in front of a non-negative value: the
// form of the numbers in the settings file.
//   FormatFileNumber(5) -> "5"            FormatFileNumber(-12) -> "-12"
//   FormatFileNumber(0.5) -> ".5"         FormatFileNumber(1E+15) -> "1E+15"
//   FormatFileNumber(1/3) -> ".333333333333333"
std::string FormatFileNumber(Extended value);

// The nearest whole number, ties to even, whatever the current rounding mode; a result
// outside the signed 32-bit range, an infinity or a NaN gives -2147483648 (ToInt32).
//   RoundToInteger(2.5) -> 2              RoundToInteger(3.5) -> 4
//   RoundToInteger(-2.5) -> -2            RoundToInteger(45.5) -> 46
//   RoundToInteger(2147483647.5) -> -2147483648
//   RoundToInteger(NaN) -> -2147483648
std::int32_t RoundToInteger(Extended value);

// Every occurrence of search in text, left to right and without overlap, replaced; the
// replacement is not searched again. An empty search leaves the text as it is.
//   ReplaceAll(",", ".", "1,2,3") -> "1.2.3"    ReplaceAll("aa", "b", "aaa") -> "ba"
//   ReplaceAll(" ", "0", " 1.23E+3") -> "01.23E+3"
std::string ReplaceAll(std::string_view search, std::string_view replacement, std::string_view text);

// The last `count` bytes of text, or all of it when it is shorter.
//   RightPart("0000005", 3) -> "005"      RightPart("ab", 3) -> "ab"
std::string RightPart(std::string_view text, std::size_t count);

// `count` bytes from position `start` (counted from 1), fewer where the text ends; a
// start of 0 or behind the last byte gives the empty text.
//   MidPart("14:05:09", 1, 5) -> "14:05"  MidPart("12-06-2026", 4, 2) -> "06"
//   MidPart("abc", 9, 5) -> ""            MidPart("abc", 0, 2) -> ""
std::string MidPart(std::string_view text, std::size_t start, std::size_t count);

// Byte-wise comparison of unsigned bytes, no case folding, no locale; a text that is a
// beginning of the other is the smaller.
//   CompareText("Z", "a") -> <0           CompareText("       ", "      ") -> >0
//   CompareText("\t5", "      ") -> <0    CompareText("-5", "      ") -> >0
int CompareText(std::string_view a, std::string_view b);  // <0, 0, >0

}  // namespace kobrant
