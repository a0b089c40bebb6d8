#pragma once
// The local clock, the one platform service of the number and text rules, and the
// texts the weather record's timestamp is cut from. local_clock_win.cpp reads
// GetLocalTime; local_clock_posix.cpp reads localtime_r.
//
// The examples below are replayed by NumberTextContract.CommentExamples.

#include <string>

namespace kobrant {

// A reading of the local clock.
struct ClockReading {
    int year = 0;    // 0-9999
    int month = 0;   // 1-12
    int day = 0;     // 1-31
    int hour = 0;    // 0-23
    int minute = 0;  // 0-59
    int second = 0;  // 0-59
};

ClockReading ReadLocalClock();

// Where a reading comes from: the local clock, or a fixed one in tests.
using ClockReader = ClockReading (*)();

// Two digits per field, with leading zeros; the year as four. Each field is taken
// modulo 100 (the year's two halves each), so the texts keep their length.
//   FormatDateText({2026, 12, 6, 14, 5, 9}) -> "12-06-2026"
//   FormatTimeText({2026, 12, 6, 14, 5, 9}) -> "14:05:09"
std::string FormatDateText(const ClockReading& clock);  // "MM-DD-YYYY"
std::string FormatTimeText(const ClockReading& clock);  // "HH:MM:SS"

}  // namespace kobrant
