// The dialog host on a small dialog of its own: three controls, driven from inside the
// modal loop by posted messages (kStep1, ...), each modal run guarded by a watchdog.

#include <cstdlib>
#include <string>

#include "host_test_support.h"

namespace kobrant::test {
namespace {

constexpr int kLabelId = 101;
constexpr int kEditId = 102;
constexpr int kButtonId = 103;

class DialogHost : public HostTest {
protected:
    HWND BuildWithControls(int x = 40, int y = 30) {
        HWND dialog = Build(x, y);
        AddControl(dialog, kLabelId, ControlClass::Label, "Label   ", 5, 5, 40, 10, 0, 0);
        AddControl(dialog, kEditId, ControlClass::TextBox, "12,5", 50, 5, 30, 10, 0, 0);
        AddControl(dialog, kButtonId, ControlClass::PushButton, "Enter", 5, 20, 40, 14, 0, 0);
        return dialog;
    }
};

TEST_F(DialogHost, OpeningCallsComeFirstOnceAfterAllControls) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    const RECT client = PixelsOf(dialog, 0, 0, 120, 80);
    bool controlsThere = false;
    gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_INITDIALOG) {
            controlsThere = ControlWindow(d, kLabelId) && ControlWindow(d, kEditId) && ControlWindow(d, kButtonId);
            PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    };
    int context = 0;
    EXPECT_EQ(RunWatched(dialog, &context), 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(WindowRecordCount(), 0u);
    for (const SeenMessage& seen : gScript.seen) {
        EXPECT_EQ(seen.context, &context) << "message 0x" << std::hex << seen.message << " came without the context";
    }

    ASSERT_GE(gScript.seen.size(), 2u);
    EXPECT_EQ(gScript.seen[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(gScript.seen[0].wParam, reinterpret_cast<WPARAM>(dialog));
    EXPECT_EQ(gScript.seen[0].lParam, 0);
    EXPECT_EQ(CountSeen(WM_INITDIALOG), 1u);
    EXPECT_TRUE(controlsThere) << "WM_INITDIALOG came before all controls existed";
    EXPECT_EQ(gScript.seen[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(gScript.seen[1].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(gScript.seen[1].lParam, MAKELPARAM(client.right, client.bottom))
        << "client " << client.right << " x " << client.bottom;

    EXPECT_EQ(CountSeen(WM_ACTIVATE), 0u) << "the host answers activation itself";
    EXPECT_GE(CountSeen(WM_NCACTIVATE), 1u);
    const std::ptrdiff_t close = FirstSeen(WM_CLOSE);
    const std::ptrdiff_t destroy = FirstSeen(WM_DESTROY);
    EXPECT_GE(close, 2);
    EXPECT_LT(close, destroy);
    EXPECT_EQ(gScript.seen.back().message, static_cast<UINT>(WM_NCDESTROY));
}

// The dialog answers a plain WM_CLOSE, Escape and Enter by staying open; SC_CLOSE
// closes it only when the handler answers 0 (the close box, Alt+F4, the system menu).
TEST_F(DialogHost, ClosesOnlyOnSysCloseAnsweredZero) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    HWND edit = ControlWindow(dialog, kEditId);
    std::int32_t sysCloseAnswer = 0;
    // Whether the dialog was still open at each step: after a WM_CLOSE, after Escape and
    // Enter, after an SC_CLOSE answered 1.
    bool openAt[3] = {false, false, false};
    gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message >= kStep1 && message <= kStep3) openAt[message - kStep1] = IsWindow(d);
        switch (message) {
        case WM_INITDIALOG:
            PostMessageA(d, WM_CLOSE, 0, 0);
            PostMessageA(d, kStep1, 0, 0);
            break;
        case kStep1:
            PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageA(d, kStep2, 0, 0);
            break;
        case kStep2:
            sysCloseAnswer = 1;
            PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageA(d, kStep3, 0, 0);
            break;
        case kStep3:
            sysCloseAnswer = 0;
            // The low four bits of a system command are the system's own; they don't matter.
            PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE | 2, 0);
            break;
        case WM_SYSCOMMAND:
            return sysCloseAnswer;
        }
        return 0;
    };
    const INT_PTR result = RunWatched(dialog);
    EXPECT_TRUE(openAt[0]) << "a WM_CLOSE from outside closed the dialog";
    EXPECT_TRUE(openAt[1]) << "Escape or Enter closed the dialog";
    EXPECT_TRUE(openAt[2]) << "SC_CLOSE answered 1 closed the dialog";
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(IsWindow(dialog));

    bool sawCancel = false;
    bool sawOk = false;
    for (const SeenMessage& seen : gScript.seen) {
        if (seen.message != WM_COMMAND) continue;
        sawCancel = sawCancel || LOWORD(seen.wParam) == IDCANCEL;
        sawOk = sawOk || LOWORD(seen.wParam) == IDOK;
    }
    EXPECT_TRUE(sawCancel) << "Escape should come to the handler as IDCANCEL";
    EXPECT_TRUE(sawOk) << "Enter in an edit field should come to the handler as IDOK";
    EXPECT_EQ(CountSeen(WM_CLOSE), 2u) << "the posted one and the one from CloseDialog";
}

TEST_F(DialogHost, RunModalReturnsWhatCloseDialogGave) {
    struct Case {
        const char* what;
        bool closeAgainOnClose;  // the handler calls CloseDialog once more while closing
        INT_PTR expected;
    };
    const Case cases[] = {
        {"plain", false, 42},
        // used to send WM_CLOSE again from inside WM_CLOSE until the stack ran out
        {"closed again from WM_CLOSE", true, 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gScript = {};
        HWND dialog = BuildWithControls();
        ASSERT_NE(dialog, nullptr);
        gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
            if (message == WM_INITDIALOG) PostMessageA(d, kStep1, 0, 0);
            if (message == kStep1) CloseDialog(d, 42);
            if (message == WM_CLOSE && c.closeAgainOnClose) CloseDialog(d, 7);
            return 0;
        };
        EXPECT_EQ(RunWatched(dialog), c.expected);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(CountSeen(WM_CLOSE), 1u);
        EXPECT_EQ(WindowRecordCount(), 0u);
    }
}

// Regression: the loop only looked for the dialog after a message, so a dialog closed
// while ShowWindow ran left it sleeping on an empty queue for good.
TEST_F(DialogHost, DialogClosedWhileShowingEndsTheLoop) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    gScript.react = [](HWND d, UINT message, WPARAM wParam, LPARAM) -> std::int32_t {
        if (message == WM_SHOWWINDOW && wParam) CloseDialog(d, 5);
        return 0;
    };
    EXPECT_EQ(RunWatched(dialog), 5);
    EXPECT_FALSE(IsWindow(dialog));
}

// A non-zero answer is the message's result, unless the handler set one itself; the
// handler is re-entered when what it does sends messages to the dialog.
TEST_F(DialogHost, HandlerAnswersAndReentry) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    constexpr UINT kAnswer42 = WM_APP + 10;
    constexpr UINT kSetsOwnResult = WM_APP + 11;
    constexpr UINT kAnswer0 = WM_APP + 12;
    LRESULT results[3] = {-1, -1, -1};
    bool changeSeenInside = false;
    std::size_t seenBeforeActivate = 0;
    std::size_t seenAfterActivate = 0;
    gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        switch (message) {
        case WM_INITDIALOG:
            PostMessageA(d, kStep1, 0, 0);
            break;
        case kStep1: {
            results[0] = SendMessageA(d, kAnswer42, 0, 0);
            results[1] = SendMessageA(d, kSetsOwnResult, 0, 0);
            results[2] = SendMessageA(d, kAnswer0, 0, 0);
            const std::size_t before = gScript.seen.size();
            SetControlText(ControlWindow(d, kEditId), "7");
            for (std::size_t i = before; i < gScript.seen.size(); ++i) {
                const SeenMessage& seen = gScript.seen[i];
                if (seen.message == WM_COMMAND && LOWORD(seen.wParam) == kEditId &&
                    HIWORD(seen.wParam) == EN_CHANGE) {
                    changeSeenInside = true;
                }
            }
            seenBeforeActivate = gScript.seen.size();
            SendMessageA(d, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
            SendMessageA(d, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
            seenAfterActivate = gScript.seen.size();
            CloseDialog(d, 0);
            break;
        }
        case kAnswer42:
            return 42;
        case kSetsOwnResult:
            SetWindowLongPtrA(d, DWLP_MSGRESULT, 7);
            return 1;
        }
        return 0;
    };
    EXPECT_EQ(RunWatched(dialog), 0);
    EXPECT_EQ(results[0], 42);
    EXPECT_EQ(results[1], 7);
    EXPECT_EQ(results[2], 0);
    EXPECT_TRUE(changeSeenInside) << "EN_CHANGE should reach the handler while it sets the text";
    EXPECT_EQ(seenAfterActivate, seenBeforeActivate) << "WM_ACTIVATE reached the handler";
}

// The confirmation flash relies on this: RepaintDialog paints the dialog and its
// controls before it returns, with the colours set while the dialog was hidden.
TEST_F(DialogHost, RepaintDialogPaintsEverythingAtOnce) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    SetWindowColors(dialog, kDialogItself, RGB(0, 0, 255), RGB(0, 255, 255));
    SetWindowColors(dialog, kEditId, RGB(0, 0, 0), RGB(157, 253, 239));
    std::size_t dialogQueries = 0;
    std::size_t labelQueries = 0;
    COLORREF dialogPixel = CLR_INVALID;
    COLORREF editPixel = CLR_INVALID;
    gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_INITDIALOG) PostMessageA(d, kStep1, 0, 0);
        if (message == kStep1) {
            gScript.seen.clear();  // what the repaint alone asks
            RepaintDialog(d);
            dialogQueries = CountSeen(WM_CTLCOLORDLG);
            labelQueries = CountSeen(WM_CTLCOLORSTATIC);
            dialogPixel = PixelAt(d, 1, 1);
            editPixel = CornerPixel(ControlWindow(d, kEditId));
            CloseDialog(d, 0);
        }
        return 0;
    };
    EXPECT_EQ(RunWatched(dialog), 0);
    EXPECT_GE(dialogQueries, 1u) << "the dialog's background was not painted";
    EXPECT_GE(labelQueries, 1u) << "the label was not painted";
    EXPECT_EQ(dialogPixel, RGB(0, 255, 255));
    EXPECT_EQ(editPixel, RGB(157, 253, 239));
}

