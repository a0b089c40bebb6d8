#pragma once
// The settings file kobrant.ctl: one line that keeps the nine field texts and the
// dialog's position from one run to the next.
//
//   "000","000","000","00","000","000","000","000","0000",5,5<CR><LF>
//
// Nine quoted text items and two number items, single commas between them, CR LF at
// the end. The quotes are written as they stand: nothing inside a text is doubled or
// escaped (the "Enter" handling turns every double quote of a field into an apostrophe
// before it saves, so that what is saved reads back).

#include <cstdint>
#include <string_view>

#include "station/fields.h"
#include "system/sequential_files.h"

namespace kobrant {

inline constexpr int kSettingsFileNumber = 1;

struct Settings {
    FieldTexts fieldTexts;        // in field order
    std::int32_t dialogLeft = 0;  // dialog units; -1 centres the dialog
    std::int32_t dialogTop = 0;
};

// The field texts before the settings file is looked at, and in a new settings file.
FieldTexts DefaultFieldTexts();

// Start-up: opens settingsPath for input as file number 1. When that succeeds, reads
// the eleven items into settings (missing items give empty texts and 0) and closes the
// file; returns true. Otherwise writes the default line (the default texts, position
// 5, 5) into a new or emptied file, closes it, leaves settings as it was and returns
// false; when that open fails too, nothing is written or closed. On Linux a file that
// stands but can't be read (held, unreadable, over 1 MiB, another user's link) is
// never replaced by the defaults (OpenForNewOutput). Failures are left in error, the
// read's own when the file stands; nothing else is reported.
//   LoadOrCreateSettings(missing file, s, e)  -> false, e.code 53, the file holds the
//       59-byte default line, s unchanged
//   LoadOrCreateSettings(that file again, ..) -> true, s = default texts at 5, 5
//   LoadOrCreateSettings(0-byte file, s, e)   -> true, nine empty texts at 0, 0, e.code 62
//   LoadOrCreateSettings(file held elsewhere, s, e) -> false, e.code 70, the file unchanged
bool LoadOrCreateSettings(std::string_view settingsPath, Settings& settings, FileError& error);

// Reads the eleven items of the settings line from the open file number.
Settings ReadSettingsLine(int fileNumber, FileError& error);

// Writes one settings line to the open file number (the "Enter" handling keeps the
// file open and closes it later with CloseAllFiles).
void WriteSettingsLine(int fileNumber, const Settings& settings, FileError& error);

}  // namespace kobrant
