#include "station/weather_record.h"

#include <utility>

#include "numbers/number_text.h"

namespace kobrant {
namespace {

// The month number as the date text gives it, and the name the record writes.
constexpr std::pair<std::string_view, std::string_view> kMonthNames[] = {
    {"01", "Jan"}, {"02", "Feb"}, {"03", "Mar"}, {"04", "Apr"}, {"05", "Mai"}, {"06", "Jun"},
    {"07", "Jul"}, {"08", "Aug"}, {"09", "Sep"}, {"10", "Oct"}, {"11", "Nov"}, {"12", "Dec"}};

// The key in front of each field's value in the data line, in field order.
constexpr std::string_view kFieldKeys[kFieldCount] = {"", "/", "g", "t", "r", "p", "P", "h", "b"};

// How often the time and date are read at most when midnight keeps getting in between
// (only a clock that is being set can do that more than once).
constexpr int kTimestampReadings = 3;

}  // namespace

std::string TimestampLine(std::string_view dateText, std::string_view timeText) {
    std::string month = MidPart(dateText, 1, 2);
    const std::string day = MidPart(dateText, 4, 2);
    const std::string year = RightPart(dateText, 4);
    const std::string hourAndMinute = MidPart(timeText, 1, 5);
    for (const auto& [number, name] : kMonthNames) {
        if (CompareText(month, number) == 0) month = name;
    }
    return month + " " + day + " " + year + " " + hourAndMinute;
}

std::string DataLine(const ValueTexts& values) {
    std::string line;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        line += kFieldKeys[i];
        line += values[i];
    }
    return line;
}

std::string ReadTimestampLine(ClockReader readClock) {
    std::string timeText, dateText;
    for (int reading = 0; reading < kTimestampReadings; ++reading) {
        timeText = FormatTimeText(readClock());
        dateText = FormatDateText(readClock());
        // "HH:MM:SS" texts compare like the times they spell: an earlier time now means
        // the day changed after the time was read, so the date may be the next day's.
        if (CompareText(FormatTimeText(readClock()), timeText) >= 0) break;
    }
    return TimestampLine(dateText, timeText);
}

std::string WriteWeatherRecord(std::string_view recordPath, const ValueTexts& values, FileError& error,
                               ClockReader readClock) {
    DeleteBeforeRewrite(recordPath, error);

    const std::string timestamp = ReadTimestampLine(readClock);
    const std::string data = DataLine(values);

    if (!OpenForOutput(recordPath, kRecordFileNumber, error)) return timestamp;
    WriteText(kRecordFileNumber, timestamp, error);
    EndLine(kRecordFileNumber, error);
    WriteText(kRecordFileNumber, data, error);
    EndLine(kRecordFileNumber, error);
    return timestamp;
}

}  // namespace kobrant
