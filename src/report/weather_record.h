#pragma once
// The weather record WX-DATA.txt: the latest report, two CR LF-ended lines.
//
//   Dec 06 2026 14:05
//   270/011g018t068r000p006P008h65b10132

#include <array>
#include <string>
#include <string_view>

#include "report/field_conversion.h"
#include "textio/number_text.h"
#include "textio/sequential_files.h"

namespace kobrant {

inline constexpr int kRecordFileNumber = 2;

// One value text per field, in field order, as ConvertField gives them.
using ValueTexts = std::array<std::string, kFieldCount>;

// "Mon DD YYYY HH:MM" from a date text "MM-DD-YYYY" and a time text "HH:MM:SS".
std::string TimestampLine(std::string_view dateText, std::string_view timeText);

// The nine value texts behind their keys: "270/011g018t068r000p006P008h65b10132".
std::string DataLine(const ValueTexts& values);

// Replaces the record file: deletes recordPath, reads the time and then the date,
// opens recordPath for output as file number 2 and writes both lines. The file is left
// open; the "Enter" handling closes it with CloseAllFiles.
void WriteWeatherRecord(std::string_view recordPath, const ValueTexts& values, FileError& error);

}  // namespace kobrant
