#include "entry/event_handler.h"

#include "entry/entry_dialog.h"
#include "station/enter_files.h"
#include "numbers/float_state.h"

namespace kobrant {
namespace {

static_assert(TypingLimit(EditFieldId(Field::Pressure)) == kPressureTypingLimit);

// Sent at every activation change, not once: the limits must hold before the operator
// can type, and the first activation comes before any input can.
void LimitTyping(HWND dialog) {
    for (Field field : kFields) {
        const auto limit = static_cast<WPARAM>(TypingLimit(EditFieldId(field)));
        SendToControl(ControlWindow(dialog, EditFieldId(field)), EM_LIMITTEXT, limit, 0);
    }
}

// The host answers WM_ACTIVATE itself, so the dialog manager neither saves nor
// restores the focus; without this the operator would come back to no focus.
void KeepFocus(bool active, HWND& savedFocus) {
    if (!active) {
        savedFocus = GetFocus();
    } else if (savedFocus != nullptr) {
        HWND focus = savedFocus;
        savedFocus = nullptr;
        SetFocus(focus);
    }
}

void Clear(HWND dialog) {
    for (Field field : kFields) SetControlText(ControlWindow(dialog, EditFieldId(field)), "");
}

// A message number that nothing posts to the dialog: asking the queue for it finds
// nothing. (A range of 0 to 0 would mean every message.)
constexpr UINT kNoSuchMessage = WM_APP + 0x3FFF;

// Puts what was just painted on the screen. Windows shows GDI drawing once its batch
// is flushed. Wine keeps a window's drawing in a buffer and copies it to the screen
// when the program next finds its queue empty, or when it paints again at least 50 ms
// after it last looked; the pause after the flash looks at nothing, so without asking
// the queue once the operator would not see the flash under Wine at all. Asking
// without removing, for a message that never comes, takes nothing from the queue
// (like any look at the queue, it answers what other threads send meanwhile).
void ShowPaintingNow(HWND dialog) {
    GdiFlush();
    MSG none;
    PeekMessageA(&none, dialog, kNoSuchMessage, kNoSuchMessage, PM_NOREMOVE);
}

void FlashHalf(HWND dialog, COLORREF background, UINT beep) {
    SetWindowColors(dialog, kDialogItself, kSystemColor, static_cast<std::int32_t>(background));
    RepaintDialog(dialog);  // painted now: the pause below lets nothing else paint
    ShowPaintingNow(dialog);
    Beep(beep);
}

void Enter(HWND dialog, ProgramValues& values) {
    // The conversion is exact only in this state, and the window messages before it
    // run system code that may change it.
    SetFloatingPointState();
    for (Field field : kFields) {
        values.settings.fieldTexts[FieldIndex(field)] =
            GetControlText(ControlWindow(dialog, EditFieldId(field)));
    }
    SetFloatingPointState();
    const ValueTexts valueTexts = ConvertFieldTexts(values.settings.fieldTexts);
    const DialogPosition position = GetDialogPosition(dialog);
    // This "Enter"'s own outcome: the colour below depends on nothing earlier.
    EnterOutcome outcome = WriteEnterFiles(values, position.x, position.y, valueTexts);

    // Decided now, once the record is written: the files are closed only after the
    // flash, so a failing close can't change a colour already shown (and, with every
    // write already handed to the system, hardly fails).
    const bool written = outcome.Written();
    const COLORREF flash = written ? kReportWrittenColor : kReportFailedColor;
    const UINT beep = written ? 0 : MB_ICONHAND;
    FlashHalf(dialog, flash, beep);
    Pause(kFlashMilliseconds);
    FlashHalf(dialog, kDialogBackgroundColor, beep);
    CloseAllFiles(outcome.record);
}

bool IsClick(WPARAM wParam) { return HIWORD(wParam) == 0 || HIWORD(wParam) == 1; }

}  // namespace

std::int32_t HandleEntryDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM, void* context) {
    auto* data = static_cast<EntryDialogData*>(context);
    switch (message) {
    case WM_NCACTIVATE:
        LimitTyping(dialog);
        if (data != nullptr) KeepFocus(wParam != 0, data->savedFocus);
        break;
    case WM_COMMAND:
        if (!IsClick(wParam)) break;
        if (LOWORD(wParam) == kClearButtonId) Clear(dialog);
        if (LOWORD(wParam) == kEnterButtonId && data != nullptr && data->values != nullptr) Enter(dialog, *data->values);
        break;
    }
    return 0;
}

}  // namespace kobrant
