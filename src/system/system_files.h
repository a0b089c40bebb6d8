#pragma once
// The system calls under the file layer: the one place where files meet the operating
// system. Two implementations: system_files_win.cpp (Win32, the Windows program's) and
// system_files_posix.cpp (Linux, the terminal program's).
//
// Every call answers with a system error number in Windows terms (0 = success, 2 file
// not found, 3 path not found, 5 access denied, 32 sharing violation, 112 disk full,
// ...); the POSIX side translates errno into these, so the file layer maps one set of
// numbers to its codes (error_codes.h).
//
// Windows: every call runs with the critical-error and open-file error boxes
// suppressed, the thread's last-error value cleared before and read after, the
// previous error mode restored and the floating-point state set again afterwards.
//
// The two sides write text files differently, as each system's programs do:
// - Lines end with CR LF on Windows, with LF alone on Linux (SystemLineEnd).
// - Windows writes an output file in place: it is emptied at the open and every write
//   lands in it at once, so a reader may find it empty or half-written meanwhile.
//   Linux replaces it whole: the bytes go to a new file of its own beside it (made
//   exclusively, without a name where the file system allows, otherwise under a name
//   nobody can predict: ".WX-DATA.txt.<16 hex digits>.tmp"), which is flushed to the
//   disk and put in the old file's place when it is closed, the folder flushed after.
//   A reader finds the old file or the new one, never a missing, empty or partial one,
//   also after a power cut. When any call on the new file fails, the close discards it
//   and the old file stays; the close then answers that call's error again.
//
// POSIX, where the folder may be shared with other users:
// - A name is used as it is: a backslash is a letter. The file layer joins a folder and
//   a name with "/" there (SystemFolderSeparator).
// - Everything is opened relative to the folder of the name, opened once per call
//   (O_DIRECTORY); nothing found in it is trusted:
//   - A link in place of the file (and each link it leads to) is followed only when the
//     effective user or root owns it (the rule of the kernel's protected_symlinks in
//     sticky folders); another user's link is neither read nor written through:
//     kSystemForeignLink. An output file's link stays; the file it names is replaced.
//   - Every open is non-blocking and looks at what it opened before using it: only
//     regular files are read or written; a directory gives 5 (as on Windows), a FIFO,
//     device or socket kSystemNotAFile, at once, never waited on.
//   - A file longer than kSystemMostBytesRead is not read: kSystemFileTooLong.
//   - The replacement keeps the old file's mode (without setuid, setgid and sticky
//     bits) and its group where the user may set it; its owner only when run as root.
//   - Leftovers of an earlier run (a power cut, a kill) are never put in place: at an
//     open for output, the program's own temporary files of that name (its pattern,
//     regular files of the effective user with one link) are removed; anything else
//     of such a name (another user's, a directory, a link) is left and doesn't matter.
//   - Once the new file has taken the old one's place it counts as written; a failing
//     folder flush after that is kSystemWrittenNotFlushed.
// - Opening without sharing is an exclusive flock() taken right after open(); flock
//   locks belong to the open file description, so a second opener in the same process
//   is refused too (system error 32). Other programs are refused only if they lock too.
// - Opening for output locks the old file, if there is one, for as long as the new one
//   is written: a file that another opener holds is refused and never replaced. Where
//   there was no old file, the new one is linked in only if the name is still free at
//   the close: of two programs writing a new file at once the second is refused (32).
// - Calls interrupted by a signal are retried only while no stop has been asked for
//   (stop_request.h); then they give up with kSystemStopped.
// - Handles are opened close-on-exec: the program starts no child processes, so the
//   Windows side's inheritable handles are not imitated.
// - Only regular files are disk files. Attributes in enumeration are made up: a name
//   beginning with "." is hidden, a directory is a directory, and anything that is
//   neither a regular file nor a directory (device, pipe, socket, link) counts as a
//   system file, so that the file layer never deletes it.
// - Names match patterns byte for byte (case-sensitive, as the file system is).
//
// On both sides a name holding a NUL byte is refused with system error 123 (invalid
// name): the system would stop reading the name at the NUL and find another file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system/sequential_files.h"

