// The program's entry: start-up's steps in order. The program takes no arguments and
// ignores the show command.

#include "host/win32.h"

#include <objbase.h>

#include <cstdint>
#include <string>

#include "app/startup.h"
#include "entry/entry_dialog.h"
#include "station/program_values.h"
#include "numbers/float_state.h"

namespace kobrant {
namespace {

// GetCurrentDirectoryA under the rules of every file and directory call: no
// critical-error box, the error mode restored and the floating-point state set again.
std::uint32_t ReadCurrentDirectory(char* buffer, std::uint32_t size) {
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const DWORD result = GetCurrentDirectoryA(size, buffer);
    SetErrorMode(previousMode);
    SetFloatingPointState();
    return result;
}

// Tells the operator where the weather record lies; waits until the box is closed,
// whichever way. System DLLs may change the x87 control word meanwhile.
void ShowRecordPath(const std::string& recordPath) {
    MessageBoxA(nullptr, recordPath.c_str(), kRecordPathCaption, MB_OK);
    SetFloatingPointState();
}

int RunStartup() {
    const std::string startDirectory = CurrentDirectoryFrom(ReadCurrentDirectory);
    ShowRecordPath(RecordPathFor(startDirectory));  // before either file is touched

    ProgramValues values = LoadStartValues(startDirectory);

    ShowEntryDialog(nullptr, values);
    SetFloatingPointState();
    return 0;
}

}  // namespace
}  // namespace kobrant

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const bool comReady = SUCCEEDED(CoInitialize(nullptr));
    kobrant::SetFloatingPointState();
    const int exitCode = kobrant::RunStartup();
    if (comReady) CoUninitialize();
    return exitCode;
}
