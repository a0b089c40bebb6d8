#pragma once
// The rows that the on-air test sends: what is in the nine fields when "Enter" is
// pressed in the real kobrant.exe (type_rows_wine_test.cpp types them and keeps each
// row's WX-DATA.txt) and in the real Linux kobrant (direwolf_posix_test.cpp types them
// in a terminal), then Dire Wolf sends each record and decode_aprs reads it
// (direwolf_posix_test.cpp, on Linux, checks every value against what was typed).
//
// Texts are as the operator types them (decimal commas); each fits its edit field's
// input limit (5 characters, 6 for the pressure) but the first row's, which comes from
// the settings file. Ties that round to the even whole number at the ends of a width are
// left to the conversion's own tests; the rows past an end are clearly past it.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "station/field_conversion.h"
#include "station/fields.h"
#include "station/weather_record.h"

namespace kobrant::onair {

enum class RowInput {
    kSettingsFile,  // the texts are in kobrant.ctl when the program starts; nothing is typed
    kTyped,         // the texts are put into the nine edit fields
    kClear,         // "CLEAR" empties the fields (the texts are all empty)
};

struct ReportRow {
    std::string_view name;
    RowInput input;
    // WindDirection, WindSpeed, Gust, Temperature, RainHour, Rain24h, RainToday, Humidity, Pressure
    std::array<std::string_view, kFieldCount> texts;
};

// deg, m/s, m/s, deg C, mm, mm, mm, %, hPa
inline constexpr std::array<ReportRow, 14> kReportRows = {{
    {"settings file: 1E+400 in every field", RowInput::kSettingsFile,
     {"1E+400", "1E+400", "1E+400", "1E+400", "1E+400", "1E+400", "1E+400", "1E+400", "1E+400"}},
    {"the worked example", RowInput::kTyped, {"270", "5", "8", "20", "0", "1,5", "2", "65", "1013,2"}},
    {"all fields empty", RowInput::kTyped, {"", "", "", "", "", "", "", "", ""}},
    {"a negative temperature", RowInput::kTyped, {"315", "2,5", "6", "-20,6", "0,3", "4", "1", "92", "998,7"}},
    {"CLEAR", RowInput::kClear, {"", "", "", "", "", "", "", "", ""}},
    {"humidity 0", RowInput::kTyped, {"180", "1", "2", "15", "0", "0", "0", "0", "1020"}},
    {"humidity 100", RowInput::kTyped, {"45", "12", "20", "8", "2,5", "30", "12", "100", "990,5"}},
    // 999 deg, 999 mph, 999 deg F, 999 hundredths of an inch, 100 % (written 00), 99999
    {"the largest values that fit", RowInput::kTyped,
     {"999", "447,8", "447,8", "537,4", "253,8", "253,8", "253,8", "100,5", "9999,9"}},
    // -99 in the fields of width 3, -9 %; the pressure's floor of 100 hPa gives 01000
    {"the smallest values that fit", RowInput::kTyped,
     {"-99", "-44,5", "-44,5", "-73", "-25,2", "-25,2", "-25,2", "-9", "50"}},
    {"just past the top", RowInput::kTyped,
     {"999,6", "447,9", "447,9", "537,6", "253,9", "253,9", "253,9", "100,6", "10000"}},
    // the pressure has no lower end to pass: below its floor it is 01000
    {"just past the bottom", RowInput::kTyped,
     {"-99,6", "-44,6", "-44,6", "-73,1", "-25,3", "-25,3", "-25,3", "-9,6", "-1e39"}},
    {"1E+30 in every field", RowInput::kTyped,
     {"1E+30", "1E+30", "1E+30", "1E+30", "1E+30", "1E+30", "1E+30", "1E+30", "1E+30"}},
    {"1e39 in every field", RowInput::kTyped,
     {"1e39", "1e39", "1e39", "1e39", "1e39", "1e39", "1e39", "1e39", "1e39"}},
    // a direction of 1000, 300 mm of rain in 24 hours, -90 deg C, a humidity of 101
    {"values that used to be cut", RowInput::kTyped, {"1000", "1E+30", "", "-90", "", "300", "", "101", "1e39"}},
}};

// The folder, inside the rows folder, that keeps row i's WX-DATA.txt: "00", "01", ...
inline std::string RowFolder(std::size_t row) {
    const std::string number = std::to_string(row);
    return number.size() < 2 ? "0" + number : number;
}

// The data line the conversion makes of the row's texts (the program's own rules).
inline std::string ConvertedDataLine(const ReportRow& row) {
    ValueTexts values;
    for (Field field : kFields) {
        std::string text(row.texts[FieldIndex(field)]);
        values[FieldIndex(field)] = ConvertField(field, text);
    }
    return DataLine(values);
}

}  // namespace kobrant::onair
