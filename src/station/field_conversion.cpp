#include "station/field_conversion.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "numbers/number_text.h"

namespace kobrant {
namespace {

enum class Conversion { None, Speed, Temperature, Rain, Humidity, Pressure };

struct FieldRule {
    Conversion conversion;
    int digits;         // significant digits of the display form
    std::size_t width;  // characters in the report's data line
};

// Indexed by Field.
constexpr std::array<FieldRule, kFieldCount> kFieldRules = {{
    {Conversion::None, 3, 3},         // WindDirection, degrees
    {Conversion::Speed, 3, 3},        // WindSpeed, m/s -> mph
    {Conversion::Speed, 3, 3},        // Gust
    {Conversion::Temperature, 3, 3},  // Temperature, deg C -> deg F
    {Conversion::Rain, 3, 3},         // RainHour, mm -> 1/100 inch
    {Conversion::Rain, 3, 3},         // Rain24h
    {Conversion::Rain, 3, 3},         // RainToday
    {Conversion::Humidity, 3, 2},     // Humidity, %
    {Conversion::Pressure, 5, 5},     // Pressure, hPa -> 1/10 hPa
}};

// The factors are single-precision values (3.5999999046325684, 0.6200000047683716,
// 0.2540000081062317); the report's numbers depend on exactly these.
constexpr float kSpeedFactor1 = 3.6f;
constexpr float kSpeedFactor2 = 0.62f;
constexpr float kRainDivisor = 0.254f;
constexpr float kPressureFloor = 100.0f;

constexpr std::string_view kSixBlanks = "      ";

constexpr Extended kNine = ExactExtended(9, 0);
constexpr Extended kFive = ExactExtended(5, 0);
constexpr Extended kThirtyTwo = ExactExtended(32, 0);
constexpr Extended kTen = ExactExtended(10, 0);

// Converts the working number into the report's unit and rounds it to a whole number.
// Each step is computed in extended precision and stored as single (ToSingle).
std::int32_t ConvertToWhole(Conversion conversion, float x) {
    switch (conversion) {
        case Conversion::None:
            break;
        case Conversion::Speed:
            // Two separate roundings, as the report has always been made.
            x = ToSingle(FromSingle(kSpeedFactor1) * FromSingle(x));
            x = ToSingle(FromSingle(kSpeedFactor2) * FromSingle(x));
            break;
        case Conversion::Temperature:
            x = ToSingle(kNine * FromSingle(x) / kFive + kThirtyTwo);
            break;
        case Conversion::Rain:
            x = ToSingle(FromSingle(x) / FromSingle(kRainDivisor));
            break;
        case Conversion::Humidity: {
            std::int32_t percent = RoundToInteger(FromSingle(x));
            if (percent == 0) percent = 1;
            if (percent == 100) percent = 0;
            return percent;
        }
        case Conversion::Pressure:
            if (!(x >= kPressureFloor)) x = kPressureFloor;  // NaN included
            x = ToSingle(kTen * FromSingle(x));
            break;
    }
    return RoundToInteger(FromSingle(x));
}

// Whether the whole number's text fits the field: up to `width` digits, or "-" and up
// to width - 1 digits. RoundToInteger's -2147483648 (out of range, infinite or NaN)
// never fits.
bool FitsWidth(std::int32_t value, std::size_t width) {
    std::int64_t largest = 1;
    for (std::size_t i = 0; i < width; ++i) largest *= 10;
    --largest;                                      // 999 for width 3
    const std::int64_t smallest = -(largest / 10);  // -99 for width 3
    return value >= smallest && value <= largest;
}

// The fixed-width text of a whole number. A negative number is "-" in front of the
// zero-filled text of its size: cutting the zero-filled "-5" would give "0-5", which
// readers of the report take for 0. A number whose text does not fit the width is the
// missing mark: cutting it gave wrong numbers ("E+3" for 1000, "-30" for -130, "01"
// for 101) or texts no reader can take ("-+9").
std::string WholeValueText(std::int32_t value, const FieldRule& rule) {
    if (!FitsWidth(value, rule.width)) return std::string(rule.width, '.');
    if (value >= 0) return RightPart(PadValueText(FormatNumber(FromInteger(value), rule.digits)), rule.width);
    return "-" + RightPart(PadValueText(FormatNumber(FromInteger(-value), rule.digits)), rule.width - 1);
}

}  // namespace

std::string PadValueText(std::string_view displayForm) {
    return "000000" + ReplaceAll(" ", "0", displayForm);
}

std::size_t ValueWidth(Field field) { return kFieldRules[FieldIndex(field)].width; }

std::string ConvertField(Field field, std::string& fieldText) {
    const FieldRule& rule = kFieldRules[FieldIndex(field)];

    fieldText = ReplaceAll(",", ".", fieldText);
    fieldText = ReplaceAll("\"", "'", fieldText);

    if (CompareText(fieldText, kSixBlanks) <= 0) return std::string(rule.width, '.');

    const float working = ToSingle(ParseNumber(fieldText));
    return WholeValueText(ConvertToWhole(rule.conversion, working), rule);
}

}  // namespace kobrant
