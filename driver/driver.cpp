#include "driver/driver.h"

#include "driver/wine.h"

#include <cstdio>

namespace kobrant::driver {
namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kAnswerTimeoutMs = 1000;

struct WindowSearch {
    DWORD processId;
    std::string_view className;
    std::string_view caption;
    bool shownOnly = false;  // visible windows, read without a message (WaitUntilShown)
    HWND found = nullptr;
};

// A window's caption comes from the window itself (WM_GETTEXT), so a window is found
// once its thread answers; or, for shownOnly, from the system (GetWindowTextA of another
// process's window), so that looking does not slow down what is looked at.
BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || (search.shownOnly && !IsWindowVisible(window))) return TRUE;
    if (ClassName(window) != search.className) return TRUE;
    char caption[256] = {};
    if (search.shownOnly) GetWindowTextA(window, caption, sizeof caption);
    if ((search.shownOnly ? std::string_view(caption) : WindowText(window)) != search.caption) return TRUE;
    search.found = window;
    return FALSE;
}

struct ChildSearch {
    HWND parent;
    std::string_view className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<ChildSearch*>(lParam);
    // EnumChildWindows goes down every level; only the direct children count here.
    if (GetParent(window) != search.parent) return TRUE;
    if (search.className.empty() || ClassName(window) == search.className) search.found.push_back(window);
    return TRUE;
}

bool Ended(const Program& program) { return WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0; }

bool CreateProgramProcess(const std::string& exePath, const std::string& workingFolder, PROCESS_INFORMATION& info) {
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.c_str(), &startup, &info) != FALSE;
}

}  // namespace

Program::~Program() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
}

bool StartProgram(const std::string& exePath, const std::string& workingFolder, Program& program,
                  std::string& why) {
    bool started = CreateProgramProcess(exePath, workingFolder, program.info_);
    // Wine, not Windows: a new process that ends while Wine is still setting it up is
    // reported as ERROR_INTERNAL_ERROR (seen on a freshly made prefix, once in a few
    // runs); the same start made again works.
    if (!started && GetLastError() == ERROR_INTERNAL_ERROR && RunningUnderWine()) {
        started = CreateProgramProcess(exePath, workingFolder, program.info_);
    }
    if (!started) {
        why = "CreateProcessA(" + exePath + ", in " + workingFolder + ") failed with " +
              std::to_string(GetLastError());
        program.info_ = {};
        return false;
    }
    return true;
}

HWND FindProcessWindow(DWORD processId, std::string_view className, std::string_view caption) {
    WindowSearch search{processId, className, caption};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessWindow(const Program& program, std::string_view className, std::string_view caption,
                          DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = FindProcessWindow(program.Id(), className, caption)) return window;
        if (Ended(program) || GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMs);
    }
}

HWND WaitUntilShown(const Program& program, std::string_view className, std::string_view caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    WindowSearch search{program.Id(), className, caption, true};
    for (;;) {
        if (search.found == nullptr) EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr && Painted(search.found)) return search.found;
        if (Ended(program) || GetTickCount64() >= deadline) return nullptr;
        Sleep(1);
    }
}

bool Painted(HWND window) {
    for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child != nullptr;
         child = GetWindow(child, GW_HWNDPREV)) {
        if (GetUpdateRect(child, nullptr, FALSE)) return false;
    }
    return !GetUpdateRect(window, nullptr, FALSE);
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) {
        return "";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        return "";
    }
    text.resize(copied < length ? copied : length);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::vector<HWND> ChildWindows(HWND parent, std::string_view className) {
    ChildSearch search{parent, className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string MessageBoxText(HWND box) {
    if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
    std::string longest;
    for (HWND label : ChildWindows(box, "Static")) {
        std::string text = WindowText(label);
        if (text.size() > longest.size()) longest = std::move(text);
    }
    return longest;
}

bool PressButton(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (button == nullptr) return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool Click(HWND window, int x, int y) {
    const LPARAM where = MAKELPARAM(x, y);
    return PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where) && PostMessageA(window, WM_LBUTTONUP, 0, where);
}

bool TypeChars(HWND control, std::string_view chars) {
    for (char c : chars) {
        if (!PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1)) return false;
    }
    return true;
}

bool PressKey(HWND control, UINT virtualKey) {
    // lParam: repeat count 1; the key-up also has the previous-state and transition bits.
    return PostMessageA(control, WM_KEYDOWN, virtualKey, 1) &&
           PostMessageA(control, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

bool PressCloseBox(HWND window) { return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != 0; }

bool Settle(HWND pushButton, DWORD timeoutMs) {
    if (!PostMessageA(pushButton, BM_SETSTATE, TRUE, 0)) return false;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        DWORD_PTR state = 0;
        if (SendMessageTimeoutA(pushButton, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &state) &&
            (state & BST_PUSHED) != 0) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(pushButton, BM_SETSTATE, FALSE, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
            return true;
        }
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs / 4);
    }
}

bool SetText(HWND control, std::string_view text) {
    const std::string withZero(text);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(withZero.c_str()), SMTO_ABORTIFHUNG,
                               kAnswerTimeoutMs, &result) &&
           result != 0;
}

ThreadFocus FocusOfThread(HWND anyWindowOfThread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info)) return {};
    return {info.hwndFocus, info.hwndActive};
}

POINT ClientCorner(HWND window) {
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    return corner;
}

COLORREF ScreenPixel(POINT where) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, where.x, where.y);
    ReleaseDC(nullptr, screen);
    return color;
}

bool WaitForExit(Program& program, DWORD timeoutMs, DWORD& exitCode) {
    if (WaitForSingleObject(program.Process(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(program.Process(), 1);
        WaitForSingleObject(program.Process(), 5000);
        return false;
    }
    return GetExitCodeProcess(program.Process(), &exitCode) != 0;
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    // Until nothing comes: files under Wine's /proc report a size of 0.
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string RecordTimestamp(const SYSTEMTIME& time) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char line[32];
    std::snprintf(line, sizeof line, "%s %02u %04u %02u:%02u", kMonths[time.wMonth - 1], time.wDay,
                  time.wYear, time.wHour, time.wMinute);
    return line;
}

std::vector<std::string> FolderEntries(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace kobrant::driver
