// The system-call seam on Windows: each call exactly as the file layer needs it,
// wrapped in the error-mode discipline of SystemCall. kNewOutput is opened as kOutput.

#include <windows.h>

#include "numbers/float_state.h"
#include "system/sequential_files_test_seam.h"
#include "system/system_files.h"

namespace kobrant {

struct SystemFile {
    HANDLE handle;
};

namespace {

// Runs one system call with the critical-error and open-file error boxes off, the
// last-error value cleared before and read into error after; then the previous error
// mode and the floating-point state (system DLLs may change the x87 control word) are
// set again.
template <typename Call>
auto SystemCall(SystemError& error, Call call) {
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetLastError(0);
    auto result = call();
    error = GetLastError();
    SetErrorMode(previousMode);
    SetFloatingPointState();
    return result;
}

// The calls other than CreateFileA and GetFileType are judged by the last-error value.
// A call that reports failure without setting one must not pass for a success.
SystemError Judged(BOOL succeeded, SystemError error) {
    if (!succeeded && error == 0) return ERROR_GEN_FAILURE;
    return error;
}

HANDLE AsHandle(SystemHandle handle) { return handle->handle; }

bool HoldsNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

// The directory part of a pattern: everything up to its last "\", "/" or ":".
std::string DirectoryPart(std::string_view pattern) {
    const std::size_t end = pattern.find_last_of("\\/:");
    return end == std::string_view::npos ? std::string() : std::string(pattern.substr(0, end + 1));
}

}  // namespace

std::string_view SystemLineEnd() { return "\r\n"; }

bool SystemOutputReplacesFile() { return false; }

void UseNamedReplacementFiles(bool) {}

std::string_view SystemFolderSeparator() { return "\\"; }

SystemError SystemOpen(std::string_view name, OpenPurpose purpose, SystemHandle& handle) {
    handle = kNoHandle;
    if (HoldsNul(name)) return kSystemInvalidName;
    const std::string terminated(name);
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const bool input = purpose == OpenPurpose::kInput;
    SystemError error = 0;
    const HANDLE opened = SystemCall(error, [&] {
        return CreateFileA(terminated.c_str(), input ? GENERIC_READ : GENERIC_WRITE, 0,
                           &inheritable, input ? OPEN_EXISTING : OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    });
    // Judged by the handle: a successful OPEN_ALWAYS of an existing file sets
    // ERROR_ALREADY_EXISTS.
    if (opened == INVALID_HANDLE_VALUE) return error != 0 ? error : ERROR_GEN_FAILURE;
    handle = new SystemFile{opened};
    return 0;
}

bool SystemIsDiskFile(SystemHandle handle) {
    SystemError error = 0;
    return SystemCall(error, [&] { return GetFileType(AsHandle(handle)); }) == FILE_TYPE_DISK;
}

SystemError SystemSetPosition(SystemHandle handle, std::uint32_t offset) {
    SystemError error = 0;
    // INVALID_SET_FILE_POINTER is also a valid low half of a position: only the
    // last-error value tells.
    SystemCall(error, [&] {
        return SetFilePointer(AsHandle(handle), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    });
    return error;
}

SystemError SystemCutAtPosition(SystemHandle handle) {
    SystemError error = 0;
    const BOOL ok = SystemCall(error, [&] { return SetEndOfFile(AsHandle(handle)); });
    return Judged(ok, error);
}

SystemError SystemRead(SystemHandle handle, char* buffer, std::uint32_t size, std::uint32_t& count) {
    DWORD got = 0;
    SystemError error = 0;
    const BOOL ok = SystemCall(error, [&] { return ReadFile(AsHandle(handle), buffer, size, &got, nullptr); });
    count = got;
    return Judged(ok, error);
}

SystemError SystemWrite(SystemHandle handle, const char* bytes, std::uint32_t size,
                        std::uint32_t& written) {
    DWORD put = 0;
    SystemError error = 0;
    const BOOL ok = SystemCall(error, [&] { return WriteFile(AsHandle(handle), bytes, size, &put, nullptr); });
    written = put;
    return Judged(ok, error);
}

SystemError SystemClose(SystemHandle handle) {
    SystemError error = 0;
    const BOOL ok = SystemCall(error, [&] { return CloseHandle(AsHandle(handle)); });
    delete handle;
    return Judged(ok, error);
}

SystemError SystemFindFiles(std::string_view pattern, std::vector<FoundFile>& found) {
    found.clear();
    if (HoldsNul(pattern)) return kSystemInvalidName;
    const std::string terminated(pattern);
    const std::string directory = DirectoryPart(pattern);
    WIN32_FIND_DATAA data;
    SystemError error = 0;
    const HANDLE search = SystemCall(error, [&] { return FindFirstFileA(terminated.c_str(), &data); });
    if (search == INVALID_HANDLE_VALUE) return error != 0 ? error : ERROR_FILE_NOT_FOUND;
    for (;;) {
        found.push_back({directory + data.cFileName, data.dwFileAttributes});
        const BOOL more = SystemCall(error, [&] { return FindNextFileA(search, &data); });
        if (!more) break;
    }
    // ERROR_NO_MORE_FILES is the normal end; any other failure ends the list early
    // and is reported along with what was found so far.
    const SystemError endError = error == ERROR_NO_MORE_FILES ? 0 : Judged(FALSE, error);
    SystemCall(error, [&] { return FindClose(search); });
    return endError;
}

SystemError SystemDelete(std::string_view name) {
    if (HoldsNul(name)) return kSystemInvalidName;
    const std::string terminated(name);
    SystemError error = 0;
    const BOOL ok = SystemCall(error, [&] { return DeleteFileA(terminated.c_str()); });
    return Judged(ok, error);
}

}  // namespace kobrant
