#pragma once
// The entry dialog: the program's one window, in which the operator types the nine
// weather values. Start-up calls it once and the process ends when it returns.
//
//   ProgramValues values = ...;                    // field texts and position loaded
//   ShowEntryDialog(nullptr, values);              // returns when the operator closed it
//
// The dialog opens at values.settings.dialogLeft/dialogTop (dialog units) with the
// nine field texts in its edit fields. Each "Enter" replaces the field texts and the
// position in values, saves them to values.settingsPath and writes the weather record
// to values.recordPath; values.startDirectory stays as start-up made it. The result is
// what the dialog host's RunModal gives (0 when the operator closed the dialog);
// start-up does not look at it.

#include "app/program_values.h"
#include "ui/dialog_host.h"

namespace kobrant {

INT_PTR ShowEntryDialog(HWND owner, ProgramValues& values);

}  // namespace kobrant
