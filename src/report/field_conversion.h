#pragma once
// Field conversion: one typed weather field (metric) becomes its value text in the
// weather report (the report's unit, a fixed width), and its field text is cleaned.

#include <array>
#include <cstddef>
#include <string>

namespace kobrant {

// The nine weather fields, in the fixed order of the dialog, the settings file and
// the report's data line.
enum class Field { WindDirection, WindSpeed, Gust, Temperature, RainHour, Rain24h, RainToday, Humidity, Pressure };

inline constexpr std::size_t kFieldCount = 9;
inline constexpr std::array<Field, kFieldCount> kFields = {
    Field::WindDirection, Field::WindSpeed, Field::Gust,      Field::Temperature, Field::RainHour,
    Field::Rain24h,       Field::RainToday, Field::Humidity,  Field::Pressure};

// One text per field, indexed by static_cast<std::size_t>(Field).
using FieldTexts = std::array<std::string, kFieldCount>;

// Cleans fieldText in place and returns the field's value text.
std::string ConvertField(Field field, std::string& fieldText);

}  // namespace kobrant
