#pragma once
// The report on the air, as the on-air tests see it: the packet Dire Wolf sends with
// the data line as its position beacon's comment, decode_aprs's reading of that packet,
// and what each of the nine values must read as for what the operator typed.
//
// What a value must read as is worked out here on its own, from the typed text alone
// (strtod, double precision, the report's units and factors), not with the program's
// conversion: the number in the report's unit, within the report's rounding to a whole
// number (and within decode_aprs's own rounding of what it shows); missing when the
// field is empty or the whole number does not fit the field's width.
//
// The examples below are replayed by AprsWeather.ExpectedValues.
//
//   ExpectedValue(Field::Temperature, "20")   -> value 68
//   ExpectedValue(Field::WindSpeed, "5")      -> value 11.16 (5 x 3.6 x 0.62 mph)
//   ExpectedValue(Field::Humidity, "101")     -> missing
//   ExpectedValue(Field::WindDirection, "")   -> missing
//   ExpectedValue(Field::Pressure, "50")      -> value 1000 (tenths of a hPa; the floor of 100 hPa)
//   ExpectedValue(Field::WindDirection, "999,5") -> either (999.5 lies on the rounding's edge)

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/fields.h"

namespace kobrant::onair {

// The beacon: Dire Wolf's PBEACON with the weather symbol "/_" at this position sends a
// position report "!" + position + "/" + "_" + comment from the station MYCALL to the
// destination of its own software (APDW16 for Dire Wolf 1.6).
inline constexpr std::string_view kCallsign = "KOBRNT";
inline constexpr std::string_view kBeaconLatitude = "52^31.00N";    // as Dire Wolf's configuration writes it
inline constexpr std::string_view kBeaconLongitude = "013^24.00E";
inline constexpr std::string_view kPacketBeforeDataLine = "KOBRNT>APDW16:!5231.00N/01324.00E_";
// The same position as kobrant-beacon takes it, APRS's own form.
inline constexpr std::string_view kAprsPosition = "5231.00N/01324.00E";
// How decode_aprs shows that position.
inline constexpr std::string_view kPositionShown = "N 52 31.0000, E 013 24.0000";

// The packet that carries a data line, in the monitor format that Dire Wolf prints and
// decode_aprs reads.
std::string Packet(std::string_view dataLine);

// The lines of a program's output, each without its LF (a CR before it stays).
std::vector<std::string_view> OutputLines(std::string_view output);

// What one field must read as.
struct Expected {
    enum class Kind {
        kValue,    // a value, near `value`
        kMissing,  // no value
        kEither,   // `value` lies so near an end of the width (or a rounding edge there)
                   // that single precision decides: a value or missing
    };
    Kind kind = Kind::kMissing;
    double value = 0;  // in the report's unit, before its rounding
};
Expected ExpectedValue(Field field, std::string_view typed);

// decode_aprs's reading of one packet.
struct Reading {
    // Each field's value in the report's unit (degrees, mph, deg F, hundredths of an
    // inch, percent, tenths of a hPa), worked back from what decode_aprs shows.
    std::array<std::optional<double>, kFieldCount> values;
    std::string weatherLine;              // decode_aprs's line of weather items, as shown
    std::optional<std::string> leftover;  // the comment text left after the weather items
    std::vector<std::string> complaints;  // lines and items that are not a plain weather report
};

// Splits decode_aprs's output for these packets (given in this order) into one reading
// each. A packet decode_aprs did not echo gets a reading with a complaint.
std::vector<Reading> ReadDecodeAprsOutput(std::string_view output, const std::vector<std::string>& packets);

// The comparison of one row: the typed texts against the reading.
struct Comparison {
    std::vector<std::string> mismatches;  // empty when every field reads as it must
    // decode_aprs shows the direction only behind the wind speed: with the speed missing
    // a direction that is there cannot be seen, and is then not checked (set here).
    bool directionHidden = false;
};
Comparison Compare(const std::array<std::string, kFieldCount>& typed, const Reading& reading);

// decode_aprs on these packets, one a line, fed from a file in folder: its output, or
// false with why.
bool RunDecodeAprs(const std::vector<std::string>& packets, const std::string& folder, std::string& output,
                   std::string& why);

}  // namespace kobrant::onair
