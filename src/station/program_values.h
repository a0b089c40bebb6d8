#pragma once
// The program-wide values: made by start-up, read by the entry dialog, replaced in
// part by each "Enter".
//
// The examples below are replayed by ProgramValues.CommentExamples.

#include <string>
#include <string_view>

#include "station/settings_file.h"

namespace kobrant {

struct ProgramValues {
    std::string startDirectory;  // the current directory at start, as the system gave it
    std::string recordPath;      // startDirectory + "\WX-DATA.txt" ("/WX-DATA.txt" on Linux)
    std::string settingsPath;    // startDirectory + "\kobrant.ctl" ("/kobrant.ctl" on Linux)
    Settings settings;           // the nine field texts and the dialog's position
    FileError settingsUnread;    // why start-up could not read a settings file that stands, or 0
};

// The two files live in the start directory. The names are appended as they stand: a
// drive's root, whose directory text already ends in "\", gives two in a row, and the
// system takes such a path as it is. On Linux the names are joined with "/", and a "\"
// in the directory's name is a letter of it (FileInFolder).
//   RecordPathFor("C:\Station")  -> "C:\Station\WX-DATA.txt"
//   SettingsPathFor("C:\Station") -> "C:\Station\kobrant.ctl"
//   RecordPathFor("C:\")         -> "C:\\WX-DATA.txt"
//   RecordPathFor(".")           -> ".\WX-DATA.txt"
//   RecordPathFor("/srv/a\b")    -> "/srv/a\b/WX-DATA.txt"  (Linux)
std::string RecordPathFor(std::string_view startDirectory);
std::string SettingsPathFor(std::string_view startDirectory);

// The program values before the settings file is looked at: the start directory, both
// paths, the default field texts and the dialog at 0, 0. Start-up then loads the
// settings file into values.settings (LoadOrCreateSettings); when it has to create the
// file instead, the defaults and 0, 0 stay for this run.
ProgramValues StartValues(std::string_view startDirectory);

}  // namespace kobrant
