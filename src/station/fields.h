#pragma once
// The nine weather fields, in the fixed order of the dialog, the settings file and the
// report's data line, and the two kinds of text each field has: the field text as the
// operator typed it (kept in the settings file) and the value text the report writes.

#include <array>
#include <cstddef>
#include <string>

namespace kobrant {

enum class Field { WindDirection, WindSpeed, Gust, Temperature, RainHour, Rain24h, RainToday, Humidity, Pressure };

inline constexpr std::size_t kFieldCount = 9;
inline constexpr std::array<Field, kFieldCount> kFields = {
    Field::WindDirection, Field::WindSpeed, Field::Gust,      Field::Temperature, Field::RainHour,
    Field::Rain24h,       Field::RainToday, Field::Humidity,  Field::Pressure};

constexpr std::size_t FieldIndex(Field field) { return static_cast<std::size_t>(field); }

// One text per field, indexed by FieldIndex.
using FieldTexts = std::array<std::string, kFieldCount>;  // as typed, commas made points
using ValueTexts = std::array<std::string, kFieldCount>;  // as the report writes them

}  // namespace kobrant
