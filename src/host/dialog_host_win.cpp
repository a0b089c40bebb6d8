#include "host/dialog_host.h"

#include <vector>

#include "host/dialog_template.h"
#include "host/dialog_units.h"
#include "host/polling_loop.h"
#include "host/window_records.h"

namespace kobrant {

namespace {

int ShowCommandFor(DWORD style) {
    int showCommand = SW_SHOW;
    if (style & WS_MAXIMIZE) showCommand = SW_SHOWMAXIMIZED;
    if (style & WS_MINIMIZE) showCommand = SW_MINIMIZE;
    return showCommand;
}

WPARAM SizeTypeFor(int showCommand) {
    if (showCommand == SW_SHOWMAXIMIZED) return SIZE_MAXIMIZED;
    if (showCommand == SW_MINIMIZE) return SIZE_MINIMIZED;
    return SIZE_RESTORED;
}

ControlShape ShapeFor(ControlClass controlClass, DWORD style, DWORD extendedStyle) {
    ControlShape shape = DefaultShape(controlClass);
    if (style != 0) return {shape.windowClass, style | WS_CHILD | WS_VISIBLE, extendedStyle};
    shape.extendedStyle |= extendedStyle;
    return shape;
}

struct AttachedHandler {
    EventHandler handler = nullptr;
    void* context = nullptr;
};

AttachedHandler HandlerOf(HWND dialog) {
    LockedRecords records;
    const WindowRecord* record = records.Find(dialog);
    if (record == nullptr) return {};
    return {record->handler, record->context};
}

// The records of the dialog and of the controls added to it, with their brushes.
void FreeRecordsOf(HWND dialog) {
    LockedRecords records;
    RecordTable removed;
    RecordTable kept;
    for (const WindowRecord& record : records.table) {
        const bool belongs = record.window == dialog || (!record.isDialog && record.parent == dialog);
        (belongs ? removed : kept).push_back(record);
    }
    records.table.swap(kept);
    ReleaseBrushes(removed, records.table);
}

// The controls of the window whose pixels stay right whatever the window's colours:
// each has an opaque background (its own colour, a system colour, or the system's
// default painting when no colours are set) and colours unchanged since it was last
// repainted. Clears the marks of the changed ones, which are about to be repainted.
// The records name the controls: walking the child windows costs Wine a call to its
// server per window.
std::vector<HWND> ControlsThatKeepTheirPixels(HWND window) {
    std::vector<HWND> keep;
    LockedRecords records;
    for (WindowRecord& record : records.table) {
        if (record.isDialog || record.parent != window) continue;
        const bool changed = record.colorsChanged;
        record.colorsChanged = false;
        const bool transparent = record.backgroundColor == kTransparent ||
                                 (record.backgroundColor == kColorNotSet && record.textColor != kColorNotSet);
        if (!changed && !transparent) keep.push_back(record.window);
    }
    return keep;
}

// The window's client area less the visible controls that keep their pixels; nullptr
// (the whole window) when no region can be made.
HRGN AreaToRepaint(HWND window) {
    RECT client{};
    POINT origin{0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return nullptr;
    HRGN area = CreateRectRgnIndirect(&client);
    HRGN covered = CreateRectRgn(0, 0, 0, 0);
    if (area == nullptr || covered == nullptr) {
        if (area != nullptr) DeleteObject(area);
        if (covered != nullptr) DeleteObject(covered);
        return nullptr;
    }
    for (HWND control : ControlsThatKeepTheirPixels(window)) {
        RECT bounds{};
        if (!IsWindowVisible(control) || !GetWindowRect(control, &bounds)) continue;
        SetRectRgn(covered, bounds.left - origin.x, bounds.top - origin.y, bounds.right - origin.x,
                   bounds.bottom - origin.y);
        CombineRgn(area, area, covered, RGN_DIFF);
    }
    DeleteObject(covered);
    return area;
}

}  // namespace

HWND BuildDialog(HWND owner, std::string_view title, int x, int y, int width, int height,
                 DWORD style, DWORD extendedStyle) {
    const std::vector<std::uint8_t> dialogTemplate =
        BuildDialogTemplate(title, x, y, width, height, style, extendedStyle);
    HWND dialog = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), owner,
        HostDialogProc, 0);
    if (dialog == nullptr) return nullptr;

    WindowRecord record;
    record.window = dialog;
    record.parent = owner;
    record.isDialog = true;
    record.showCommand = ShowCommandFor(style);
    record.style = style;
    record.font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LockedRecords records;
    records.table.push_back(record);
    return dialog;
}

