#pragma once
// The polling loop of kobrant.exe's dialog host, as it stands, for the benchmark's two
// baseline programs: they must wait for their dialog exactly as kobrant.exe waits for
// its own, so that the loop's cost is the same in all three.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace kobrant::bench {

// Until the dialog is gone: the queue polled, 1 ms of sleep when it is empty, keyboard
// messages to the dialog manager, the rest dispatched.
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

}  // namespace kobrant::bench
