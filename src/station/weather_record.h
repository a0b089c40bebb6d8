#pragma once
// The weather record WX-DATA.txt: the latest report, two lines, read by the program
// that sends the report on the air. On Windows each line ends with CR LF, 57 bytes in
// all (17 + 2 + 36 + 2); on Linux with LF, 55 bytes.
//
//   Dec 06 2026 14:05
//   270/011g018t068r000p006P008h65b10132
//
// The examples below are replayed by WeatherRecord.CommentExamples.

#include <array>
#include <string>
#include <string_view>

#include "station/fields.h"
#include "system/local_clock.h"
#include "system/sequential_files.h"

namespace kobrant {

inline constexpr int kRecordFileNumber = 2;

// The names the timestamp line gives the months, January first: English but for May.
inline constexpr std::array<std::string_view, 12> kRecordMonthNames = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// The key in front of each field's value in the data line, in field order (none before
// the first).
inline constexpr std::array<std::string_view, kFieldCount> kFieldKeys = {"", "/", "g", "t", "r", "p", "P", "h", "b"};

// "Mon DD YYYY HH:MM" from a date text "MM-DD-YYYY" and a time text "HH:MM:SS". The
// month names are English but for May, which is "Mai"; seconds are dropped.
//   TimestampLine("12-06-2026", "14:05:33") -> "Dec 06 2026 14:05"
//   TimestampLine("05-31-2027", "00:00:59") -> "Mai 31 2027 00:00"
//   TimestampLine("01-05-2027", "09:07:00") -> "Jan 05 2027 09:07"
std::string TimestampLine(std::string_view dateText, std::string_view timeText);

// The nine value texts behind their keys (none before the first, then / g t r p P h b).
//   DataLine({"270","011","018","068","000","006","008","65","10132"})
//       -> "270/011g018t068r000p006P008h65b10132"
//   DataLine({"...","...","...","...","...","...","...","..","....."})
//       -> ".../...g...t...r...p...P...h..b....."
std::string DataLine(const ValueTexts& values);

// The timestamp line of "now": the time is read first, then the date, each in a reading
// of its own. When midnight passes between the two readings the date would belong to
// the next day and the time to the last one, a full day wrong; a third reading of the
// time shows that, and the pair is then read again (at most three times).
std::string ReadTimestampLine(ClockReader readClock = ReadLocalClock);

// Replaces the record file, in this order: makes way for it (DeleteBeforeRewrite: on
// Windows the old file is deleted, a missing one being no failure; on Linux it stays
// until the new one replaces it at the close), reads the timestamp, opens recordPath
// for output as file number 2 and writes both lines, each in its own writes with the
// system's line end. The file is left open: the "Enter" handling closes it with
// CloseAllFiles after its confirmation flash. Failures go into error as the file layer
// gives them; when the open fails nothing is written, so error keeps the open's code
// (and a file still open under number 2 from elsewhere never gets the lines). Returns
// the timestamp line.
//   WriteWeatherRecord(path in an empty folder, v, e)  -> 57-byte file (55 on Linux), e.code 0
//   WriteWeatherRecord(path held by another opener, ..) -> e.code 70, file unchanged
std::string WriteWeatherRecord(std::string_view recordPath, const ValueTexts& values, FileError& error,
                               ClockReader readClock = ReadLocalClock);

}  // namespace kobrant
