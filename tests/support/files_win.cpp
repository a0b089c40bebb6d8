#include "support/files.h"

#include "driver/wine.h"
#include "host/win32.h"

namespace kobrant::test {

std::string Eol() { return "\r\n"; }
bool OutputReplacesFile() { return false; }
std::string FolderSeparator() { return "\\"; }

ReadOnlyFile::ReadOnlyFile(std::string name) : name_(std::move(name)) {
    made_ = SetFileAttributesA(name_.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
    if (!made_) why_ = "SetFileAttributesA failed with " + std::to_string(GetLastError());
}

ReadOnlyFile::~ReadOnlyFile() { SetFileAttributesA(name_.c_str(), FILE_ATTRIBUTE_NORMAL); }

std::string MakeHiddenFile(const TestDirectory& directory, std::string_view bytes) {
    const std::string name = directory.File("hidden.txt");
    WriteBytes(name, bytes);
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return name;
}

OtherOpener::OtherOpener(const std::string& name) {
    const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<long long>(handle);
}

OtherOpener::~OtherOpener() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool MakeForeignLink(const std::string&, const std::string&) { return false; }

bool RunningUnderWine() { return kobrant::RunningUnderWine(); }

bool RunningAsUnixRoot() {
    char user[256];
    DWORD size = sizeof user;
    return RunningUnderWine() && GetUserNameA(user, &size) && std::string(user) == "root";
}

}  // namespace kobrant::test
