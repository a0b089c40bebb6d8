#pragma once
// The entry dialog's event handler: the program's one dialog procedure. The dialog host
// calls it with every message of the entry dialog but WM_ACTIVATE; it answers 0 to all
// of them, so that the host's and the system's own handling always follows (colours,
// the close box).
//
//   WM_NCACTIVATE       the input limits of the edit fields set (5 characters, 6 for the
//                       pressure; a longer text already there stays whole); on
//                       deactivation the focused control is remembered, on activation
//                       it gets the focus back
//   "CLEAR" (1030)      the nine edit fields emptied; nothing else changes
//   "Enter" (1028)      the nine fields read and converted, the settings file and the
//                       weather record written (enter_files.h), the dialog flashed for
//                       300 ms with a beep at each end, both files closed
// A command counts as a click when its notification code is 0 (a click) or 1; other
// codes, and other ids (Return gives 1, Escape 2), do nothing.
//
// The flash tells the operator whether the report went out: green with the default
// beep when every file operation succeeded, red with the error beep when any failed
// (the record held open by the program that reads it, say). Nothing else is shown; the
// next "Enter" simply tries again.

#include <cstdint>

#include "host/dialog_host.h"
#include "station/program_values.h"

namespace kobrant {

// What the handler works on: ShowEntryDialog owns it and hands it to RunModal as the
// handler's context, so it lives exactly as long as the dialog runs.
struct EntryDialogData {
    ProgramValues* values = nullptr;  // start-up's values, which "Enter" reads and replaces
    HWND savedFocus = nullptr;        // the focused control while the dialog is inactive
};

// context is the dialog's EntryDialogData; without one the focus is not kept and
// "Enter" does nothing.
std::int32_t HandleEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void* context);

// The dialog's background during the flash and after it.
inline constexpr COLORREF kReportWrittenColor = RGB(0, 255, 0);  // green
inline constexpr COLORREF kReportFailedColor = RGB(255, 0, 0);   // red
inline constexpr COLORREF kDialogBackgroundColor = RGB(0, 255, 255);  // cyan
inline constexpr DWORD kFlashMilliseconds = 300;

}  // namespace kobrant
