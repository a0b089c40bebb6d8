#pragma once
// Start-up, the part that needs no window: the current directory read whole, the two
// file paths built from it, and the program values loaded from the settings file or
// the settings file created. startup_win.cpp runs these steps in WinMain around the
// message box and the entry dialog.
//
// The examples below are replayed by Startup.CommentExamples.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/program_values.h"
#include "textio/sequential_files.h"

namespace kobrant {

// The two files live in the start directory. The names are appended as they stand: a
// drive's root, whose directory text already ends in "\", gives two in a row, and the
// system takes such a path as it is.
//   RecordPathFor("C:\Station")  -> "C:\Station\WX-DATA.txt"
//   SettingsPathFor("C:\Station") -> "C:\Station\kobrant.ctl"
//   RecordPathFor("C:\")         -> "C:\\WX-DATA.txt"
//   RecordPathFor(".")           -> ".\WX-DATA.txt"
std::string RecordPathFor(std::string_view startDirectory);
std::string SettingsPathFor(std::string_view startDirectory);

// Reads the current directory into a buffer of `size` bytes with the system's rules
// (GetCurrentDirectoryA): when it fits, copies it with its terminating NUL and returns
// its length; when it does not, copies nothing and returns the size needed, NUL
// included; returns 0 when it can't be read. A null buffer goes with size 0.
using DirectoryReader = std::uint32_t (*)(char* buffer, std::uint32_t size);

// The directory text used when the current directory can't be read: the files then
// still land in the current directory, never in a drive's root.
inline constexpr std::string_view kUnreadableDirectory = ".";

// The current directory, however long: the size it needs is asked first, and asked
// again when the directory has grown meanwhile. kUnreadableDirectory when it can't be
// read, or keeps growing.
//   CurrentDirectoryFrom(reader of "C:\Station")    -> "C:\Station"
//   CurrentDirectoryFrom(reader of 600 characters)  -> all 600 of them
//   CurrentDirectoryFrom(reader that fails)         -> "."
std::string CurrentDirectoryFrom(DirectoryReader read);

// The program values before the settings file is looked at: the start directory, both
// paths, the default field texts and the dialog at 0, 0.
ProgramValues StartValues(std::string_view startDirectory);

// Loads the settings file into values, or, when it can't be opened for reading, writes
// a new one with the defaults; values then keep their defaults and position 0, 0 for
// this run (the dialog moves to the file's 5, 5 from the next start on). Failures are
// left in error and nothing else is reported.
//   LoadStartSettings(values, e) in an empty folder      -> defaults at 0, 0; 59-byte file
//   LoadStartSettings(values, e) with that file          -> defaults at 5, 5; file unchanged
//   LoadStartSettings(values, e) with a 0-byte file      -> nine "" at 0, 0; file unchanged
void LoadStartSettings(ProgramValues& values, FileError& error);

}  // namespace kobrant
