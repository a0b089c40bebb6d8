#pragma once
// Reading a weather record back, as a program that sends it on does: the record file's
// text checked against the form WriteWeatherRecord gives it, and its timestamp line
// turned into the calendar time it names. Nothing here reads a file or a clock.
//
// The examples below are replayed by RecordCheck.CommentExamples.

#include <cstdint>
#include <string>
#include <string_view>

#include "system/local_clock.h"

namespace kobrant {

// The number that the `count` digits at text[at] spell; -1 when one is no digit or the
// text is shorter.
//   DigitsAt("Dec 06 2026", 4, 2) -> 6    DigitsAt("Dec 06", 3, 2) -> -1    DigitsAt("06", 1, 2) -> -1
int DigitsAt(std::string_view text, std::size_t at, std::size_t count);

// The calendar time of a timestamp line "Mon DD YYYY HH:MM" (the month names of the
// record, "Mai" for May; a day that the month has; hours 00-23, minutes 00-59); its
// second is 0. False for anything else, the line's end included.
//   ReadTimestampLine("Dec 06 2026 14:05", t) -> true, t = {2026, 12, 6, 14, 5, 0}
//   ReadTimestampLine("Mai 31 2027 00:00", t) -> true
//   ReadTimestampLine("May 31 2027 00:00", t) -> false   (the record writes "Mai")
//   ReadTimestampLine("Feb 29 2027 10:00", t) -> false   (2027 is no leap year)
//   ReadTimestampLine("Dec 06 2026 24:00", t) -> false
//   ReadTimestampLine("Dec 06 2026 14:05\r", t) -> false
bool ReadTimestampLine(std::string_view line, ClockReading& time);

// Whether a line is a data line of the record's form: the nine values behind their keys
// (none, then / g t r p P h b), each either its field's width of digits (3, the
// humidity 2, the pressure 5), the same with a "-" in front of width - 1 digits, or as
// many "." as the width (missing).
//   IsDataLine("270/011g018t068r000p006P008h65b10132") -> true
//   IsDataLine("315/006g013t-05r001p016P004h92b09987") -> true
//   IsDataLine(".../...g...t...r...p...P...h..b.....") -> true
//   IsDataLine("270/011g018t068r000p006P008h65b1013")  -> false  (a digit short)
//   IsDataLine("270/011g018t0-5r000p006P008h65b10132") -> false  (a "-" inside)
//   IsDataLine("270/011g018t068r000p006P008h...b10132") -> false (3 dots for 2 places)
bool IsDataLine(std::string_view line);

// Whether every value of a data line is missing.
//   AllValuesMissing(".../...g...t...r...p...P...h..b.....") -> true
//   AllValuesMissing(".../...g...t068r...p...P...h..b.....") -> false
bool AllValuesMissing(std::string_view dataLine);

// What is wrong with a record's text, first found first.
enum class RecordFault {
    kNone,
    kEmpty,           // no byte at all
    kFirstLineOnly,   // the timestamp line and nothing after it (caught while written)
    kNotTwoLines,     // not exactly two lines each ended by LF or CR LF
    kBadTimestamp,    // line 1 is no timestamp line
    kBadDataLine,     // line 2 is no data line
    kNoValue,         // every value is missing
};

struct CheckedRecord {
    RecordFault fault = RecordFault::kNone;
    ClockReading time;     // from line 1, when the fault is none
    std::string dataLine;  // line 2 without its end, when the fault is none
};

// Checks a record file's whole text: exactly two lines, each ended by LF or CR LF, a
// timestamp line and a data line that has at least one value.
//   CheckRecord("Dec 06 2026 14:05\r\n270/011g018t068r000p006P008h65b10132\r\n")
//       -> {kNone, {2026, 12, 6, 14, 5, 0}, "270/011g018t068r000p006P008h65b10132"}
//   CheckRecord("Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n") -> kNone
//   CheckRecord("Dec 06 2026 14:05\r\n")                                     -> kFirstLineOnly
//   CheckRecord("Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132")   -> kNotTwoLines
CheckedRecord CheckRecord(std::string_view text);

// Seconds since 1970-01-01 00:00 of a calendar time read as UTC, and back (proleptic
// Gregorian calendar, any year 0-9999).
//   CalendarSeconds({1970, 1, 1, 0, 0, 0}) -> 0
//   CalendarSeconds({2026, 12, 6, 13, 5, 0}) -> 1796562300
//   CalendarTime(1796562300) -> {2026, 12, 6, 13, 5, 0}
std::int64_t CalendarSeconds(const ClockReading& time);
ClockReading CalendarTime(std::int64_t seconds);

}  // namespace kobrant