TEST_F(DialogHost, RunModalWithoutDialogStillMakesTheOpeningCalls) {
    EXPECT_EQ(RunModal(nullptr, RecordingHandler), 0);
    ASSERT_EQ(gScript.seen.size(), 2u);
    EXPECT_EQ(gScript.seen[0].message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(gScript.seen[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(gScript.seen[1].lParam, 0) << "no dialog, no client size";
    EXPECT_EQ(RunModal(nullptr, nullptr), 0);
}

TEST_F(DialogHost, ControlsTakeTheirClassDefaults) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    struct Case {
        int id;
        const char* windowClass;
        DWORD style;
        bool clientEdge;
        RECT units;
    };
    const Case cases[] = {
        {kLabelId, "Static", WS_CHILD | WS_VISIBLE | SS_LEFT, false, {5, 5, 45, 15}},
        {kEditId, "Edit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, true, {50, 5, 80, 15}},
        {kButtonId, "Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, false, {5, 20, 45, 34}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windowClass);
        HWND control = ControlWindow(dialog, c.id);
        ASSERT_NE(control, nullptr);
        char className[32] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, c.windowClass);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), c.style);
        EXPECT_EQ((GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.clientEdge);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), dialogFont);
        RECT placed{};
        GetWindowRect(control, &placed);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed), 2);
        const RECT expected = PixelsOf(dialog, c.units.left, c.units.top, c.units.right, c.units.bottom);
        EXPECT_EQ(placed.left, expected.left);
        EXPECT_EQ(placed.top, expected.top);
        EXPECT_EQ(placed.right, expected.right);
        EXPECT_EQ(placed.bottom, expected.bottom);
    }
    EXPECT_EQ(WindowRecordCount(), 4u);
}

