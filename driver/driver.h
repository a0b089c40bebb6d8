#pragma once
// A small driver for end-to-end tests of the real kobrant.exe: it starts the program
// in a folder, finds the program's windows by class and caption, reads their texts,
// presses their buttons and waits for the process to end, as an operator would. Plain
// functions over Win32; every wait has a timeout, and a program still running when its
// Program object goes is ended, so that no test leaves a window nobody answers.
//
//   driver::Program program;
//   driver::StartProgram(exe, folder, program, why);
//   HWND box = driver::WaitForProcessWindow(program, "#32770", "Caption", 20000);
//   driver::MessageBoxText(box);           // -> the box's text
//   driver::PressButton(box, IDOK);
//   driver::WaitForExit(program, 10000, exitCode);

#include "host/win32.h"

#include <string>
#include <string_view>
#include <vector>

#include "driver/wine.h"  // WindowsPath, RunningUnderWine
#include "entry/window_names.h"  // the captions and control ids of kobrant.exe's windows

namespace kobrant::driver {

// The class name of dialog windows, message boxes included.
inline constexpr std::string_view kDialogClass = "#32770";

// How long the tests wait for a window (a cold Wine start can take seconds) and for the
// program to end once its dialog is closed.
inline constexpr DWORD kWindowTimeoutMs = 20000;
inline constexpr DWORD kExitTimeoutMs = 10000;

// A started program: its process and main thread handles. Ending the object ends the
// program if it still runs.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

private:
    friend bool StartProgram(const std::string&, const std::string&, Program&, std::string&);
    PROCESS_INFORMATION info_{};
};

// Starts exePath without arguments, with workingFolder as its current directory. On
// failure returns false and says why.
bool StartProgram(const std::string& exePath, const std::string& workingFolder, Program& program,
                  std::string& why);

// The first top-level window of the process with this class and caption; nullptr
// when there is none.
HWND FindProcessWindow(DWORD processId, std::string_view className, std::string_view caption);

// Looks for the window every 20 ms until it is there, the process has ended or the
// time is up (nullptr for both).
HWND WaitForProcessWindow(const Program& program, std::string_view className, std::string_view caption,
                          DWORD timeoutMs);

// Polls every millisecond (as close as Sleep(1) comes) until the process shows a window
// with this class and caption, visible and painted whole; nullptr when the process ends
// first or the time is up. Looking sends the process no message: for timing a start.
HWND WaitUntilShown(const Program& program, std::string_view className, std::string_view caption, DWORD timeoutMs);

// Whether the window and all its child windows are painted: none has an update region
// left. The children are looked at from the last one painted (the bottom of the
// z-order) up, so that while painting goes on a look costs one or two calls.
bool Painted(HWND window);

// The text of a window of any process (WM_GETTEXT, answered within a second); "" when
// it has none or does not answer.
std::string WindowText(HWND window);
std::string ClassName(HWND window);

// The child windows of parent with this class (all of them for an empty class name).
std::vector<HWND> ChildWindows(HWND parent, std::string_view className = {});

// The text a message box shows: its static text control (id 0xFFFF on Windows and on
// Wine), else the longest text of its static controls.
std::string MessageBoxText(HWND box);

// Presses a dialog's button as a click does: the dialog gets WM_COMMAND with the
// button's id, BN_CLICKED and the button's window. Posted, so that a dialog that
// blocks afterwards does not block the test. False when the button is not there.
bool PressButton(HWND dialog, int buttonId);

// Operator's actions on a window of another process. Each is posted, as the system
// posts input, so it takes its turn in the program's queue behind everything posted
// before it; Settle tells when the program has got through them.
// A click of the left mouse button at x, y of the window's client area.
bool Click(HWND window, int x, int y);
// Characters typed into the focused control: WM_CHAR each, as TranslateMessage makes
// them from the keys. The control's input limit applies (WM_SETTEXT bypasses it).
bool TypeChars(HWND control, std::string_view chars);
// A key pressed and let go: WM_KEYDOWN then WM_KEYUP of the virtual key.
bool PressKey(HWND control, UINT virtualKey);
// The close box, Close on the system menu or Alt+F4: WM_SYSCOMMAND SC_CLOSE.
bool PressCloseBox(HWND window);

// Waits until the program has handled everything posted to its windows before this
// call (false after the time is up). It posts BM_SETSTATE to one of the program's push
// buttons, which only highlights it, and waits until the button shows it; the
// highlight is taken back at once. Posted messages of one thread are handled in the
// order they came, so everything posted earlier has been handled by then, and what
// the program handled meanwhile (a dialog's command and all it did) has ended.
bool Settle(HWND pushButton, DWORD timeoutMs = 5000);

// A whole value put into a control at once (WM_SETTEXT), as when the operator pastes
// it over the old one: the control's input limit does not apply.
bool SetText(HWND control, std::string_view text);

// Which window of the thread has the keyboard focus and which is active (the thread
// of a window of another process, through GetGUIThreadInfo).
struct ThreadFocus {
    HWND focus = nullptr;
    HWND active = nullptr;
};
ThreadFocus FocusOfThread(HWND anyWindowOfThread);

// The top-left corner of the window's client area, in screen pixels.
POINT ClientCorner(HWND window);

// The colour of a screen pixel as the screen shows it now (CLR_INVALID outside).
COLORREF ScreenPixel(POINT where);

// Waits for the program to end and gives its exit code. When the time is up, the
// program is ended and false returned.
bool WaitForExit(Program& program, DWORD timeoutMs, DWORD& exitCode);

// The bytes of a file, read through the ANSI file functions as the program reads its own,
// sharing it with whoever has it open; "" when it cannot be opened.
std::string ReadWholeFile(const std::string& path);

// The timestamp line the weather record holds for this moment of the local clock, as
// the tests expect it ("Mai" for May): a 14:05 on 6 December 2026 gives
// "Dec 06 2026 14:05".
std::string RecordTimestamp(const SYSTEMTIME& time);

// The names that match a FindFirstFileA pattern ("C:\\dir\\*" gives every entry of the
// folder), without "." and ".."; none when nothing matches.
std::vector<std::string> FolderEntries(const std::string& pattern);

}  // namespace kobrant::driver
