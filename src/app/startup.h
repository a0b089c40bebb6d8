#pragma once
// Start-up, the part that needs no window: the current directory read whole, and the
// program values loaded. startup_win.cpp runs start-up's steps in WinMain: the
// directory, the message box, the program values (station/program_values.h) loaded from
// the settings file or the settings file created, and the entry dialog.
// startup_posix.cpp runs the same in main, with the terminal form (terminal/) in place
// of the message box and the dialog.
//
// The examples below are replayed by Startup.CommentExamples.

#include <cstdint>
#include <string>
#include <string_view>

#include "station/program_values.h"

namespace kobrant {

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

// The program values of a start in startDirectory: the settings file loaded, or
// created with the defaults when it can't be read (then the defaults and position 0, 0
// stay for this run). A refused file leaves the defaults, and why it was refused is in
// values.settingsUnread for a front end that can say so (the terminal's status line);
// a missing file is no such refusal.
ProgramValues LoadStartValues(std::string_view startDirectory);

}  // namespace kobrant
