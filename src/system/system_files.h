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
//   Linux replaces it whole: the bytes go to a temporary file beside it
//   (SystemReplacementName), which is flushed to the disk and renamed over the old file
//   when it is closed, the folder flushed after. A reader finds the old file or the new
//   one, never a missing, empty or partial one, also after a power cut. When any call
//   on the temporary file fails, the close removes it and the old file stays; the close
//   then answers that call's error again. A device or pipe of the name is written as
//   it is, and a link's final file is the one replaced, keeping its mode.
//
// POSIX:
// - A backslash in a name is a path separator: the program builds its paths as
//   directory + "\kobrant.ctl", so "\" becomes "/" before the name reaches the system.
// - Opening without sharing is an exclusive flock() taken right after open(); flock
//   locks belong to the open file description, so a second opener in the same process
//   is refused too (system error 32). Other programs are refused only if they lock too.
// - Opening for output locks the old file, if there is one, for as long as the new one
//   is written: a file that another opener holds is refused and never replaced. The
//   temporary file is locked too, so that two programs writing the same file at once
//   can't mix their bytes: the second is refused (32) until the first has closed.
// - Handles are opened close-on-exec: the program starts no child processes, so the
//   Windows side's inheritable handles are not imitated.
// - Only regular files are disk files. Attributes in enumeration are made up: a name
//   beginning with "." is hidden, a directory is a directory, and anything that is
//   neither a regular file nor a directory (device, pipe, socket) counts as a system
//   file, so that the file layer never deletes it.
// - Names match patterns byte for byte (case-sensitive, as the file system is).
//
// On both sides a name holding a NUL byte is refused with system error 123 (invalid
// name): the system would stop reading the name at the NUL and find another file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kobrant {

using SystemError = std::uint32_t;     // a Windows system error number; 0 = success
using SystemHandle = std::intptr_t;    // a HANDLE on Windows, a descriptor on POSIX
inline constexpr SystemHandle kNoHandle = -1;

inline constexpr SystemError kSystemInvalidName = 123;

enum class OpenPurpose { kInput, kOutput };

// The bytes that end a line: "\r\n" on Windows, "\n" on Linux.
std::string_view SystemLineEnd();

// Whether output replaces a file whole at its close (Linux) rather than writing into it
// from the open on (Windows), and where an output file's bytes are until it is closed.
//   SystemReplacementName("/wx/WX-DATA.txt") -> "/wx/.WX-DATA.txt.tmp"  (Linux)
//   SystemReplacementName("C:\wx\WX-DATA.txt") -> "C:\wx\WX-DATA.txt"   (Windows)
bool SystemOutputReplacesFile();
std::string SystemReplacementName(std::string_view name);

// The name as the system takes it, for showing to the operator: Windows keeps it as it
// is; Linux turns every "\" into "/".
//   SystemPathName("/srv/wx\WX-DATA.txt") -> "/srv/wx/WX-DATA.txt"  (Linux)
std::string SystemPathName(std::string_view name);

// Opens an existing file for reading (input) or opens a file, creating it when it is
// missing, for writing (output), without sharing. The file is not emptied here (on
// Linux the temporary file that will replace it is new or emptied).
//   SystemOpen("C:\missing.txt", kInput, h)      -> 2, h == kNoHandle
//   SystemOpen("C:\no-such-dir\x.txt", kInput, h) -> 3
//   SystemOpen(name held open elsewhere, ..., h)  -> 32
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

// Closes the handle; on Linux an output file's replacement takes the old file's place
// here (or is discarded, see above), and this answers whether it did.
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
