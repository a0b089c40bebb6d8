#pragma once
// Whether this Windows program runs under Wine, for the code around the tests that
// must tell Wine's behaviour from Windows': Wine's ntdll exports wine_get_version,
// Windows' does not.

#include "host/win32.h"

namespace kobrant {

inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace kobrant
