// The entry dialog of the real kobrant.exe, driven from outside as an operator would:
// typing, "CLEAR", "Enter", moving the dialog, switching to another window and back,
// the close box. Each case starts the program in a fresh folder of its own, answers
// the message box and works in the dialog; the two files are then read byte for byte.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "support/files.h"
#include "host/dialog_host.h"
#include "support/worked_example.h"

namespace kobrant {
namespace {

using driver::kExitTimeoutMs;
using driver::kWindowTimeoutMs;

constexpr int kFirstEdit = kFirstEditFieldId;
constexpr int kEnter = kEnterButtonId;
constexpr int kClear = kClearButtonId;

constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// The dialog's template style as the program gives it; the dialog's window keeps these.
constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                               DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;

std::string SettingsLine(const std::vector<std::string>& texts, int left, int top) {
    std::string line;
    for (const std::string& text : texts) line += "\"" + text + "\",";
    return line + std::to_string(left) + "," + std::to_string(top) + "\r\n";
}

// Pixels of dialog units of the program's dialog font, from a hidden dialog of the
// same template font made here with the program's own dialog host.
class DialogUnits {
public:
    DialogUnits() : dialog_(BuildDialog(nullptr, "units", 0, 0, 119, 144, kDialogStyle, WS_EX_CONTROLPARENT)) {}
    ~DialogUnits() {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
    }
    DialogUnits(const DialogUnits&) = delete;
    DialogUnits& operator=(const DialogUnits&) = delete;
    bool Ready() const { return dialog_ != nullptr; }
    RECT Pixels(int left, int top, int right, int bottom) const {
        RECT rect{left, top, right, bottom};
        MapDialogRect(dialog_, &rect);
        return rect;
    }
    POINT Point(int x, int y) const {
        const RECT rect = Pixels(x, y, x, y);
        return {rect.left, rect.top};
    }

private:
    HWND dialog_;
};

std::string Described(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// The window's rectangle in the client coordinates of its dialog.
RECT RectInDialog(HWND control, HWND dialog) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Lets this thread's own windows take the messages the system sends them.
void PumpFor(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
    } while (GetTickCount64() < deadline);
}

// One start of kobrant.exe in a fresh folder: the message box answered, then the
// entry dialog; every case ends by closing the dialog with its close box, after which
// the program must end with exit code 0.
class EntryDialog : public ::testing::Test {
protected:
    void TearDown() override {
        if (dialog_ != nullptr && program_.Started()) CloseAndExpectExitZero();
    }

    std::string File(const char* name) const { return dir_.File(name); }

    // Starts the program, answers its box with OK and waits for the dialog.
    void Start() {
        const char* exe = std::getenv("KOBRANT_EXE");
        ASSERT_NE(exe, nullptr) << "KOBRANT_EXE is not set: run program_tests through ctest";
        std::string why;
        ASSERT_TRUE(driver::StartProgram(WindowsPath(exe), dir_.Path(), program_, why)) << why;
        HWND box = driver::WaitForProcessWindow(program_, driver::kDialogClass, kRecordPathCaption, kWindowTimeoutMs);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(driver::FindProcessWindow(program_.Id(), driver::kDialogClass, kEntryDialogCaption), nullptr)
            << "the dialog came before the box was answered";
        ASSERT_TRUE(driver::PressButton(box, IDOK));
        dialog_ = driver::WaitForProcessWindow(program_, driver::kDialogClass, kEntryDialogCaption, kWindowTimeoutMs);
        ASSERT_NE(dialog_, nullptr) << "no dialog \"" << kEntryDialogCaption << "\" after the box";
        ASSERT_TRUE(Settle());
    }

    void StartWithSettings(const std::string& line) {
        test::WriteBytes(File("kobrant.ctl"), line);
        Start();
    }

    void CloseAndExpectExitZero() {
        EXPECT_TRUE(driver::PressCloseBox(dialog_));
        DWORD exitCode = 0xFFFFFFFF;
        EXPECT_TRUE(driver::WaitForExit(program_, kExitTimeoutMs, exitCode)) << "still running after the close box";
        EXPECT_EQ(exitCode, 0u);
        dialog_ = nullptr;
    }

    // Waits until the dialog's thread has this active window, taking this thread's
    // own messages meanwhile (activation goes through both threads).
    bool ActiveWindowBecomes(HWND active) const {
        const ULONGLONG deadline = GetTickCount64() + 5000;
        while (GetTickCount64() < deadline) {
            if (driver::FocusOfThread(dialog_).active == active) return true;
            PumpFor(20);
        }
        return false;
    }

    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    HWND Edit(int field) const { return Control(kFirstEdit + field); }
    bool Settle() const { return driver::Settle(Control(kClear)); }

