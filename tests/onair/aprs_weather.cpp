#include "onair/aprs_weather.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "support/files.h"
#include "support/processes_posix.h"

namespace kobrant::onair {
namespace {

constexpr std::array<std::string_view, kFieldCount> kNames = {
    "direction", "wind speed", "gust", "temperature", "rain last hour", "rain 24 hours", "rain today",
    "humidity",  "pressure"};

// decode_aprs's factors (Dire Wolf 1.6). It takes the three digits after the direction
// as knots, the course/speed extension of APRS 1.0.1, and shows "270/011" as 12.7 mph;
// the weather-file convention, the radios' manuals and this program write mph there, as
// for the gust. The program stays as it is: the reading is worked back through the
// factor (11 x 1.15078 = 12.66 shown as 12.7, read back as 11.04).
constexpr double kKnotsToMph = 1.15077945;
// The pressure is shown in inches of mercury with two decimals.
constexpr double kMillibarToInchHg = 0.0295333727;

// How far what decode_aprs shows may lie from the report's whole number, in the report's
// unit, because decode_aprs rounds what it shows: the wind speed to 0.1 mph of its own
// (0.043 of the report's), the pressure to 0.01 inHg (1.69 tenths of a hPa).
double ShownRounding(Field field) {
    switch (field) {
        case Field::WindSpeed:
            return 0.05 / kKnotsToMph;
        case Field::Pressure:
            return 0.005 / kMillibarToInchHg * 10;
        default:
            return 1e-6;
    }
}

// Single precision and the program's single-precision constants may move a result by
// this much from the double-precision one worked out here.
double Slack(double value) { return 1e-6 * std::max(1.0, std::fabs(value)); }

// The conversion's presence test: the text compares greater than six blanks (bytes
// unsigned), so an empty text and one of up to six blanks are missing.
bool Present(std::string_view text) {
    for (std::size_t i = 0; i < text.size() && i < 6; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte != ' ') return byte > ' ';
    }
    return text.size() > 6;
}

// A decimal text with a decimal comma or point; no number reads as 0.
double TypedNumber(std::string_view typed) {
    std::string text(typed);
    std::replace(text.begin(), text.end(), ',', '.');
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? 0.0 : value;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }
bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// "before NUMBER after", the number read whole.
bool ItemNumber(std::string_view item, std::string_view before, std::string_view after, double& number) {
    if (item.size() < before.size() + after.size() || !StartsWith(item, before) || !EndsWith(item, after)) {
        return false;
    }
    const std::string text(item.substr(before.size(), item.size() - before.size() - after.size()));
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

void SetValue(Reading& reading, Field field, double value, std::string_view item) {
    std::optional<double>& slot = reading.values[FieldIndex(field)];
    if (slot) reading.complaints.push_back("shown twice: " + std::string(item));
    slot = value;
}

// decode_aprs's weather line: the items, ", " between them, then the rest of the
// comment in quotes ("wind 12.7 mph, direction 270, ..., barometer 29.92, \"\"").
void ReadWeatherLine(Reading& reading, std::string_view line) {
    reading.weatherLine = std::string(line);
    const std::size_t quote = line.rfind(", \"");
    if (quote == std::string_view::npos) {
        reading.complaints.push_back("no comment quotes in: " + std::string(line));
        return;
    }
    const std::string_view comment = line.substr(quote + 3, line.size() - quote - 4);
    if (!comment.empty()) reading.leftover = std::string(comment);

    std::string_view items = line.substr(0, quote);
    while (!items.empty()) {
        const std::size_t comma = items.find(", ");
        const std::string_view item = items.substr(0, comma);
        items = comma == std::string_view::npos ? std::string_view() : items.substr(comma + 2);
        if (item.empty()) continue;  // the line starts with ", " when no wind speed is shown
        double x = 0;
        if (ItemNumber(item, "wind ", " mph", x)) {
            SetValue(reading, Field::WindSpeed, x / kKnotsToMph, item);
        } else if (ItemNumber(item, "direction ", "", x)) {
            SetValue(reading, Field::WindDirection, x, item);
        } else if (ItemNumber(item, "gust ", "", x)) {
            SetValue(reading, Field::Gust, x, item);
        } else if (ItemNumber(item, "temperature ", "", x)) {
            SetValue(reading, Field::Temperature, x, item);
        } else if (ItemNumber(item, "rain ", " in last hour", x)) {
            SetValue(reading, Field::RainHour, x * 100, item);
        } else if (ItemNumber(item, "rain ", " in last 24 hours", x)) {
            SetValue(reading, Field::Rain24h, x * 100, item);
        } else if (ItemNumber(item, "rain ", " since midnight", x)) {
            SetValue(reading, Field::RainToday, x * 100, item);
        } else if (ItemNumber(item, "humidity ", "", x)) {
            SetValue(reading, Field::Humidity, x, item);
        } else if (ItemNumber(item, "barometer ", "", x)) {
            SetValue(reading, Field::Pressure, x / kMillibarToInchHg * 10, item);
        } else {
            reading.complaints.push_back("not a weather item: " + std::string(item));
        }
    }
}

// decode_aprs colours its output with ANSI escapes whatever it writes to.
std::string WithoutColours(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
            i += 2;
            while (i < text.size() && !(text[i] >= '@' && text[i] <= '~')) ++i;
            continue;
        }
        plain += text[i];
    }
    return plain;
}

}  // namespace