TEST_F(DialogHost, GivenStylesAndTheDefaultButton) {
    HWND dialog = Build(40, 30);
    ASSERT_NE(dialog, nullptr);
    HWND plain = AddControl(dialog, 201, ControlClass::TextBox, "", 5, 5, 30, 10, ES_RIGHT, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(plain, GWL_STYLE)), static_cast<DWORD>(WS_CHILD | WS_VISIBLE | ES_RIGHT))
        << "a given style replaces the class default";
    EXPECT_EQ(GetWindowLongA(plain, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    ASSERT_NE(AddControl(dialog, 202, ControlClass::PushButton, "OK", 5, 20, 30, 14, BS_DEFPUSHBUTTON, 0), nullptr);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(202, DC_HASDEFID));

    // A check box's type also has bit 0 set; it must not take the default.
    ASSERT_NE(AddControl(dialog, 203, ControlClass::PushButton, "x", 40, 20, 30, 14, BS_AUTOCHECKBOX, 0), nullptr);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(202, DC_HASDEFID));

    EXPECT_EQ(AddControl(nullptr, 204, ControlClass::Label, "x", 0, 0, 5, 5, 0, 0), nullptr);
    EXPECT_EQ(AddControl(plain, 205, ControlClass::Label, "x", 0, 0, 5, 5, 0, 0), nullptr)
        << "a control is no dialog";
}