    bool Press(int buttonId) { return driver::PressButton(dialog_, buttonId) && Settle(); }

    void PutTexts(const std::vector<std::string>& texts) {
        for (int field = 0; field < 9; ++field) ASSERT_TRUE(driver::SetText(Edit(field), texts[static_cast<std::size_t>(field)]));
    }

    std::vector<std::string> EditTexts() const {
        std::vector<std::string> texts;
        for (int field = 0; field < 9; ++field) texts.push_back(driver::WindowText(Edit(field)));
        return texts;
    }

    // "Enter", with the dialog's background watched at one pixel of its client area
    // until the program has handled it: the colours shown, in order, each once.
    std::vector<COLORREF> PressEnterWatchingTheFlash() {
        POINT where = driver::ClientCorner(dialog_);
        where.x += 2;
        where.y += 2;
        std::vector<COLORREF> shown;
        EXPECT_TRUE(driver::PressButton(dialog_, kEnter));
        const ULONGLONG deadline = GetTickCount64() + 3000;
        while (GetTickCount64() < deadline) {
            const COLORREF color = driver::ScreenPixel(where);
            if (shown.empty() || shown.back() != color) shown.push_back(color);
            if (shown.size() >= 3 && color == kCyan) break;  // the flash is over
            Sleep(5);
        }
        EXPECT_TRUE(Settle());
        return shown;
    }

    // The record as "Enter" at this moment must write it, for either side of a minute.
    void ExpectRecord(const std::string& dataLine, const SYSTEMTIME& before, const SYSTEMTIME& after) {
        const std::string record = test::ReadBytes(File("WX-DATA.txt"));
        const std::string early = driver::RecordTimestamp(before) + "\r\n" + dataLine + "\r\n";
        const std::string late = driver::RecordTimestamp(after) + "\r\n" + dataLine + "\r\n";
        EXPECT_TRUE(record == early || record == late) << "record:\n" << record << "expected:\n" << early;
    }

