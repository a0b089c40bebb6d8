// The same-UI baseline of the benchmark (docs/bench.md): the least a program must do to
// show kobrant.exe's message box and entry dialog, made by the system's dialog manager
// from one template with the layout's 30 controls (entry/entry_layout.h) as its items.
// It must look the same (tests/bench/same_ui_test.cpp); it reads and writes no file and
// uses no C++ library: what it costs is what Windows (or Wine) costs to show the dialog.

#include "host/win32.h"

#include <cstdint>
#include <cstring>

#include "bench/baseline.h"
#include "entry/bold_font.h"
#include "entry/entry_dialog.h"
#include "entry/entry_layout.h"
#include "entry/window_names.h"
#include "host/dialog_template.h"
#include "host/polling_loop.h"

namespace {

using kobrant::ColorPair;
using kobrant::ColorSet;
using kobrant::ControlRow;

// What kobrant.exe shows in a later start: the settings file that its first start
// wrote holds the default field texts and the position 5, 5 (dialog units).
constexpr const char* kFieldTexts[9] = {"000", "000", "000", "00", "000", "000", "000", "000", "0000"};

// 30 items, with class names and texts of at most 22 characters, take under 3 KiB.
alignas(4) WORD gTemplate[2048];

const DLGTEMPLATE* BuildTemplate() {
    kobrant::bench::TemplateWriter out(gTemplate);
    // WS_VISIBLE out (it is shown once the fonts are set, as the host shows it); the host's font.
    out.Dialog(kobrant::kEntryDialogStyle & ~static_cast<DWORD>(WS_VISIBLE), kobrant::kEntryDialogExtendedStyle,
               kobrant::kEntryControlCount,
               {5, 5, kobrant::kEntryDialogWidth, kobrant::kEntryDialogHeight},
               kobrant::kEntryDialogCaption, kobrant::kHostFontPoints, kobrant::kHostFontName);
    // Every control of the entry dialog is added with the host's default shape.
    for (const ControlRow& row : kobrant::kEntryControls) {
        const kobrant::ControlShape shape = kobrant::DefaultShape(kobrant::ClassOf(row.kind));
        out.Item(shape.style, shape.extendedStyle, {row.x, row.y, row.width, row.height}, row.id, shape.windowClass,
                 row.text != nullptr ? row.text : kFieldTexts[row.id - kobrant::kFirstEditFieldId]);
    }
    if (out.Words() > sizeof gTemplate / sizeof gTemplate[0]) return nullptr;  // never: the layout is fixed
    return reinterpret_cast<const DLGTEMPLATE*>(gTemplate);
}

// The layout's two backgrounds, a solid brush each, made once before the dialog: the
// edit fields', and that of the dialog and every other control.
constexpr std::uint32_t kEditBackground = kobrant::ColorsOf(ColorSet::Edit).background;
HBRUSH gEditBrush = nullptr;
HBRUSH gDialogBrush = nullptr;

INT_PTR ColorAnswer(HDC deviceContext, ColorPair colors) {
    SetTextColor(deviceContext, colors.text);
    SetBkColor(deviceContext, colors.background);
    return reinterpret_cast<INT_PTR>(colors.background == kEditBackground ? gEditBrush : gDialogBrush);
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
    gEditBrush = CreateSolidBrush(kEditBackground);
    gDialogBrush = CreateSolidBrush(kobrant::kEntryDialogColors.background);
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

    for (HGDIOBJ made : {HGDIOBJ{buttonFont}, HGDIOBJ{webAddressFont}, HGDIOBJ{gEditBrush}, HGDIOBJ{gDialogBrush}}) {
        if (made != nullptr) DeleteObject(made);
    }
    return 0;
}
