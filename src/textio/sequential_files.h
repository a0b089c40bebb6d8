#pragma once
// Sequential text files: the file layer through which the settings file and the weather
// record are opened, written item by item or line by line, read back item by item,
// deleted and closed.
//
// Open files are known by a small file number that the caller chooses (the settings
// file uses 1, the record file 2); the table of open files is process-wide. No
// operation stops its caller: a failing operation stores its error code in the
// caller's FileError and returns, and the caller's next operation runs regardless.
// Files are opened without sharing (no second opener, this process included) and
// written without buffering: every write operation is handed to the system at once.

#include <cstdint>
#include <string>
#include <string_view>

namespace kobrant {

// The error state of one procedure that uses the file layer (start-up, one "Enter"
// handling). It starts at 0 when the procedure begins; every failing operation stores
// its code; a successful operation leaves it unchanged, so it holds the code of the
// last failure since the procedure began.
struct FileError {
    std::uint8_t code = 0;
};

// The codes that the operations store.
namespace file_error {
inline constexpr std::uint8_t kBadArgument = 5;        // system error 87
inline constexpr std::uint8_t kOutOfMemory = 7;
inline constexpr std::uint8_t kInternal = 51;
inline constexpr std::uint8_t kNotOpen = 52;           // or a negative file number at open
inline constexpr std::uint8_t kFileNotFound = 53;
inline constexpr std::uint8_t kWrongMode = 54;
inline constexpr std::uint8_t kAlreadyOpen = 55;
inline constexpr std::uint8_t kShortDeviceWrite = 57;
inline constexpr std::uint8_t kDiskFull = 61;
inline constexpr std::uint8_t kPastEnd = 62;
inline constexpr std::uint8_t kBadFileName = 64;
inline constexpr std::uint8_t kTooManyFiles = 67;
inline constexpr std::uint8_t kDeviceUnavailable = 68;
inline constexpr std::uint8_t kPermissionDenied = 70;
inline constexpr std::uint8_t kDriveNotReady = 71;
inline constexpr std::uint8_t kMediaError = 72;
inline constexpr std::uint8_t kDifferentDevice = 74;
inline constexpr std::uint8_t kPathFileAccess = 75;
inline constexpr std::uint8_t kPathNotFound = 76;
inline constexpr std::uint8_t kInternalSystem = 241;
}  // namespace file_error

void OpenForInput(std::string_view name, int fileNumber, FileError& error);
void OpenForOutput(std::string_view name, int fileNumber, FileError& error);

void WriteQuotedText(int fileNumber, std::string_view text, FileError& error);
void WriteSeparator(int fileNumber, FileError& error);
void WriteNumber(int fileNumber, long double value, FileError& error);
void WriteText(int fileNumber, std::string_view text, FileError& error);
void EndLine(int fileNumber, FileError& error);

std::string ReadTextItem(int fileNumber, FileError& error);
long double ReadNumberItem(int fileNumber, FileError& error);

void CloseFile(int fileNumber, FileError& error);
void CloseAllFiles(FileError& error);
void DeleteFiles(std::string_view pattern, FileError& error);

std::uint8_t ErrorCode(const FileError& error);

}  // namespace kobrant
