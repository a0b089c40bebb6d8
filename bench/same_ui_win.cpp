// The same-UI baseline of the benchmark: the least a program must do to show
// kobrant.exe's entry dialog (docs/bench.md). The same message box, then the same dialog,
// made by the system's dialog manager from one template in memory with the entry
// dialog's 30 controls (entry/entry_layout.h) as its items, the bold fonts and edit
// limits set, the colours answered from brushes made once, run by the dialog host's
// polling loop. It must look the same (tests/bench/same_ui_test.cpp). It reads and
// writes no file and uses no C++ library: what it costs is what Windows (or Wine)
// costs to show this dialog.

#include "host/win32.h"

#include <cstdint>
#include <cstring>

#include "bench/baseline.h"
#include "entry/bold_font.h"
#include "entry/entry_layout.h"
#include "entry/window_names.h"
#include "host/dialog_template.h"
#include "host/polling_loop.h"

namespace {

using kobrant::ColorPair;
using kobrant::ColorSet;
using kobrant::ControlKind;
using kobrant::ControlRow;

// What kobrant.exe shows in a later start: the settings file that its first start
// wrote holds the default field texts and the position 5, 5 (dialog units).
constexpr const char* kFieldTexts[] = {"000", "000", "000", "00", "000", "000", "000", "000", "0000"};
constexpr int kDialogLeft = 5;
constexpr int kDialogTop = 5;
static_assert(sizeof kFieldTexts / sizeof kFieldTexts[0] == 9);

// The dialog host's default style for each kind of control (every control of the entry
// dialog is added with it): the edit fields with the sunken edge instead of a border.
constexpr DWORD StyleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit: return WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    case ControlKind::Button: return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::Label: break;
    }
    return WS_CHILD | WS_VISIBLE | SS_LEFT;
}
constexpr DWORD ExtendedStyleOf(ControlKind kind) { return kind == ControlKind::Edit ? WS_EX_CLIENTEDGE : 0; }

// The predefined classes of a dialog template item, by atom.
constexpr WORD AtomOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Edit: return 0x0081;
    case ControlKind::Button: return 0x0080;
    case ControlKind::Label: break;
    }
    return 0x0082;  // STATIC
}

// 30 items of at most 22 characters each take about 2.3 KiB.
alignas(4) WORD gTemplate[2048];

const DLGTEMPLATE* BuildTemplate() {
    kobrant::bench::TemplateWriter out(gTemplate);
    // WS_VISIBLE out: the dialog is shown once the fonts are set, as the host shows it;
    // the dialog host's template font.
    out.Dialog(kobrant::kEntryDialogStyle & ~static_cast<DWORD>(WS_VISIBLE), kobrant::kEntryDialogExtendedStyle,
               kobrant::kEntryControlCount,
               {kDialogLeft, kDialogTop, kobrant::kEntryDialogWidth, kobrant::kEntryDialogHeight},
               kobrant::kEntryDialogCaption, kobrant::kHostFontPoints, kobrant::kHostFontName);
    for (const ControlRow& row : kobrant::kEntryControls) {
        out.Item(StyleOf(row.kind), ExtendedStyleOf(row.kind), {row.x, row.y, row.width, row.height}, row.id,
                 AtomOf(row.kind), row.text != nullptr ? row.text : kFieldTexts[row.id - kobrant::kFirstEditFieldId]);
    }
    if (out.Words() > sizeof gTemplate / sizeof gTemplate[0]) return nullptr;  // never: the layout is fixed
    return reinterpret_cast<const DLGTEMPLATE*>(gTemplate);
}

// One solid brush per background colour, made once before the dialog.
struct SharedBrush {
    std::uint32_t color;
    HBRUSH brush;
};
SharedBrush gBrushes[] = {
    {kobrant::kEntryDialogColors.background, nullptr},       // the dialog and its labels
    {kobrant::ColorsOf(ColorSet::Edit).background, nullptr},  // the edit fields
};

HBRUSH BrushOf(std::uint32_t color) {
    for (const SharedBrush& shared : gBrushes) {
        if (shared.color == color) return shared.brush;
    }
    return nullptr;
}

INT_PTR ColorAnswer(HDC deviceContext, ColorPair colors) {
    SetTextColor(deviceContext, colors.text);
    SetBkColor(deviceContext, colors.background);
    return reinterpret_cast<INT_PTR>(BrushOf(colors.background));
}

INT_PTR CALLBACK SameUiProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (kobrant::bench::AnsweredAsTheHost(dialog, message, wParam)) return TRUE;
    switch (message) {
    case WM_CTLCOLORDLG:
        return ColorAnswer(reinterpret_cast<HDC>(wParam), kobrant::kEntryDialogColors);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const ControlRow* row = kobrant::ControlRowOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        if (row == nullptr || row->colors == ColorSet::None) return FALSE;
        return ColorAnswer(reinterpret_cast<HDC>(wParam), kobrant::ColorsOf(row->colors));
    }
    }
    // FALSE to the system's WM_INITDIALOG too: no control gets the focus.
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The box names the record's path in the start folder, as kobrant.exe's does.
    char recordPath[MAX_PATH + 16] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, recordPath);
    std::strcpy(recordPath + (length < MAX_PATH ? length : 0), "\\WX-DATA.txt");
    MessageBoxA(nullptr, recordPath, kobrant::kRecordPathCaption, MB_OK);

    const DLGTEMPLATE* dialogTemplate = BuildTemplate();
    if (dialogTemplate == nullptr) return 1;
    for (SharedBrush& shared : gBrushes) shared.brush = CreateSolidBrush(shared.color);
    HWND dialog = CreateDialogIndirectParamA(instance, dialogTemplate, nullptr, SameUiProc, 0);
    if (dialog == nullptr) return 1;

    HFONT buttonFont = kobrant::MakeBoldFont(kobrant::kEnterButtonFontPoints);
    HFONT webAddressFont = kobrant::MakeBoldFont(kobrant::kWebAddressFontPoints);
    SendDlgItemMessageA(dialog, kobrant::kEnterButtonId, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), 0);
    SendDlgItemMessageA(dialog, kobrant::kWebAddressLabelId, WM_SETFONT, reinterpret_cast<WPARAM>(webAddressFont), 0);
    for (int id = kobrant::kFirstEditFieldId; id < kobrant::kFirstUnitLabelId; ++id) {
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(kobrant::TypingLimit(id)), 0);
    }
    ShowWindow(dialog, SW_SHOW);
    kobrant::RunPollingLoop(dialog);

    if (buttonFont != nullptr) DeleteObject(buttonFont);
    if (webAddressFont != nullptr) DeleteObject(webAddressFont);
    for (const SharedBrush& shared : gBrushes) DeleteObject(shared.brush);
    return 0;
}
