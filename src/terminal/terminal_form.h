#pragma once
// The terminal program's form: the entry dialog drawn with curses (the wide-character
// build) in the terminal of standard input and output. What the keys do is
// form_state.h's; "Enter" takes the steps of station/enter_files.h, as the Windows
// dialog does; this draws, reads keys and keeps the terminal in order.
//
// - A header line names the full path of WX-DATA.txt; a status line says what the last
//   "Enter" did; a bottom line names the keys.
// - "Enter" puts both files in place first, then turns the box's background green
//   (red when a file could not be written) for 300 ms with the terminal's bell.
// - Colours as near the dialog's as the terminal has them (blue on cyan, light fields);
//   without colours (or with NO_COLOR set) the fields are in reverse video and the
//   focused stop is bold.
// - A window smaller than the form shows one line saying so, and the form comes back
//   once it is large enough.
// - SIGHUP, SIGTERM and SIGINT end the form as F10 does, after an "Enter" under way.

#include <string>

#include "station/program_values.h"

namespace kobrant {

// Starts curses on the terminal (setlocale has chosen the encoding before); false, with
// the reason in German (Windows-1252), when the terminal can't be used.
bool StartTerminal(std::string& why);

// Shows the form until F10, Ctrl-C or one of the signals above ends it, then gives the
// terminal back as it was. Returns the exit status, 0.
int RunTerminalForm(ProgramValues& values);

}  // namespace kobrant
