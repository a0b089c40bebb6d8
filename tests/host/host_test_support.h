#pragma once
// What the dialog host tests share: a recording event handler that each test gives its
// own reactions, a watchdog that ends a modal loop that would otherwise never end, the
// Wine check, and a fixture that counts records and brushes after every test.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "driver/wine.h"
#include "host/dialog_host.h"

namespace kobrant::test {

// Messages a test posts to drive its dialog step by step from inside the modal loop.
inline constexpr UINT kStep1 = WM_APP + 1;
inline constexpr UINT kStep2 = WM_APP + 2;
inline constexpr UINT kStep3 = WM_APP + 3;

struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    void* context;
};

// What the recording handler saw, and what the test wants it to answer.
struct HandlerScript {
    std::vector<SeenMessage> seen;
    std::function<std::int32_t(HWND, UINT, WPARAM, LPARAM)> react;
};
inline HandlerScript gScript;
inline std::atomic<bool> gWatchdogFired{false};

inline std::int32_t RecordingHandler(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, void* context) {
    gScript.seen.push_back({message, wParam, lParam, context});
    // Once the watchdog has fired, its SC_CLOSE must close the dialog whatever the test wanted.
    if (gWatchdogFired && message == WM_SYSCOMMAND) return 0;
    return gScript.react ? gScript.react(dialog, message, wParam, lParam) : 0;
}

inline std::size_t CountSeen(UINT message) {
    std::size_t count = 0;
    for (const SeenMessage& seen : gScript.seen) count += seen.message == message ? 1 : 0;
    return count;
}

// Index of the first message of this number that the handler saw, or -1.
inline std::ptrdiff_t FirstSeen(UINT message) {
    for (std::size_t i = 0; i < gScript.seen.size(); ++i) {
        if (gScript.seen[i].message == message) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

// Closes the dialog after a few seconds if the test has not ended its modal loop by
// then (and wakes the loop in case the dialog is already gone); the test then fails
// on Fired() instead of hanging.
class Watchdog {
public:
    explicit Watchdog(HWND dialog, DWORD milliseconds = 5000)
        : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        const DWORD threadId = GetCurrentThreadId();
        thread_ = std::thread([this, dialog, threadId, milliseconds] {
            if (WaitForSingleObject(done_, milliseconds) != WAIT_TIMEOUT) return;
            fired_ = true;
            gWatchdogFired = true;
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostThreadMessageA(threadId, WM_NULL, 0, 0);
        });
    }
    ~Watchdog() {
        SetEvent(done_);
        thread_.join();
        CloseHandle(done_);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    bool Fired() const { return fired_; }

private:
    HANDLE done_;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// Every test ends with no window record and no brush left: the dialog is destroyed (if
// the test did not end it) and everything the host made for it must be gone.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        gScript = {};
        gWatchdogFired = false;
        WarmUpOnce();
    }
    void TearDown() override {
        for (HWND dialog : dialogs_) {
            if (IsWindow(dialog)) DestroyWindow(dialog);
        }
        EXPECT_EQ(WindowRecordCount(), 0u) << "window records left behind";
        EXPECT_EQ(BrushCount(), 0u) << "brushes left behind";
        gScript = {};
    }

    // A dialog of 120 by 80 units with no controls, destroyed at the end of the test.
    HWND Build(int x, int y, std::string_view title = "Host test") {
        HWND dialog = BuildDialog(nullptr, title, x, y, 120, 80, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                  WS_EX_CONTROLPARENT);
        if (dialog != nullptr) dialogs_.push_back(dialog);
        return dialog;
    }

    std::vector<HWND> dialogs_;

private:
    // Wine's first window of a process (on a fresh prefix, its first window at all) takes
    // seconds; shown once here, that time does not count against a watchdog.
    static void WarmUpOnce() {
        static bool warm = false;
        if (warm) return;
        warm = true;
        HWND dialog = BuildDialog(nullptr, "warm-up", 40, 30, 50, 20, WS_POPUP | WS_CAPTION, 0);
        ShowWindow(dialog, SW_SHOW);
        DestroyWindow(dialog);
    }
};

// RunModal of the dialog with the recording handler and a watchdog that closes it when
// the script does not; the watchdog having to is a failure of the test.
inline INT_PTR RunWatched(HWND dialog, void* context = nullptr) {
    Watchdog watchdog(dialog);
    const INT_PTR result = RunModal(dialog, RecordingHandler, context);
    EXPECT_FALSE(watchdog.Fired()) << "the watchdog closed the dialog";
    return result;
}

// The pixel rectangle of a rectangle in the dialog's units.
inline RECT PixelsOf(HWND dialog, int left, int top, int right, int bottom) {
    RECT rect{left, top, right, bottom};
    MapDialogRect(dialog, &rect);
    return rect;
}

// A pixel of a window's client area, and one near its bottom-right corner, where no
// text is.
inline COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}
inline COLORREF CornerPixel(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return PixelAt(window, client.right - 2, client.bottom - 2);
}

}  // namespace kobrant::test
