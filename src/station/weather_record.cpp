#include "station/weather_record.h"

#include "numbers/number_text.h"

namespace kobrant {
namespace {

// How often the time and date are read at most when midnight keeps getting in between
// (only a clock that is being set can do that more than once).
constexpr int kTimestampReadings = 3;

}  // namespace

std::string TimestampLine(std::string_view dateText, std::string_view timeText) {
    std::string month = MidPart(dateText, 1, 2);
    const std::string day = MidPart(dateText, 4, 2);
    const std::string year = RightPart(dateText, 4);
    const std::string hourAndMinute = MidPart(timeText, 1, 5);
    // Compared with "01" to "12" in turn; a name never equals a later number.
    for (std::size_t i = 0; i < kRecordMonthNames.size(); ++i) {
        const char number[] = {static_cast<char>('0' + (i + 1) / 10), static_cast<char>('0' + (i + 1) % 10), '\0'};
        if (CompareText(month, number) == 0) month = kRecordMonthNames[i];
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