std::string Packet(std::string_view dataLine) { return std::string(kPacketBeforeDataLine) + std::string(dataLine); }

Expected ExpectedValue(Field field, std::string_view typed) {
    if (!Present(typed)) return {Expected::Kind::kMissing, 0};
    const double x = TypedNumber(typed);
    double value = x;
    double smallest = -99, largest = 999;  // the whole numbers the width holds
    switch (field) {
        case Field::WindDirection:
            break;
        case Field::WindSpeed:
        case Field::Gust:
            value = x * 3.6 * 0.62;  // m/s -> km/h -> mph, with the report's 0.62 miles per km
            break;
        case Field::Temperature:
            value = x * 9 / 5 + 32;
            break;
        case Field::RainHour:
        case Field::Rain24h:
        case Field::RainToday:
            value = x / 0.254;  // mm -> hundredths of an inch
            break;
        case Field::Humidity:
            smallest = -9;
            largest = 100;  // written 00
            break;
        case Field::Pressure:
            value = (x < 100 ? 100 : x) * 10;  // tenths of a hPa, at least 100 hPa
            smallest = 0;
            largest = 99999;
            break;
    }
    if (!std::isfinite(value)) return {Expected::Kind::kMissing, value};
    const double slack = Slack(value);
    if (value > largest + 0.5 + slack || value < smallest - 0.5 - slack) return {Expected::Kind::kMissing, value};
    if (value < largest + 0.5 - slack && value > smallest - 0.5 + slack) return {Expected::Kind::kValue, value};
    return {Expected::Kind::kEither, value};
}

std::vector<std::string_view> OutputLines(std::string_view output) {
    std::vector<std::string_view> lines;
    while (!output.empty()) {
        const std::size_t end = std::min(output.find('\n'), output.size());
        lines.push_back(output.substr(0, end));
        output.remove_prefix(std::min(end + 1, output.size()));
    }
    return lines;
}

