#include "station/record_check.h"

#include <array>
#include <cstddef>

#include "station/field_conversion.h"
#include "station/weather_record.h"

namespace kobrant {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

enum class ValueKind { kBad, kNumber, kMissing };

ValueKind KindOfValue(std::string_view value) {
    if (value.find_first_not_of('.') == std::string_view::npos) return ValueKind::kMissing;
    const std::size_t firstDigit = value[0] == '-' ? 1 : 0;
    if (firstDigit == value.size()) return ValueKind::kBad;
    for (std::size_t i = firstDigit; i < value.size(); ++i) {
        if (!IsDigit(value[i])) return ValueKind::kBad;
    }
    return ValueKind::kNumber;
}

// Each value's kind, or false when the line is not of the form.
bool ReadValueKinds(std::string_view line, std::array<ValueKind, kFieldCount>& kinds) {
    std::size_t at = 0;
    for (Field field : kFields) {
        const std::size_t i = FieldIndex(field), width = ValueWidth(field);
        if (line.substr(at, kFieldKeys[i].size()) != kFieldKeys[i]) return false;
        at += kFieldKeys[i].size();
        if (line.size() - at < width) return false;
        kinds[i] = KindOfValue(line.substr(at, width));
        if (kinds[i] == ValueKind::kBad) return false;
        at += width;
    }
    return at == line.size();
}

// The next line of text from `at`, without its LF or CR LF; false when no LF ends it.
bool NextLine(std::string_view text, std::size_t& at, std::string_view& line) {
    const std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) return false;
    line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    return true;
}

}  // namespace

int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (at > text.size() || count > text.size() - at) return -1;
    int number = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        number = number * 10 + (text[i] - '0');
    }
    return number;
}

bool ReadTimestampLine(std::string_view line, ClockReading& time) {
    // "Mon DD YYYY HH:MM"
    if (line.size() != 17 || line[3] != ' ' || line[6] != ' ' || line[11] != ' ' || line[14] != ':') return false;
    int month = 0;
    for (std::size_t i = 0; i < kRecordMonthNames.size(); ++i) {
        if (line.substr(0, 3) == kRecordMonthNames[i]) month = static_cast<int>(i) + 1;
    }
    const int day = DigitsAt(line, 4, 2), year = DigitsAt(line, 7, 4);
    const int hour = DigitsAt(line, 12, 2), minute = DigitsAt(line, 15, 2);
    if (month == 0 || year < 0 || day < 1 || day > DaysInMonth(year, month) || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59) {
        return false;
    }
    time = {year, month, day, hour, minute, 0};
    return true;
}

bool IsDataLine(std::string_view line) {
    std::array<ValueKind, kFieldCount> kinds{};
    return ReadValueKinds(line, kinds);
}

bool AllValuesMissing(std::string_view dataLine) {
    std::array<ValueKind, kFieldCount> kinds{};
    if (!ReadValueKinds(dataLine, kinds)) return false;
    for (const ValueKind kind : kinds) {
        if (kind != ValueKind::kMissing) return false;
    }
    return true;
}

CheckedRecord CheckRecord(std::string_view text) {
    CheckedRecord record;
    std::size_t at = 0;
    std::string_view first, second;
    if (text.empty()) {
        record.fault = RecordFault::kEmpty;
    } else if (!NextLine(text, at, first)) {
        record.fault = RecordFault::kNotTwoLines;
    } else if (at == text.size()) {
        record.fault = ReadTimestampLine(first, record.time) ? RecordFault::kFirstLineOnly : RecordFault::kBadTimestamp;
    } else if (!NextLine(text, at, second) || at != text.size()) {
        record.fault = RecordFault::kNotTwoLines;
    } else if (!ReadTimestampLine(first, record.time)) {
        record.fault = RecordFault::kBadTimestamp;
    } else if (!IsDataLine(second)) {
        record.fault = RecordFault::kBadDataLine;
    } else if (AllValuesMissing(second)) {
        record.fault = RecordFault::kNoValue;
    } else {
        record.dataLine = std::string(second);
    }
    if (record.fault != RecordFault::kNone) record.time = {};
    return record;
}

// Days from 1970-01-01 of a date, and the date of a day count: the civil calendar's
// arithmetic in eras of 400 years (146097 days), which repeat exactly, with March as
// the first month so that the leap day comes last in its year.
std::int64_t CalendarSeconds(const ClockReading& time) {
    const std::int64_t year = time.year - (time.month <= 2 ? 1 : 0);
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t monthFromMarch = (time.month + 9) % 12;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + time.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

ClockReading CalendarTime(std::int64_t seconds) {
    std::int64_t days = seconds / 86400, secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    ClockReading time;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    return time;
}

}  // namespace kobrant