    test::TestDirectory dir_;
    driver::Program program_;
    HWND dialog_ = nullptr;
};

std::string ColorsShown(const std::vector<COLORREF>& colors) {
    std::string text;
    char one[24];
    for (COLORREF color : colors) {
        std::snprintf(one, sizeof one, " RGB(%u,%u,%u)", GetRValue(color), GetGValue(color), GetBValue(color));
        text += one;
    }
    return text;
}

bool Shows(const std::vector<COLORREF>& colors, COLORREF color) {
    for (COLORREF shown : colors) {
        if (shown == color) return true;
    }
    return false;
}

const std::vector<std::string> kLoadedTexts = {"270", "5", "", "20", "0", "1.5", "2", "1234567", "1013.25"};

// The window, then every control in creation order: id, class, text (trailing blanks
// included), place and size in dialog units, style. The edit fields show the texts
// loaded from the settings file, a text longer than the input limit whole.
TEST_F(EntryDialog, ShowsItsThirtyControlsWithTheLoadedTexts) {
    StartWithSettings(SettingsLine(kLoadedTexts, 40, 30));
    DialogUnits units;
    ASSERT_TRUE(units.Ready());

    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog_, GWL_STYLE)), kDialogStyle);
    EXPECT_NE(GetWindowLongA(dialog_, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
    RECT client{};
    GetClientRect(dialog_, &client);
    EXPECT_EQ(Described(client), Described(units.Pixels(0, 0, 119, 144))) << "client area of 119 by 144 units";
    const POINT corner = driver::ClientCorner(dialog_);
    const POINT expectedCorner = units.Point(40, 30);
    EXPECT_EQ(corner.x, expectedCorner.x) << "left 40 units";
    EXPECT_EQ(corner.y, expectedCorner.y) << "top 30 units";

    enum Kind { kLabel, kEdit, kButton };
    struct Case {
        int id;
        Kind kind;
        std::string text;
        int x, y, width, height;
    };
    const Case cases[] = {
        {1001, kLabel, "Windrichtung   ", 15, 5, 45, 10},
        {1002, kLabel, "Gechwindigkeit   ", 10, 15, 50, 10},
        {1003, kLabel, "B\xF6" "en-st\xE4" "rke     ", 20, 25, 40, 10},
        {1004, kLabel, "Temperatur    ", 20, 35, 40, 10},
        {1005, kLabel, "Regen  Stunde ", 10, 45, 50, 10},
        {1006, kLabel, "Regen 24 Std  ", 15, 55, 45, 10},
        {1007, kLabel, "Regen heute", 15, 65, 45, 10},
        {1008, kLabel, "Rel. Luftfeuchte.    ", 5, 75, 55, 10},
        {1009, kLabel, "Luftdruck          ", 25, 85, 35, 10},
        {1010, kEdit, kLoadedTexts[0], 60, 5, 30, 10},
        {1011, kEdit, kLoadedTexts[1], 60, 15, 30, 10},
        {1012, kEdit, kLoadedTexts[2], 60, 25, 30, 10},
        {1013, kEdit, kLoadedTexts[3], 60, 35, 30, 10},
        {1014, kEdit, kLoadedTexts[4], 60, 45, 30, 10},
        {1015, kEdit, kLoadedTexts[5], 60, 55, 30, 10},
        {1016, kEdit, kLoadedTexts[6], 60, 65, 30, 10},
        {1017, kEdit, kLoadedTexts[7], 60, 75, 30, 10},
        {1018, kEdit, kLoadedTexts[8], 60, 85, 30, 10},
        {1019, kLabel, "Grad", 90, 5, 20, 10},
        {1020, kLabel, "m/sec.", 90, 15, 25, 10},
        {1021, kLabel, "m/sec.", 90, 25, 25, 10},
        {1022, kLabel, "Celsius", 90, 35, 25, 10},
        {1023, kLabel, "mm", 90, 45, 15, 10},
        {1024, kLabel, "mm", 90, 55, 15, 10},
        {1025, kLabel, "mm", 90, 65, 15, 10},
        {1026, kLabel, "%", 95, 75, 10, 10},
        {1027, kLabel, "Millibar", 90, 85, 25, 10},
        {1028, kButton, "Enter", 40, 100, 70, 20},
        {1029, kLabel, "  kobrantwx.example", 0, 125, 115, 15},
        {1030, kButton, "CLEAR", 5, 100, 30, 20},
    };
    struct ClassShape {
        const char* name;
        DWORD style;
        bool clientEdge;
    };
    const ClassShape shapes[] = {
        {"Static", WS_CHILD | WS_VISIBLE | SS_LEFT, false},
        {"Edit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, true},
        {"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, false},
    };

    // Creation order is the order of the children (z-order and tab order).
    HWND child = GetWindow(dialog_, GW_CHILD);
    for (const Case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id));
        ASSERT_NE(child, nullptr) << "fewer than 30 controls";
        EXPECT_EQ(GetDlgCtrlID(child), c.id) << "out of creation order";
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr);
        const ClassShape& shape = shapes[c.kind];
        EXPECT_STRCASEEQ(driver::ClassName(control).c_str(), shape.name);
        EXPECT_EQ(driver::WindowText(control), c.text);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), shape.style);
        EXPECT_EQ((GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, shape.clientEdge);
        EXPECT_EQ(Described(RectInDialog(control, dialog_)),
                  Described(units.Pixels(c.x, c.y, c.x + c.width, c.y + c.height)));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more than 30 controls";
}

// "Enter" writes the settings line (the cleaned texts and the dialog's position) and
// the record, each replacing what was there; "CLEAR" empties the fields, and the next
// "Enter" saves the empty texts and reports every value missing.
TEST_F(EntryDialog, EnterWritesBothFilesAndReplacesThemEachTime) {
    StartWithSettings(SettingsLine(kLoadedTexts, 40, 30));
    struct Case {
        const char* what;
        bool clear;                       // "CLEAR" instead of typing
        std::vector<std::string> typed;   // put into the nine fields
        std::vector<std::string> saved;   // the settings file's texts
        std::string dataLine;
    };
    const Case cases[] = {
        {"the worked example", false,
         {test::worked_example::kTyped.begin(), test::worked_example::kTyped.end()},
         {test::worked_example::kCleaned.begin(), test::worked_example::kCleaned.end()},
         test::worked_example::kDataLine},
        {"CLEAR", true, {}, {"", "", "", "", "", "", "", "", ""}, ".../...g...t...r...p...P...h..b....."},
        {"typed again after CLEAR", false,
         {"90", "3", "", "-25", "", "", "", "100", "999"},
         {"90", "3", "", "-25", "", "", "", "100", "999"},
         "090/007g...t-13r...p...P...h00b09990"},
        {"the same again", false,
         {"90", "3", "", "-25", "", "", "", "100", "999"},
         {"90", "3", "", "-25", "", "", "", "100", "999"},
         "090/007g...t-13r...p...P...h00b09990"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.clear) {
            const std::string record = test::ReadBytes(File("WX-DATA.txt"));
            const std::string settings = test::ReadBytes(File("kobrant.ctl"));
            ASSERT_TRUE(Press(kClear));
            EXPECT_EQ(EditTexts(), c.saved) << "CLEAR empties all nine fields";
            EXPECT_EQ(test::ReadBytes(File("WX-DATA.txt")), record) << "CLEAR changes only the fields";
            EXPECT_EQ(test::ReadBytes(File("kobrant.ctl")), settings) << "CLEAR changes only the fields";
        } else {
            PutTexts(c.typed);
        }
        SYSTEMTIME before{}, after{};
        GetLocalTime(&before);
        ASSERT_TRUE(Press(kEnter));
        GetLocalTime(&after);
        EXPECT_EQ(test::ReadBytes(File("kobrant.ctl")), SettingsLine(c.saved, 40, 30));
        ExpectRecord(c.dataLine, before, after);
        if (!c.clear) {
            EXPECT_EQ(EditTexts(), c.typed) << "the fields keep what was typed, commas included";
        }
    }
}

