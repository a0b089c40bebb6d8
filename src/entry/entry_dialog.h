#pragma once
// The entry dialog: the program's one window, in which the operator types the nine
// weather values. Start-up calls it once and the process ends when it returns.
//
//   ProgramValues values = ...;                    // field texts and position loaded
//   ShowEntryDialog(nullptr, values);              // returns when the operator closed it
//
// The dialog "KOBRANT--V571", 119 by 144 dialog units, opens with the top-left corner
// of its client area at values.settings.dialogLeft/dialogTop (dialog units; -1 in either
// centres it) and the nine field texts in its edit fields. It has 30 controls, ids 1001
// to 1030 in creation (and tab) order: nine caption labels, the nine edit fields in
// field order, nine unit labels, "Enter", the web-address label and "CLEAR". There is
// no default button: Return and Escape do not close it, only the close box, Close on
// the system menu and Alt+F4 do. The layout is plain data in entry_layout.h, which the
// benchmark's same-UI program builds the same dialog from.
//
// Each "Enter" replaces the field texts and the position in values, saves them to the
// settings file and writes the weather record (event_handler.h); values.startDirectory
// stays as start-up made it. The result is what the dialog host's RunModal gives (0
// when the operator closed the dialog); start-up does not look at it.

#include "entry/bold_font.h"
#include "entry/entry_layout.h"
#include "entry/window_names.h"
#include "host/dialog_host.h"
#include "station/fields.h"
#include "station/program_values.h"

namespace kobrant {

constexpr int EditFieldId(Field field) { return kFirstEditFieldId + static_cast<int>(field); }

// The host's class for each kind of control of the layout; each is added with style 0,
// so it takes the host's default shape for its class (DefaultShape).
constexpr ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit: return ControlClass::TextBox;
    case ControlKind::Button: return ControlClass::PushButton;
    case ControlKind::Label: break;
    }
    return ControlClass::Label;
}

INT_PTR ShowEntryDialog(HWND owner, ProgramValues& values);

}  // namespace kobrant
