#pragma once
// The Win32 API as the project includes it: without the min and max macros and the
// rarely used parts (NOMINMAX and WIN32_LEAN_AND_MEAN, which the build defines for
// every Windows file: cmake/compiler-options.cmake).

#include <windows.h>
