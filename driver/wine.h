#pragma once
// Wine as a Windows program meets it, for the code around the tests and the benchmark:
// whether it runs under Wine (Wine's ntdll exports wine_get_version, Windows' does not),
// which Wine, and the one mapping of Linux paths to Wine's drive Z:, which maps the
// Linux root. Everything that hands a Windows program a Linux path (CTest, tools/bench)
// hands it as it is, and the program maps it here.
//
//   WineVersion()                -> "8.0" under Wine 8.0; nullptr on Windows
//   RunningUnderWine()           -> WineVersion() != nullptr
//   WindowsPath("/work/x/a.exe") -> "Z:\work\x\a.exe"
//   WindowsPath("C:\\x")         -> "C:\x" (anything but a Linux path stays as it is)

#include "host/win32.h"

#include <string>
#include <string_view>

namespace kobrant {

inline const char* WineVersion() {
    using VersionFunction = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const FARPROC function = ntdll != nullptr ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    return function != nullptr ? reinterpret_cast<VersionFunction>(reinterpret_cast<void*>(function))() : nullptr;
}

inline bool RunningUnderWine() { return WineVersion() != nullptr; }

inline std::string WindowsPath(std::string_view path) {
    if (path.empty() || path.front() != '/') return std::string(path);
    std::string windows = "Z:";
    for (char c : path) windows += c == '/' ? '\\' : c;
    return windows;
}

}  // namespace kobrant
