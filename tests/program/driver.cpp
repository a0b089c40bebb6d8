#include "driver.h"

namespace kobrant::driver {
namespace {

constexpr DWORD kPollMs = 20;
constexpr UINT kAnswerTimeoutMs = 1000;

struct WindowSearch {
    DWORD processId;
    std::string_view className;
    std::string_view caption;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId) return TRUE;
    if (ClassName(window) != search.className || WindowText(window) != search.caption) return TRUE;
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
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &program.info_)) {
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

bool WaitForExit(Program& program, DWORD timeoutMs, DWORD& exitCode) {
    if (WaitForSingleObject(program.Process(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(program.Process(), 1);
        WaitForSingleObject(program.Process(), 5000);
        return false;
    }
    return GetExitCodeProcess(program.Process(), &exitCode) != 0;
}

std::string WindowsPath(std::string_view path) {
    if (path.empty() || path.front() != '/') return std::string(path);
    std::string windows = "Z:";
    for (char c : path) windows += c == '/' ? '\\' : c;
    return windows;
}

}  // namespace kobrant::driver