TEST_F(DialogHost, ControlTextKeepsEveryByte) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    const std::string texts[] = {"", "Luftdruck          ", "B\xF6" "en-st\xE4rke     ", "12,5", "1013.2"};
    for (int id : {kLabelId, kEditId}) {
        HWND control = ControlWindow(dialog, id);
        for (const std::string& text : texts) {
            SetControlText(control, text);
            EXPECT_EQ(GetControlText(control), text) << "id=" << id << " text=\"" << text << "\"";
        }
    }
    EXPECT_EQ(GetControlText(nullptr), "");
}

TEST_F(DialogHost, TitleOfNoCharactersIsOneBlank) {
    struct Case {
        std::string title;
        std::string shown;
    };
    const Case cases[] = {{"", " "}, {"KOBRANT--V571", "KOBRANT--V571"}, {"  x  ", "  x  "}};
    for (const Case& c : cases) {
        HWND dialog = Build(40, 30, c.title);
        ASSERT_NE(dialog, nullptr);
        char shown[64] = {};
        GetWindowTextA(dialog, shown, sizeof shown);
        EXPECT_EQ(std::string(shown), c.shown) << "title=\"" << c.title << "\"";
        EXPECT_FALSE(IsWindowVisible(dialog)) << "built dialogs stay hidden until RunModal";
    }
}

// Regression: the position used to be read from the window's outer corner, so a saved
// position brought the dialog back higher and further left by its caption and frame.
TEST_F(DialogHost, PositionRoundTrip) {
    struct Case {
        int x, y;
    };
    const Case cases[] = {{40, 30}, {123, 77}, {200, 150}, {41, 31}};
    for (const Case& c : cases) {
        HWND dialog = Build(c.x, c.y);
        ASSERT_NE(dialog, nullptr);
        ShowWindow(dialog, SW_SHOW);
        const DialogPosition position = GetDialogPosition(dialog);
        EXPECT_EQ(position.x, c.x) << "built at " << c.x << ", " << c.y;
        EXPECT_EQ(position.y, c.y) << "built at " << c.x << ", " << c.y;
        DestroyWindow(dialog);
    }
}

// Near the screen's corner the system moves the dialog onto the screen; what it then
// reports must bring it back to the same place (to within the pixel that whole units
// cannot tell apart), not creep further at every run.
TEST_F(DialogHost, PositionNearTheCornerIsStable) {
    HWND first = Build(5, 5);
    ASSERT_NE(first, nullptr);
    const DialogPosition saved = GetDialogPosition(first);
    RECT firstRect{};
    GetWindowRect(first, &firstRect);
    DestroyWindow(first);

    HWND second = Build(saved.x, saved.y);
    ASSERT_NE(second, nullptr);
    const DialogPosition again = GetDialogPosition(second);
    RECT secondRect{};
    GetWindowRect(second, &secondRect);
    const RECT oneUnit = PixelsOf(second, 0, 0, 1, 1);
    EXPECT_EQ(again.x, saved.x);
    EXPECT_EQ(again.y, saved.y);
    EXPECT_LT(std::abs(secondRect.left - firstRect.left), oneUnit.right);
    EXPECT_LT(std::abs(secondRect.top - firstRect.top), oneUnit.bottom);
}