HWND AddControl(HWND dialog, int id, ControlClass controlClass, std::string_view text, int x,
                int y, int width, int height, DWORD style, DWORD extendedStyle) {
    HFONT font = nullptr;
    {
        LockedRecords records;
        const WindowRecord* dialogRecord = records.Find(dialog);
        if (dialogRecord == nullptr || !dialogRecord->isDialog) return nullptr;
        font = dialogRecord->font;
    }
    const ControlShape shape = ShapeFor(controlClass, style, extendedStyle);
    RECT area{x, y, x + width, y + height};
    MapDialogRect(dialog, &area);
    const std::string textWithZero(text);
    HWND control = CreateWindowExA(shape.extendedStyle, shape.windowClass, textWithZero.c_str(),
                                   shape.style, area.left, area.top, area.right - area.left,
                                   area.bottom - area.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (control == nullptr) return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

    WindowRecord record;
    record.window = control;
    record.parent = dialog;
    record.controlClass = controlClass;
    {
        LockedRecords records;
        records.table.push_back(record);
    }
    // The button type is a number in the low four bits, not a set of flags: a check box
    // (BS_AUTOCHECKBOX, 3) also has bit 0 and must not become the default button.
    if (controlClass == ControlClass::PushButton && (shape.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
    }
    return control;
}

INT_PTR RunModal(HWND dialog, EventHandler handler, void* context) {
    INT_PTR result = 0;
    bool known = false;
    int showCommand = SW_SHOW;
    {
        LockedRecords records;
        if (const WindowRecord* record = records.Find(dialog); record && record->isDialog) {
            known = true;
            showCommand = record->showCommand;
        }
    }
    // Called directly, before the handler is attached: what these calls cause does not
    // come back to it.
    if (handler != nullptr) {
        handler(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(dialog), 0, context);
        RECT client{};
        if (known) GetClientRect(dialog, &client);
        handler(dialog, WM_SIZE, SizeTypeFor(showCommand), MAKELPARAM(client.right, client.bottom), context);
    }
    {
        LockedRecords records;
        WindowRecord* record = records.Find(dialog);
        if (record == nullptr || !record->isDialog) return result;
        record->handler = handler;
        record->context = context;
        record->resultDestination = &result;
        record->modal = true;
        showCommand = record->showCommand;
    }
    ShowWindow(dialog, showCommand);
    RunPollingLoop(dialog);
    {
        // Normally WM_NCDESTROY has freed the record; never leave it pointing at result.
        LockedRecords records;
        if (WindowRecord* record = records.Find(dialog)) record->resultDestination = nullptr;
    }
    return result;
}

void CloseDialog(HWND dialog, INT_PTR result) {
    bool alreadyClosing = false;
    {
        LockedRecords records;
        WindowRecord* record = records.Find(dialog);
        if (record == nullptr || !record->isDialog) return;
        alreadyClosing = record->closing;
        record->closing = true;
    }
    // A handler that closes the dialog again in answer to WM_CLOSE would otherwise send
    // WM_CLOSE again, and so on until the stack runs out.
    if (!alreadyClosing) SendMessageA(dialog, WM_CLOSE, 0, 0);
    {
        LockedRecords records;
        WindowRecord* record = records.Find(dialog);
        if (record && record->resultDestination) *record->resultDestination = result;
    }
    if (!alreadyClosing) DestroyWindow(dialog);
}

INT_PTR CALLBACK HostDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Answering activation here keeps the dialog manager from saving and restoring the
    // focused control; the handler keeps the focus itself on WM_NCACTIVATE.
    if (message == WM_ACTIVATE && LOWORD(wParam) <= WA_CLICKACTIVE) return TRUE;

    const AttachedHandler attached = HandlerOf(dialog);
    const std::int32_t answer =
        attached.handler ? attached.handler(dialog, message, wParam, lParam, attached.context) : 0;

    if (message == WM_NCDESTROY) FreeRecordsOf(dialog);
    if (answer != 0) {
        // The dialog manager clears the message result before calling us, so a value
        // here is one the handler set itself; keep it.
        if (GetWindowLongPtrA(dialog, DWLP_MSGRESULT) == 0) {
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, answer);
        }
        return answer;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return reinterpret_cast<INT_PTR>(
            ColorAnswer(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        CloseDialog(dialog, 0);
        return TRUE;
    }
    // The system's own WM_INITDIALOG gets FALSE too, so no control gets the focus.
    return FALSE;
}

HWND ControlWindow(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::string GetControlText(HWND control) {
    const int length = GetWindowTextLengthA(control);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void SetControlText(HWND control, std::string_view text) {
    const std::string textWithZero(text);
    SetWindowTextA(control, textWithZero.c_str());
}

LRESULT SendToControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

DialogPosition GetDialogPosition(HWND dialog) {
    // The client area's corner, not the window's: that is where the dialog manager puts
    // a template's x, y, so a saved position brings the dialog back to the same place.
    POINT corner{0, 0};
    if (!ClientToScreen(dialog, &corner)) return {};
    RECT scale{0, 0, 1024, 1024};
    if (!MapDialogRect(dialog, &scale)) return {};
    return {DialogUnitsFromPixels(corner.x, scale.right - scale.left),
            DialogUnitsFromPixels(corner.y, scale.bottom - scale.top)};
}

void RepaintDialog(HWND window) {
    // RDW_ALLCHILDREN takes in every child that overlaps the area, and RDW_UPDATENOW
    // paints every child that waits to be painted, whether it overlaps or not.
    HRGN area = AreaToRepaint(window);
    RedrawWindow(window, nullptr, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (area != nullptr) DeleteObject(area);
}

void Beep(UINT type) { MessageBeep(type); }

void Pause(DWORD milliseconds) { Sleep(milliseconds); }

}  // namespace kobrant