std::vector<Reading> ReadDecodeAprsOutput(std::string_view output, const std::vector<std::string>& packets) {
    std::vector<Reading> readings(packets.size());
    std::vector<bool> echoed(packets.size(), false), weatherReport(packets.size(), false);
    const std::string plain = WithoutColours(output);
    std::size_t next = 0;
    Reading* current = nullptr;
    std::size_t currentIndex = 0;
    for (std::string_view line : OutputLines(plain)) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (next < packets.size() && line == packets[next]) {  // decode_aprs echoes each packet first
            currentIndex = next;
            current = &readings[next];
            echoed[next++] = true;
            continue;
        }
        if (current == nullptr || line.empty()) continue;
        if (StartsWith(line, "Weather Report, ")) {
            weatherReport[currentIndex] = true;
        } else if (line == kPositionShown) {
            // the beacon's position
        } else if (EndsWith(line, "\"") && current->weatherLine.empty()) {
            ReadWeatherLine(*current, line);
        } else {
            current->complaints.push_back(std::string(line));  // "Didn't find temperature in form t999." and others
        }
    }
    for (std::size_t i = 0; i < packets.size(); ++i) {
        if (!echoed[i]) {
            readings[i].complaints.push_back("decode_aprs did not show the packet " + packets[i]);
        } else if (!weatherReport[i]) {
            readings[i].complaints.push_back("not read as a weather report");
        } else if (readings[i].weatherLine.empty()) {
            readings[i].complaints.push_back("no line of weather items");
        }
    }
    return readings;
}

Comparison Compare(const std::array<std::string, kFieldCount>& typed, const Reading& reading) {
    Comparison result;
    for (const std::string& complaint : reading.complaints) result.mismatches.push_back("decode_aprs: " + complaint);
    if (reading.leftover) result.mismatches.push_back("comment text left over: \"" + *reading.leftover + "\"");

    const bool speedShown = reading.values[FieldIndex(Field::WindSpeed)].has_value();
    for (Field field : kFields) {
        const std::size_t index = FieldIndex(field);
        const Expected expected = ExpectedValue(field, typed[index]);
        const std::optional<double>& got = reading.values[index];
        const std::string what = std::string(kNames[index]) + " typed \"" + typed[index] + "\": ";
        if (field == Field::WindDirection && !speedShown) {
            if (got) {
                result.mismatches.push_back(what + "shown without a wind speed");
            } else if (expected.kind != Expected::Kind::kMissing) {
                result.directionHidden = true;
            }
            continue;
        }
        if (!got) {
            if (expected.kind == Expected::Kind::kValue) {
                result.mismatches.push_back(what + "must read " + Number(expected.value) + ", reads as missing");
            }
            continue;
        }
        if (expected.kind == Expected::Kind::kMissing) {
            result.mismatches.push_back(what + "must be missing, reads " + Number(*got));
            continue;
        }
        const double tolerance = 0.5 + Slack(expected.value) + ShownRounding(field);
        bool near = std::fabs(*got - expected.value) <= tolerance;
        // APRS has no 0 %: the report writes a humidity that rounds to 0 as 01.
        if (field == Field::Humidity && *got == 1 && std::fabs(expected.value) <= tolerance) near = true;
        if (!near) {
            result.mismatches.push_back(what + "must read " + Number(expected.value) + " (within " + Number(tolerance) +
                                        "), reads " + Number(*got));
        }
    }
    return result;
}

bool RunDecodeAprs(const std::vector<std::string>& packets, const std::string& folder, std::string& output,
                   std::string& why) {
    std::string lines;
    for (const std::string& packet : packets) lines += packet + "\n";
    const std::string input = folder + "/packets.txt";
    const std::string decoded = folder + "/decoded.txt";
    if (!test::WriteBytes(input, lines)) {
        why = "cannot write " + input;
        return false;
    }
    const int process = test::StartProgram({"decode_aprs", input}, folder, "", decoded, why);
    if (process < 0) return false;
    int status = 0;
    if (!test::WaitForEnd(process, 60000, status)) {
        test::EndProgram(process);
        why = "decode_aprs did not end within 60 s";
        return false;
    }
    output = test::ReadBytes(decoded);
    if (status != 0) {
        why = "decode_aprs ended with " + std::to_string(status);
        return false;
    }
    return true;
}

}  // namespace kobrant::onair