// The position saved by "Enter" is the dialog's client-area corner in dialog units,
// and the next start puts the dialog there.
TEST_F(EntryDialog, MovedDialogIsSavedAndTheNextStartPlacesItThere) {
    StartWithSettings(SettingsLine(kLoadedTexts, 40, 30));
    DialogUnits units;
    ASSERT_TRUE(units.Ready());
    const POINT target = units.Point(100, 80);
    RECT window{};
    GetWindowRect(dialog_, &window);
    const POINT corner = driver::ClientCorner(dialog_);
    ASSERT_TRUE(SetWindowPos(dialog_, nullptr, target.x - (corner.x - window.left), target.y - (corner.y - window.top),
                             0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(Press(kEnter));
    EXPECT_EQ(test::ReadBytes(File("kobrant.ctl")), SettingsLine(kLoadedTexts, 100, 80));
    CloseAndExpectExitZero();

    Start();
    const POINT placed = driver::ClientCorner(dialog_);
    EXPECT_EQ(placed.x, target.x);
    EXPECT_EQ(placed.y, target.y);
}

// -1 in either position number centres the dialog on the screen's work area.
TEST_F(EntryDialog, PositionOfMinusOneCentresTheDialog) {
    struct Case {
        int left, top;
    };
    const Case cases[] = {{-1, 30}, {40, -1}};
    RECT workArea{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
        test::WriteBytes(File("kobrant.ctl"), SettingsLine(kLoadedTexts, c.left, c.top));
        Start();
        RECT window{};
        GetWindowRect(dialog_, &window);
        const int spareLeft = window.left - workArea.left, spareRight = workArea.right - window.right;
        const int spareTop = window.top - workArea.top, spareBottom = workArea.bottom - window.bottom;
        EXPECT_LE(std::abs(spareLeft - spareRight), 1) << "window " << Described(window) << " in " << Described(workArea);
        EXPECT_LE(std::abs(spareTop - spareBottom), 1) << "window " << Described(window) << " in " << Described(workArea);
        CloseAndExpectExitZero();
    }
}

// Once the dialog has been activated, five characters can be typed into each of the
// first eight fields and six into the pressure field. Return and Escape in a field
// neither close the dialog nor press "Enter" (there is no default button).
TEST_F(EntryDialog, TypingStopsAtTheLimitAndOtherCommandsDoNothing) {
    StartWithSettings(SettingsLine(kLoadedTexts, 40, 30));
    ASSERT_TRUE(Press(kClear));
    for (int field = 0; field < 9; ++field) {
        ASSERT_TRUE(driver::Click(Edit(field), 2, 2));
        ASSERT_TRUE(driver::TypeChars(Edit(field), "1234567"));
    }
    ASSERT_TRUE(Settle());
    const std::vector<std::string> limited = {"12345", "12345", "12345", "12345", "12345",
                                              "12345", "12345", "12345", "123456"};
    EXPECT_EQ(EditTexts(), limited);

    // Neither the keys nor button commands with a notification code other than a
    // click's press anything.
    struct Case {
        const char* what;
        UINT key;           // posted to a field, or 0
        int buttonId;       // else this command
        WORD notification;  // with this code
    };
    const Case cases[] = {
        {"Return", VK_RETURN, 0, 0},
        {"Escape", VK_ESCAPE, 0, 0},
        {"Enter double-clicked", 0, kEnter, BN_DOUBLECLICKED},
        {"CLEAR double-clicked", 0, kClear, BN_DOUBLECLICKED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.key != 0) {
            ASSERT_TRUE(driver::PressKey(Edit(3), c.key));
        } else {
            ASSERT_TRUE(PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(c.buttonId, c.notification),
                                     reinterpret_cast<LPARAM>(Control(c.buttonId))));
        }
        // Twice: a command the key causes may be posted behind the first.
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(Settle());
        EXPECT_TRUE(IsWindow(dialog_)) << "the dialog closed";
        EXPECT_EQ(EditTexts(), limited) << "the fields changed";
        EXPECT_EQ(test::ReadBytes(File("WX-DATA.txt")), "<missing>") << "\"Enter\" was pressed";
    }
    ASSERT_TRUE(Press(kEnter));
    EXPECT_EQ(test::ReadBytes(File("kobrant.ctl")), SettingsLine(limited, 40, 30));
}

// The field that had the keyboard focus has it again when the operator comes back
// from another window.
TEST_F(EntryDialog, FocusComesBackAfterSwitchingAwayAndBack) {
    Start();
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 200, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    // The dialog is active in its own thread from the start, but the system need not
    // have made it the foreground window yet (Wine does not when the program starts
    // from a process that is not in the foreground); switching away from a window in
    // the background deactivates nothing.
    SetForegroundWindow(dialog_);
    ASSERT_TRUE(ActiveWindowBecomes(dialog_));
    for (int field : {3, 8}) {
        SCOPED_TRACE("field " + std::to_string(field));
        ASSERT_TRUE(driver::Click(Edit(field), 2, 2));
        ASSERT_TRUE(Settle());
        ASSERT_EQ(driver::FocusOfThread(dialog_).focus, Edit(field)) << "the click did not give the field the focus";

        SetForegroundWindow(other);
        ASSERT_TRUE(ActiveWindowBecomes(nullptr)) << "the dialog stayed active";
        EXPECT_EQ(GetForegroundWindow(), other);

        SetForegroundWindow(dialog_);
        ASSERT_TRUE(ActiveWindowBecomes(dialog_)) << "the dialog did not become active again";
        ASSERT_TRUE(Settle());
        EXPECT_EQ(driver::FocusOfThread(dialog_).focus, Edit(field)) << "the focus did not come back";
    }
    DestroyWindow(other);
}

// The flash tells whether the report went out. While the program that reads the record
// holds it open, "Enter" still saves the settings but flashes red; once it lets go,
// the next "Enter" writes the record and flashes green.
TEST_F(EntryDialog, HeldRecordFlashesRedAndTheNextEnterGreen) {
    Start();
    PutTexts({test::worked_example::kTyped.begin(), test::worked_example::kTyped.end()});
    std::vector<COLORREF> shown = PressEnterWatchingTheFlash();
    EXPECT_TRUE(Shows(shown, kGreen) && !Shows(shown, kRed)) << "colours shown:" << ColorsShown(shown);
    const std::string firstRecord = test::ReadBytes(File("WX-DATA.txt"));
    ASSERT_EQ(firstRecord.size(), 57u);

    ASSERT_TRUE(driver::SetText(Edit(3), "21"));
    {
        test::OtherOpener reader(File("WX-DATA.txt"));
        ASSERT_TRUE(reader.holds());
        shown = PressEnterWatchingTheFlash();
        EXPECT_TRUE(Shows(shown, kRed) && !Shows(shown, kGreen)) << "colours shown:" << ColorsShown(shown);
        EXPECT_EQ(shown.back(), kCyan) << "colours shown:" << ColorsShown(shown);
    }
    EXPECT_EQ(test::ReadBytes(File("WX-DATA.txt")), firstRecord) << "the held record was changed";
    const std::string savedWhileHeld = test::ReadBytes(File("kobrant.ctl"));
    EXPECT_NE(savedWhileHeld.find("\"21\""), std::string::npos) << "settings not saved: " << savedWhileHeld;

    shown = PressEnterWatchingTheFlash();
    EXPECT_TRUE(Shows(shown, kGreen) && !Shows(shown, kRed)) << "colours shown:" << ColorsShown(shown);
    const std::string record = test::ReadBytes(File("WX-DATA.txt"));
    EXPECT_NE(record.find("270/011g018t070r000p006P008h65b10132\r\n"), std::string::npos) << record;
}

}  // namespace
}  // namespace kobrant