// Left of and above the screen's origin a position goes down to the next whole unit.
TEST_F(DialogHost, PositionLeftOfAndAboveTheScreen) {
    HWND dialog = Build(40, 30);
    ASSERT_NE(dialog, nullptr);
    RECT window{};
    GetWindowRect(dialog, &window);
    POINT client{0, 0};
    ClientToScreen(dialog, &client);
    const int frameX = client.x - window.left;
    const int frameY = client.y - window.top;
    const RECT unit4x8 = PixelsOf(dialog, 0, 0, 4, 8);  // exact pixel counts of 4 and 8 units
    ASSERT_GT(unit4x8.right, 4) << "the tests need more than one pixel per unit";
    ASSERT_GT(unit4x8.bottom, 8);
    struct Case {
        int pixelX, pixelY;  // where the client area's corner goes
        std::int32_t x, y;   // what GetDialogPosition gives
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {-1, -1, -1, -1},
        {-unit4x8.right, -unit4x8.bottom, -4, -8},              // exact
        {-unit4x8.right - 1, -unit4x8.bottom - 1, -5, -9},      // just beyond: down, not to nearest
        {unit4x8.right, unit4x8.bottom, 4, 8},
    };
    for (const Case& c : cases) {
        SetWindowPos(dialog, nullptr, c.pixelX - frameX, c.pixelY - frameY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        POINT corner{0, 0};
        ClientToScreen(dialog, &corner);
        ASSERT_EQ(corner.x, c.pixelX);
        ASSERT_EQ(corner.y, c.pixelY);
        const DialogPosition position = GetDialogPosition(dialog);
        EXPECT_EQ(position.x, c.x) << "pixels " << c.pixelX << ", " << c.pixelY;
        EXPECT_EQ(position.y, c.y) << "pixels " << c.pixelX << ", " << c.pixelY;
    }
    EXPECT_EQ(GetDialogPosition(nullptr).x, 0);
}

TEST_F(DialogHost, MinusOneCentresTheDialog) {
    struct Case {
        int x, y;
    };
    const Case cases[] = {{-1, -1}, {-1, 50}, {50, -1}};
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const Case& c : cases) {
        HWND dialog = Build(c.x, c.y);
        ASSERT_NE(dialog, nullptr);
        EXPECT_NE(GetWindowLongA(dialog, GWL_STYLE) & DS_CENTER, 0);
        RECT rect{};
        GetWindowRect(dialog, &rect);
        const long gapLeft = rect.left - work.left;
        const long gapRight = work.right - rect.right;
        const long gapTop = rect.top - work.top;
        const long gapBottom = work.bottom - rect.bottom;
        EXPECT_LE(std::abs(gapLeft - gapRight), 1) << "x=" << c.x << " y=" << c.y;
        EXPECT_LE(std::abs(gapTop - gapBottom), 1) << "x=" << c.x << " y=" << c.y;
        DestroyWindow(dialog);
    }
}

TEST_F(DialogHost, CloseDialogLeavesUnknownWindowsAlone) {
    HWND dialog = BuildWithControls();
    ASSERT_NE(dialog, nullptr);
    HWND label = ControlWindow(dialog, kLabelId);
    CloseDialog(label, 3);  // a control has a record, but is no dialog
    EXPECT_TRUE(IsWindow(label));
    CloseDialog(nullptr, 3);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(WindowRecordCount(), 4u);
    DestroyWindow(dialog);  // not through the host: WM_NCDESTROY still frees the records
    EXPECT_EQ(WindowRecordCount(), 0u);
}

}  // namespace
}  // namespace kobrant::test
