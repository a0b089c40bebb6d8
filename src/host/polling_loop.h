#pragma once
// The dialog host's modal loop, in a header of its own so that the benchmark's baseline
// programs wait for their dialogs exactly as kobrant.exe waits for its own.

#include "host/win32.h"

namespace kobrant {

// Until the dialog window is gone: the thread's queue polled, 1 ms of sleep when it is
// empty, keyboard messages offered to the dialog manager, the rest dispatched. Polls
// instead of waiting in GetMessage, so the loop ends when the dialog is gone whatever
// the queue holds, and a quit message means nothing here.
inline void RunPollingLoop(HWND dialog) {
    MSG message;
    while (IsWindow(dialog)) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace kobrant
