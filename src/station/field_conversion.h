#pragma once
// Field conversion: one typed weather field (metric) becomes its value text in the
// weather report (the report's unit, a fixed width), and its field text is cleaned.
//
// The examples below are replayed by ConvertField.CommentExamples.

#include <string>
#include <string_view>

#include "station/fields.h"

namespace kobrant {

// Cleans fieldText in place and returns the field's value text.
//
// Cleaning: every "," becomes "." (a decimal comma reads like a point), then every
// double quote becomes an apostrophe (the settings file keeps the text between double
// quotes and could not read it back otherwise; both end a number alike).
//
// A field text that is not greater than six blanks (empty, or up to six blanks) is
// missing: its value text is as many "." as the field's width. Otherwise the text is
// read with ParseNumber into a single-precision working number and converted, each step
// computed in extended precision and stored as single:
//   WindDirection  degrees, as typed                 width 3
//   WindSpeed,Gust m/s: x 3.6, then x 0.62 (mph)     width 3
//   Temperature    deg C: 9 x / 5 + 32 in one go     width 3
//   RainHour, Rain24h, RainToday  mm: / 0.254        width 3 (hundredths of an inch)
//   Humidity       %: rounded, then 0 -> 1, 100 -> 0 width 2
//   Pressure       hPa: at least 100, then x 10      width 5 (tenths of a hPa)
// 3.6, 0.62 and 0.254 are the single-precision constants. Every field ends in
// RoundToInteger (ties to even); the whole number is written with FormatNumber (3
// significant digits, 5 for the pressure), zero-filled by PadValueText and cut to its
// last `width` characters. A negative number keeps its "-" in front: "-" and the last
// width - 1 characters of the zero-filled text of its size.
// A whole number whose text does not fit the width (more than `width` digits, or a
// negative one with more than width - 1) and a rounding that fails (RoundToInteger's
// -2147483648 for a result out of its range, an infinity or a NaN) give the missing
// mark instead: the report then says "not known" rather than a wrong number. The field
// text keeps what was typed. The widths hold -99 to 999, humidity -9 to 99 (100 is
// written 00) and pressure up to 99999 (its floor keeps it at 1000 or more).
//   ConvertField(WindDirection, "270") -> "270"   ConvertField(WindDirection, "5") -> "005"
//   ConvertField(WindDirection, "45,5") -> "046"  ConvertField(WindSpeed, "5") -> "011"
//   ConvertField(Gust, "8") -> "018"              ConvertField(Temperature, "20") -> "068"
//   ConvertField(Temperature, "2,5") -> "036"     ConvertField(Temperature, "-25") -> "-13"
//   ConvertField(Temperature, "-20,6") -> "-05"   ConvertField(Rain24h, "1,5") -> "006"
//   ConvertField(RainToday, "25,4") -> "100"      ConvertField(Humidity, "65") -> "65"
//   ConvertField(Humidity, "0") -> "01"           ConvertField(Humidity, "100") -> "00"
//   ConvertField(Humidity, "45,5") -> "46"        ConvertField(Pressure, "1013,2") -> "10132"
//   ConvertField(Pressure, "50") -> "01000"       ConvertField(Pressure, "999,95") -> "10000"
// Values at the ends of the widths and past them:
//   ConvertField(WindDirection, "999") -> "999"   ConvertField(WindDirection, "1000") -> "..."
//   ConvertField(Temperature, "-73") -> "-99"     ConvertField(Temperature, "-90") -> "..."
//   ConvertField(Rain24h, "253,8") -> "999"       ConvertField(Rain24h, "300") -> "..."
//   ConvertField(Humidity, "-9") -> "-9"          ConvertField(Humidity, "101") -> ".."
//   ConvertField(Pressure, "9999,9") -> "99999"   ConvertField(Pressure, "10000") -> "....."
//   ConvertField(WindSpeed, "1E+30") -> "..."     ConvertField(Pressure, "1e39") -> "....."
//   ConvertField(Gust, "1E+400") -> "..."         (longer than a field takes: from the settings file)
// Missing values, and texts that hold no number:
//   ConvertField(WindSpeed, "") -> "..."          ConvertField(Temperature, "      ") -> "..."
//   ConvertField(Humidity, "") -> ".."            ConvertField(Pressure, "") -> "....."
//   ConvertField(Temperature, "abc") -> "032"     ConvertField(Pressure, "abc") -> "01000"
// Cleaned field texts:
//   "12,5" -> "12.5"    "1,2,3" -> "1.2.3"    "5\"" -> "5'"    " 5" -> " 5"
std::string ConvertField(Field field, std::string& fieldText);

// The characters of a field's value in the data line (its missing mark as many ".").
//   ValueWidth(WindDirection) -> 3    ValueWidth(Humidity) -> 2    ValueWidth(Pressure) -> 5
std::size_t ValueWidth(Field field);

// The zero-filled form of a FormatNumber display form: its blanks become "0" and six
// zeros go in front; the caller keeps the last characters it needs.
//   PadValueText(" 5") -> "00000005"    PadValueText("-5") -> "000000-5"
//   PadValueText(" 1E+3") -> "00000001E+3"
std::string PadValueText(std::string_view displayForm);

}  // namespace kobrant
