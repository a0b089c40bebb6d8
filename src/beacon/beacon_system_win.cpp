#include "beacon/beacon_system.h"

#include <windows.h>

namespace kobrant {

RecordFileRead ReadRecordFile(const std::string& path, std::size_t limit, std::string& text, int& systemError) {
    // No error box for a drive without a medium; the old mode comes back after.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Sharing read and write (and delete): the beacon must never stand in the writer's
    // way. The writer holds the file without sharing while it writes, so then the open
    // fails with a sharing violation.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    RecordFileRead read = RecordFileRead::kRead;
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        systemError = static_cast<int>(error);
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            read = RecordFileRead::kMissing;
        } else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            read = RecordFileRead::kHeld;
        } else if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            read = RecordFileRead::kNotRegular;  // a folder of the name: access denied
        } else {
            read = RecordFileRead::kUnreadable;
        }
    } else if (GetFileType(file) != FILE_TYPE_DISK) {
        read = RecordFileRead::kNotRegular;
    } else {
        text.assign(limit + 1, '\0');
        std::size_t got = 0;
        while (got < text.size()) {
            DWORD n = 0;
            if (!ReadFile(file, text.data() + got, static_cast<DWORD>(text.size() - got), &n, nullptr)) {
                systemError = static_cast<int>(GetLastError());
                read = RecordFileRead::kUnreadable;
                break;
            }
            if (n == 0) break;
            got += n;
        }
        text.resize(got);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    SetErrorMode(oldMode);
    return read;
}

bool LocalToUtc(const ClockReading& local, std::int64_t& utc) {
    SYSTEMTIME localTime{};
    localTime.wYear = static_cast<WORD>(local.year);
    localTime.wMonth = static_cast<WORD>(local.month);
    localTime.wDay = static_cast<WORD>(local.day);
    localTime.wHour = static_cast<WORD>(local.hour);
    localTime.wMinute = static_cast<WORD>(local.minute);
    localTime.wSecond = static_cast<WORD>(local.second);
    SYSTEMTIME utcTime{};
    FILETIME fileTime{};
    // The zone set in the system (nullptr), with its summer time rules for that year.
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utcTime) ||
        !SystemTimeToFileTime(&utcTime, &fileTime)) {
        return false;
    }
    // 100-ns steps since 1601-01-01; 11644473600 s lie between 1601 and 1970.
    const std::uint64_t steps = (std::uint64_t{fileTime.dwHighDateTime} << 32) | fileTime.dwLowDateTime;
    utc = static_cast<std::int64_t>(steps / 10000000) - 11644473600;
    return true;
}

char FolderSeparator() { return '\\'; }

}  // namespace kobrant
