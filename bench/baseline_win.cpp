// The baseline of the benchmark: a message box, then an empty dialog of the entry
// dialog's size, style and font, shown and run by the same polling loop as the dialog
// host's RunModal. It reads and writes no file and uses no C++ library, so what it
// costs is what Windows (or Wine) costs for a program of this kind.

#include "host/win32.h"

#include <cstddef>

#include "baseline.h"
#include "host/polling_loop.h"

namespace {

// A dialog template in memory with no controls: DLGTEMPLATE, then the menu, class,
// title and font record as 16-bit words. The caption is kBaselineDialogCaption.
struct EmptyDialogTemplate {
    DWORD style;
    DWORD extendedStyle;
    WORD controlCount;
    short x, y, width, height;
    WORD menu;
    WORD windowClass;
    WCHAR title[16];
    WORD points;
    WCHAR font[14];
};
static_assert(offsetof(EmptyDialogTemplate, menu) == 18, "DLGTEMPLATE is 18 bytes");
static_assert(sizeof(kobrant::bench::kBaselineDialogCaption) == 16, "the title array holds the caption");

// The entry dialog's style (WS_VISIBLE out: the dialog is shown once built, as the host
// does), with DS_SETFONT, DS_NOFAILCREATE and DS_3DLOOK; 119 by 144 units at 5, 5.
alignas(4) const EmptyDialogTemplate kDialogTemplate = {
    0x84CA00D4, WS_EX_CONTROLPARENT, 0, 5, 5, 119, 144, 0, 0,
    {'B', 'a', 's', 'e', 'l', 'i', 'n', 'e', ' ', 'd', 'i', 'a', 'l', 'o', 'g', 0},
    8,
    {'M', 'S', ' ', 'S', 'a', 'n', 's', ' ', 'S', 'e', 'r', 'i', 'f', 0},
};

INT_PTR CALLBACK BaselineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_ACTIVATE && LOWORD(wParam) <= WA_CLICKACTIVE) return TRUE;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "The baseline's message box.", kobrant::bench::kBaselineBoxCaption, MB_OK);
    HWND dialog = CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(&kDialogTemplate),
                                             nullptr, BaselineProc, 0);
    if (dialog == nullptr) return 1;
    ShowWindow(dialog, SW_SHOW);
    kobrant::RunPollingLoop(dialog);
    return 0;
}
