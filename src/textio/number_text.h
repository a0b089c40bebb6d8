#pragma once
// Number and text rules: how text becomes a number, how a number becomes text, and the
// few text operations that the report and the settings file are built with.
//
// Texts are byte strings (Windows-1252): no locale, no encoding conversion anywhere.
// Arithmetic is x87 extended (see float_state.h). None of these functions fails or
// reports anything: a text that holds no number reads as zero, every number has a
// display form, and positions beyond a text's end give shorter or empty texts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kobrant {

long double ParseNumber(std::string_view text);
std::string FormatNumber(long double value, int digits);
std::string FormatFileNumber(long double value);
std::int32_t RoundToInteger(long double value);

std::string ReplaceAll(std::string_view search, std::string_view replacement, std::string_view text);
std::string RightPart(std::string_view text, std::size_t count);
std::string MidPart(std::string_view text, std::size_t start, std::size_t count);
int CompareText(std::string_view a, std::string_view b);  // <0, 0, >0

// A reading of the local clock.
struct ClockReading {
    int year = 0;    // 0-9999
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
};

std::string FormatDateText(const ClockReading& clock);  // "MM-DD-YYYY"
std::string FormatTimeText(const ClockReading& clock);  // "HH:MM:SS"
std::string DateText();  // FormatDateText of the local clock, read now
std::string TimeText();  // FormatTimeText of the local clock, read now

}  // namespace kobrant