namespace kobrant {

using SystemError = std::uint32_t;  // a Windows system error number; 0 = success

// An open file: a HANDLE on Windows; on POSIX a descriptor with what its close needs (the
// folder, the replacement, the old file). Made by SystemOpen, freed by SystemClose.
struct SystemFile;
using SystemHandle = SystemFile*;
inline constexpr SystemHandle kNoHandle = nullptr;

inline constexpr SystemError kSystemInvalidName = 123;
// POSIX only, each in Windows' numbering for the nearest failure:
inline constexpr SystemError kSystemNotAFile = system_error::kNotAFile;        // ERROR_BAD_FILE_TYPE
inline constexpr SystemError kSystemFileTooLong = system_error::kTooLong;      // ERROR_FILE_TOO_LARGE
inline constexpr SystemError kSystemStopped = system_error::kStopped;          // ERROR_OPERATION_ABORTED
inline constexpr SystemError kSystemForeignLink = system_error::kForeignLink;  // ERROR_CANT_RESOLVE_FILENAME
// Not a failure: the file is in place, but the folder could not be flushed after.
inline constexpr SystemError kSystemWrittenNotFlushed = 0xE0000001;

inline constexpr std::uint32_t kSystemMostBytesRead = 1024 * 1024;  // POSIX

// What an open is for. kNewOutput is output that must not replace a file standing at
// the name (start-up's default settings): Windows opens it as kOutput; POSIX refuses
// it with 80 (file exists) when the name is taken, and at the close when it has been
// taken meanwhile (32).
enum class OpenPurpose { kInput, kOutput, kNewOutput };

// The bytes that end a line: "\r\n" on Windows, "\n" on Linux.
std::string_view SystemLineEnd();

// What joins a folder and a name: "\" on Windows, "/" on Linux.
std::string_view SystemFolderSeparator();

// Whether output replaces a file whole at its close (Linux) rather than writing into it
// from the open on (Windows).
bool SystemOutputReplacesFile();

// Opens an existing file for reading (input) or opens a file, creating it when it is
// missing, for writing (output), without sharing. The file is not emptied here (on
// Linux the temporary file that will replace it is new or emptied).
//   SystemOpen("C:\missing.txt", kInput, h)      -> 2, h == kNoHandle
//   SystemOpen("C:\no-such-dir\x.txt", kInput, h) -> 3
//   SystemOpen(name held open elsewhere, ..., h)  -> 32
//   SystemOpen(a FIFO, kInput, h)                -> 222 (POSIX), at once
SystemError SystemOpen(std::string_view name, OpenPurpose purpose, SystemHandle& handle);

// True for a disk file; false for a device or pipe, or when the system can't tell.
bool SystemIsDiskFile(SystemHandle handle);

SystemError SystemSetPosition(SystemHandle handle, std::uint32_t offset);  // from the start
SystemError SystemCutAtPosition(SystemHandle handle);  // the file ends at its position

// One read of at most size bytes; count = 0 with 0 returned is the end of the file.
SystemError SystemRead(SystemHandle handle, char* buffer, std::uint32_t size, std::uint32_t& count);

// One write; written < size with 0 returned is a write the system took only in part.
SystemError SystemWrite(SystemHandle handle, const char* bytes, std::uint32_t size,
                        std::uint32_t& written);

// Closes the handle and frees it; on Linux an output file's replacement takes the old
// file's place here (or is discarded, see above), and this answers whether it did.
SystemError SystemClose(SystemHandle handle);

// File attributes as the enumeration reports them (the Windows bits).
namespace file_attribute {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kVolumeLabel = 0x08;
inline constexpr std::uint32_t kDirectory = 0x10;
}  // namespace file_attribute

struct FoundFile {
    std::string path;          // the pattern's directory part followed by the found name
    std::uint32_t attributes;  // file_attribute bits
};

// Every entry whose name matches the last part of pattern ("*" any run of characters,
// "?" one character, "*.*" every name) in the directory the pattern names. No match at
// all gives system error 2 (or 3 when the directory is missing) and no entries.
//   SystemFindFiles("C:\d\*.*", found)       -> 0, every entry of C:\d
//   SystemFindFiles("C:\d\missing.txt", f)   -> 2
SystemError SystemFindFiles(std::string_view pattern, std::vector<FoundFile>& found);

//   SystemDelete(name of a file held open elsewhere) -> 32, the file stays
SystemError SystemDelete(std::string_view name);

}  // namespace kobrant
