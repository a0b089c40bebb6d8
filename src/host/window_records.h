#pragma once
// The host's window records: one for each host dialog and one for each control that
// AddControl made, in one table searched by window handle. Inside src/host only.
//
// A record is added only after its window exists, so the messages the system sends
// while it creates a window find no record. The records of a dialog and its controls
// go when the dialog receives WM_NCDESTROY.

#include <cstdint>
#include <vector>

#include "host/dialog_host.h"

namespace kobrant {

inline constexpr std::int32_t kColorNotSet = -3;

struct WindowRecord {
    HWND window = nullptr;                   // the key
    HWND parent = nullptr;                   // a control's dialog; a dialog's owner
    bool isDialog = false;                   // built by BuildDialog, else made by AddControl
    bool modal = false;                      // dialog: RunModal runs it
    bool closing = false;                    // dialog: CloseDialog is under way
    int showCommand = SW_SHOW;               // dialog: how RunModal shows it
    HFONT font = nullptr;                    // dialog: the font the system made from the template
    EventHandler handler = nullptr;          // dialog: attached by RunModal
    void* context = nullptr;                 // dialog: the handler's, attached with it
    INT_PTR* resultDestination = nullptr;    // dialog: where CloseDialog writes, set by RunModal
    ControlClass controlClass = ControlClass::Label;  // control only
    DWORD style = 0;                         // dialog: the style given to BuildDialog
    std::int32_t textColor = kColorNotSet;        // a COLORREF, kSystemColor or not set
    std::int32_t backgroundColor = kColorNotSet;  // a COLORREF, kSystemColor, kTransparent or not set
    HBRUSH backgroundBrush = nullptr;        // shared solid brush of backgroundColor, or none
    bool colorsChanged = false;              // on screen, by SetWindowColors, since RepaintDialog painted it
};

using RecordTable = std::vector<WindowRecord>;

// Holds the table's lock, an atomic exchange spin lock, while it lives. Hold it for one
// search, insertion or removal only; never across a call of the event handler or of a
// Win32 function that sends messages: the handler is re-entered on this same thread
// when its own actions send messages, and the lock is not recursive.
class LockedRecords {
public:
    LockedRecords();
    ~LockedRecords();
    LockedRecords(const LockedRecords&) = delete;
    LockedRecords& operator=(const LockedRecords&) = delete;

    RecordTable& table;
    WindowRecord* Find(HWND window);  // nullptr when the window has no record
};

// Colours (window_colors_win.cpp).

// The answer to a colour query (WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC) from the
// window that asks: sets the device context's colours and gives the brush for the
// system to paint the background with, or nullptr for the system's defaults.
HBRUSH ColorAnswer(UINT query, HDC deviceContext, HWND window);

// Deletes the brushes of records just taken out of the table that no record left in it
// uses any more. Call with the lock held.
void ReleaseBrushes(const RecordTable& removed, const RecordTable& remaining);

}  // namespace kobrant
