#pragma once
// The dialog host: the layer between the program and the Windows dialog manager.
// Why not the dialog manager alone: it keeps no colours of a window, and "Enter" recolours the
// dialog; the host keeps each window's in its records, answers for them, repaints what changed.
//
// It builds a dialog from a template made in memory (dialog_template.h), adds controls
// to it as child windows in dialog units of the host font (8 points, "MS Sans Serif"),
// runs a modal message loop of its own and passes the dialog's messages to the
// program's event handler. The event handler answers 0 for "not handled", which lets
// the host and then the system do their default processing.
//
// Calling order for one dialog:
//
//   HWND dialog = BuildDialog(nullptr, "Title", x, y, width, height, style, exStyle);
//   AddControl(dialog, 1001, ControlClass::Label, "Text", 5, 5, 40, 10, 0, 0);
//   SetWindowColors(dialog, kDialogItself, RGB(0, 0, 255), RGB(0, 255, 255));
//   INT_PTR result = RunModal(dialog, handler, &data);  // returns once the dialog is gone
//
// The services below are for the event handler while RunModal runs. Everything runs on
// the thread that calls RunModal. Nothing here reports failures: a window or control
// that cannot be made is none, and an operation on a window the host does not know
// does nothing.
//
// What the event handler sees, in order: WM_INITDIALOG (wParam the dialog's own
// handle) and WM_SIZE (the client size), both called directly by RunModal before the
// dialog is shown; then every message of the dialog except WM_ACTIVATE, which the host
// answers itself (so the system neither saves nor restores the focused control); at
// the end WM_CLOSE, WM_DESTROY and WM_NCDESTROY. The dialog closes only through
// WM_SYSCOMMAND SC_CLOSE (close box, system menu, Alt+F4) answered 0 by the handler,
// or through CloseDialog; a plain WM_CLOSE, Escape or Enter does not close it.

#include "host/win32.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kobrant {

// The program's dialog procedure: 0 means "not handled". context is what the program
// gave RunModal, handed back with every message (the host keeps it in the dialog's
// record, as a Win32 program keeps its data in a window's user data), so that the
// handler keeps its state there rather than in globals.
using EventHandler = std::int32_t (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void* context);

enum class ControlClass {
    PushButton,  // BUTTON: default WS_TABSTOP | BS_PUSHBUTTON
    Label,       // STATIC: default SS_LEFT
    TextBox,     // EDIT: default WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT with WS_EX_CLIENTEDGE
};

// A control as AddControl makes it: its window class, style and extended style.
struct ControlShape {
    const char* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

// The shape of a control of the class added with style 0 and extended style 0. The text
// box has the sunken edge instead of a border: it looks like the system's own dialogs.
constexpr ControlShape DefaultShape(ControlClass controlClass) {
    switch (controlClass) {
    case ControlClass::PushButton: return {"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlClass::TextBox:
        return {"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE};
    case ControlClass::Label: break;
    }
    return {"STATIC", WS_CHILD | WS_VISIBLE | SS_LEFT, 0};
}

// Builds a hidden dialog (WS_VISIBLE is taken out; RunModal shows it) with no controls.
// Position and size are dialog units; for a dialog without owner x, y place the
// top-left corner of its client area on the screen, and -1 in either centres it.
// Returns nullptr when the system cannot make the dialog.
HWND BuildDialog(HWND owner, std::string_view title, int x, int y, int width, int height,
                 DWORD style, DWORD extendedStyle);

// Adds one control as a child window at x, y with the given size in dialog units,
// with the dialog's font. A style of 0 takes the class default (see ControlClass); any
// style is combined with WS_CHILD | WS_VISIBLE. A push button with BS_DEFPUSHBUTTON
// becomes the dialog's default button. Returns nullptr for a dialog the host did not
// build or a control the system cannot make.
HWND AddControl(HWND dialog, int id, ControlClass controlClass, std::string_view text, int x,
                int y, int width, int height, DWORD style, DWORD extendedStyle);

// Runs the dialog modally with the handler (which may be null) and its context, and
// returns its result once the dialog window no longer exists: what CloseDialog gave, 0
// when the user closed it. For a dialog the host does not know, the handler still gets
// WM_INITDIALOG and WM_SIZE (0 by 0), and RunModal returns 0 at once.
INT_PTR RunModal(HWND dialog, EventHandler handler, void* context = nullptr);

// Ends the dialog with the result: the handler sees WM_CLOSE, WM_DESTROY and
// WM_NCDESTROY, the records of the dialog and its controls are freed, and RunModal
// returns the result.
void CloseDialog(HWND dialog, INT_PTR result);

// The HostDialogProc's order of answers: WM_ACTIVATE TRUE without the handler; every
// other message to the handler; WM_NCDESTROY frees the records; a non-zero answer is
// the result (and the dialog's message result unless the handler set one); colour
// queries get the colours' answer; SC_CLOSE answered 0 closes through CloseDialog;
// FALSE otherwise.
INT_PTR CALLBACK HostDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

HWND ControlWindow(HWND dialog, int id);        // GetDlgItem
std::string GetControlText(HWND control);       // the control's text, Windows-1252 bytes
void SetControlText(HWND control, std::string_view text);
LRESULT SendToControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog's position in dialog units: the top-left corner of its client area in
// screen coordinates, converted with DialogUnitsFromPixels (dialog_units.h). This is
// the x, y that BuildDialog takes, so a dialog built at x, y gives x, y back (unless
// the system had to move it onto the screen). 0, 0 when it cannot be worked out.
struct DialogPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
};
DialogPosition GetDialogPosition(HWND dialog);

// Repaints the window before it returns, and every child window whose pixels may change
// with it: those the host knows nothing of, those with a transparent background, those
// whose colours SetWindowColors changed since, and those still waiting to be painted.
// A control with an opaque background of its own keeps its pixels, which are what a
// repaint would draw again; the window's background is painted around it. (Under Wine
// each window repainted costs about 0.4 ms: repainting all 31 windows of the entry
// dialog at both halves of its flash kept "Enter" 20 ms longer.)
void RepaintDialog(HWND window);
void Beep(UINT type = 0);         // MessageBeep
void Pause(DWORD milliseconds);   // Sleep; the dialog does not react meanwhile

// Window colours. A colour is a COLORREF (RGB), or kSystemColor for the system's
// colour of the kind of window, or (background only) kTransparent.
inline constexpr int kDialogItself = static_cast<int>(0x80000000u);  // no control id can take it
inline constexpr std::int32_t kSystemColor = -1;
inline constexpr std::int32_t kTransparent = -2;

// Gives a control of the dialog (by id), or the dialog itself (kDialogItself), its
// text and background colour. Backgrounds share one brush per colour across all host
// windows; a brush goes when no window uses its colour any more. Nothing is repainted
// (see RepaintDialog). An id that names no control of the dialog changes nothing.
void SetWindowColors(HWND dialog, int id, std::int32_t textColor, std::int32_t backgroundColor);

// For tests: the window records and the colour brushes alive at this moment.
std::size_t WindowRecordCount();
std::size_t BrushCount();

}  // namespace kobrant
