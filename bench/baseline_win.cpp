// The empty-dialog baseline of the benchmark: a message box, then an empty dialog of
// the entry dialog's size, style and font, shown and run by the same polling loop as
// the dialog host's RunModal. It reads and writes no file and uses no C++ library, so
// what it costs is what Windows (or Wine) costs for a program of this kind.

#include "bench/baseline.h"
#include "host/polling_loop.h"

namespace {

alignas(4) WORD gTemplate[64];

// The entry dialog's style (WS_VISIBLE out: the dialog is shown once built, as the host
// does), with DS_SETFONT, DS_NOFAILCREATE and DS_3DLOOK; 119 by 144 units at 5, 5.
const DLGTEMPLATE* BuildTemplate() {
    kobrant::bench::TemplateWriter(gTemplate).Dialog(0x84CA00D4, WS_EX_CONTROLPARENT, 0, {5, 5, 119, 144},
                                                     kobrant::bench::kBaselineDialogCaption, 8, "MS Sans Serif");
    return reinterpret_cast<const DLGTEMPLATE*>(gTemplate);
}

INT_PTR CALLBACK BaselineProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return kobrant::bench::AnsweredAsTheHost(dialog, message, wParam) ? TRUE : FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    MessageBoxA(nullptr, "The baseline's message box.", kobrant::bench::kBaselineBoxCaption, MB_OK);
    HWND dialog = CreateDialogIndirectParamA(instance, BuildTemplate(), nullptr, BaselineProc, 0);
    if (dialog == nullptr) return 1;
    ShowWindow(dialog, SW_SHOW);
    kobrant::RunPollingLoop(dialog);
    return 0;
}
