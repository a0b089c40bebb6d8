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
// Text files are written as the system's programs write them (system_files.h): on
// Windows each line ends with CR LF and an output file is written in place; on Linux
// each line ends with LF and an output file replaces the old one whole when it is
// closed, so that a reader never finds it missing or partial. Either line end reads.
//
// File numbers are 0 to 32767. File names go to the system whole, never shortened; the
// system's own limits decide about long names. A folder and a name are joined with
// FileInFolder: "\" on Windows, "/" on Linux, where a "\" is a letter of a name.
// On Linux nothing found in the folder is trusted: another user's link, a FIFO, device
// or directory in a file's place, a file over 1 MiB to read, and leftovers of earlier
// runs are refused or passed over (system_files.h tells how, and which codes result).

#include <cstdint>
#include <string>
#include <string_view>

#include "numbers/extended.h"

namespace kobrant {

// The error state of one procedure that uses the file layer (start-up, one "Enter"
// handling). It starts at 0 when the procedure begins; every failing operation stores
// its code; a successful operation leaves it unchanged, so it holds the code of the
// last failure since the procedure began.
struct FileError {
    std::uint8_t code = 0;
    std::uint32_t systemError = 0;  // the system's own number behind the last code, if any
    bool notYetOnDisk = false;      // Linux: a file put in place whose folder flush failed
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

// The system errors behind a code (FileError::systemError) that a front end may name,
// in Windows' numbering; the Linux side gives them for what it refuses in a folder.
namespace system_error {
inline constexpr std::uint32_t kFileExists = 80;     // code 75: a new file's name is taken
inline constexpr std::uint32_t kNotAFile = 222;      // code 75: a FIFO, device or socket
inline constexpr std::uint32_t kTooLong = 223;       // code 75: over 1 MiB to read
inline constexpr std::uint32_t kStopped = 995;       // code 75: a stop was asked for
inline constexpr std::uint32_t kForeignLink = 1921;  // code 75: another user's link
}  // namespace system_error

// Opening. A bad name (empty, or holding "*", "?" or a NUL byte) gives 64; a negative
// number 52; a number already open 55, and the file open under it stays as it was. A
// failed open leaves nothing open under the number. Returns whether this open
// succeeded, whatever code an earlier operation left in error: after a failed open,
// nothing may be written to or closed under the number, which may name another file.
//   OpenForInput(missing file, 1, e)              -> false, e.code 53
//   OpenForInput(file in a missing directory, ..) -> 76
//   OpenForInput(file that another opener holds)  -> 70
//   OpenForOutput(existing 1000-byte file, 2, e)  -> open, the file now 0 bytes long
//   OpenForOutput(read-only file, 2, e)           -> 70, the file unchanged
bool OpenForInput(std::string_view name, int fileNumber, FileError& error);
bool OpenForOutput(std::string_view name, int fileNumber, FileError& error);

// Output that must not take the place of a file standing at the name. Windows: the
// same as OpenForOutput. Linux: 75 (system error 80) when the name is taken, and at
// the close 70 when it has been taken meanwhile.
bool OpenForNewOutput(std::string_view name, int fileNumber, FileError& error);

// The name of an entry in a folder.
//   FileInFolder("C:\wx", "WX-DATA.txt")        -> "C:\wx\WX-DATA.txt"  (Windows)
//   FileInFolder("/srv/a\b", "WX-DATA.txt")     -> "/srv/a\b/WX-DATA.txt" (Linux)
std::string FileInFolder(std::string_view folder, std::string_view name);

// Writing, each part at once in its own system write; nothing is added on its own
// accord. 52 when the number is not open, 54 when it is open for input; a write the
// system takes only in part gives 61 (disk file) or 57 (other). After a failed write
// the operation ends and what was written before stays in the file on Windows; on
// Linux the file is not replaced at all, and its close gives the code again.
//   WriteQuotedText(n, "a,b")  -> "a,b" with its quotes (3 writes; 2 for "")
//   WriteQuotedText(n, "say \"hi\"") -> the inner quotes as they are, not doubled
//   WriteSeparator(n)          -> ,
//   WriteNumber(n, FromInteger(5)) -> 5     WriteNumber(n, FromInteger(-12)) -> -12
//   WriteNumber(n, FromInteger(0)) -> 0
//   WriteText(n, "abc")        -> abc (no write for "")
//   EndLine(n)                 -> CR LF on Windows, LF on Linux (one write)
void WriteQuotedText(int fileNumber, std::string_view text, FileError& error);
void WriteSeparator(int fileNumber, FileError& error);
void WriteNumber(int fileNumber, Extended value, FileError& error);
void WriteText(int fileNumber, std::string_view text, FileError& error);
void EndLine(int fileNumber, FileError& error);

// Reading one item at a time through a 128-byte buffer. Blanks ahead of an item are
// skipped. A quoted text runs to the next quote, whatever lies between; an unquoted
// text to the next comma, CR or Ctrl-Z (TABs and LFs dropped, blanks kept); a number
// to the next comma, blank, CR or Ctrl-Z, at most 255 bytes, read by ParseNumber.
// Behind an item, blanks, TABs and LFs are skipped and one comma or CR LF is taken.
// An item that would begin at the end or at a Ctrl-Z gives "" or 0 and 62.
//   the line "ab,c" , x y ,z CR LF -> ReadTextItem: ab,c  then "x y "  then z
//   5,5 CR LF -> ReadNumberItem: 5, 5      5 5 -> 5, 5
//   an empty file -> ReadNumberItem: 0, e.code 62
// 52 when the number is not open, 54 when it is open for output.
std::string ReadTextItem(int fileNumber, FileError& error);
Extended ReadNumberItem(int fileNumber, FileError& error);

// Closing cuts an output disk file at its position and frees the number; on Linux an
// output file's replacement takes the old file's place here, and a failure of that
// (the old file stays) is the close's code; once in place the file counts as written,
// and a failing flush of its folder after that only sets error.notYetOnDisk. CloseFile of
// a number that is not open does nothing and leaves the error code alone;
// CloseAllFiles stores the code of the first close that fails.
void CloseFile(int fileNumber, FileError& error);
void CloseAllFiles(FileError& error);

// Deletes every plain file that the name or pattern ("*", "?"; a name ending in ":" or
// "\" (Linux: "/") gets "*.*") matches; hidden and system files, volume labels and directories are
// passed over. No match gives 53; a match that can't be deleted ends it with its code.
//   DeleteFiles(missing file)        -> 53
//   DeleteFiles(hidden file)         -> the file stays, no error
//   DeleteFiles(file held open)      -> 70, the file stays
void DeleteFiles(std::string_view pattern, FileError& error);

// Makes way for a file that is about to be written anew under the same name. Where
// output is written in place (Windows), the old file is deleted as DeleteFiles does;
// no file to delete is no failure. Where output replaces the old file at its close
// (Linux), nothing is done: the old file stays until the new one takes its place.
//   DeleteBeforeRewrite(missing file, e)  -> e.code unchanged
//   DeleteBeforeRewrite(file held open)   -> Windows: 70, the file stays; Linux: nothing
void DeleteBeforeRewrite(std::string_view name, FileError& error);

}  // namespace kobrant
