// The system-call seam on POSIX: the Windows behaviour as far as POSIX can give it,
// with errno translated into Windows system error numbers, and text files written as
// Linux programs write them: LF line ends, output replacing a file whole (see
// system_files.h).

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>

#include "numbers/float_state.h"
#include "system/system_files.h"

namespace kobrant {
namespace {

// Windows system error numbers used below.
constexpr SystemError kInvalidFunction = 1;
constexpr SystemError kFileNotFound = 2;
constexpr SystemError kPathNotFound = 3;
constexpr SystemError kTooManyOpenFiles = 4;
constexpr SystemError kAccessDenied = 5;
constexpr SystemError kInvalidHandle = 6;
constexpr SystemError kNotEnoughMemory = 8;
constexpr SystemError kInvalidDrive = 15;
constexpr SystemError kNotSameDevice = 17;
constexpr SystemError kWriteProtect = 19;
constexpr SystemError kGeneralFailure = 31;
constexpr SystemError kSharingViolation = 32;
constexpr SystemError kFileExists = 80;
constexpr SystemError kInvalidParameter = 87;
constexpr SystemError kDiskFull = 112;
constexpr SystemError kDirectoryNotEmpty = 145;
constexpr SystemError kBusy = 170;
constexpr SystemError kFilenameTooLong = 206;
constexpr SystemError kCantResolveFilename = 1921;

// errno -> the Windows system error for the same failure. ENOENT is left to
// NotFoundError, which needs the name to tell a missing file from a missing directory.
SystemError FromErrno(int number) {
    switch (number) {
        case 0: return kGeneralFailure;  // a failure without a reason is still a failure
        case EPERM:
        case EACCES:
        case EISDIR: return kAccessDenied;
        case EROFS: return kWriteProtect;
        case ENOTDIR: return kPathNotFound;
        case EWOULDBLOCK:  // the exclusive lock is held by another opener
        case ETXTBSY: return kSharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return kDiskFull;
        case EMFILE:
        case ENFILE: return kTooManyOpenFiles;
        case ENOMEM: return kNotEnoughMemory;
        case EBADF: return kInvalidHandle;
        case EINVAL: return kInvalidParameter;
        case ENAMETOOLONG: return kFilenameTooLong;
        case ELOOP: return kCantResolveFilename;
        case EEXIST: return kFileExists;
        case ENOTEMPTY: return kDirectoryNotEmpty;
        case EBUSY: return kBusy;
        case EXDEV: return kNotSameDevice;
        case ENXIO:
        case ENODEV: return kInvalidDrive;
        case EIO: return kGeneralFailure;
        default: return kInvalidFunction;
    }
}

std::string DirectoryPart(const std::string& path) {
    const std::size_t end = path.rfind('/');
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// ENOENT on path: 3 when the directory the name lies in is missing, 2 otherwise.
SystemError NotFoundError(const std::string& path) {
    const std::string directory = DirectoryPart(path);
    if (directory.empty()) return kFileNotFound;
    struct stat info;
    if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return kPathNotFound;
    return kFileNotFound;
}

SystemError LastError(const std::string& path) {
    const int number = errno;
    return number == ENOENT ? NotFoundError(path) : FromErrno(number);
}

// The name as the system takes it: "\" is a path separator.
std::string SystemPath(std::string_view name) {
    std::string path(name);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

bool HoldsNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

// The last step of every call, as on Windows: system code may change the floating-point
// state.
template <typename T>
T Done(T result) {
    SetFloatingPointState();
    return result;
}

int Descriptor(SystemHandle handle) { return static_cast<int>(handle); }

// Takes the exclusive lock that stands for opening without sharing.
SystemError Lock(int descriptor) {
    while (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) return FromErrno(errno);
    }
    return 0;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Opens path and locks it; true once the lock is held on the file that path names
// still. A file that another opener renamed away between the open and the lock is let
// go and the open made again (as often as that keeps happening, a few times).
SystemError OpenLocked(const std::string& path, int flags, int& descriptor) {
    constexpr int kAttempts = 8;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        do {
            descriptor = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0666);
        } while (descriptor < 0 && errno == EINTR);
        if (descriptor < 0) return LastError(path);
        struct stat opened, named;
        SystemError error = Lock(descriptor);
        if (error == 0 && fstat(descriptor, &opened) != 0) error = FromErrno(errno);
        if (error == 0 && stat(path.c_str(), &named) == 0 && SameFile(opened, named)) return 0;
        close(descriptor);
        descriptor = -1;
        if (error != 0) return error;
    }
    return kSharingViolation;
}

// Wildcard match of one name: "*" any run of bytes, "?" one byte, everything else
// itself. As on Windows, "*.*" takes every name and "name.*" also takes "name".
bool Matches(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;
    std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    if (p == pattern.size()) return true;
    return pattern.substr(p) == ".*";
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

std::uint32_t AttributesOf(std::string_view name, const struct stat& info) {
    std::uint32_t attributes = 0;
    if (!name.empty() && name[0] == '.') attributes |= file_attribute::kHidden;
    if (S_ISDIR(info.st_mode)) {
        attributes |= file_attribute::kDirectory;
    } else if (!S_ISREG(info.st_mode)) {
        attributes |= file_attribute::kSystem;
    }
    return attributes;
}

// ---- output that replaces the file whole

// An output file being written as the replacement of target: the bytes go to the
// temporary file, which takes the target's place at the close.
struct Replacement {
    std::string target;     // the file replaced: a link's final file
    std::string temporary;  // beside it, see SystemReplacementName
    int oldFileLock = -1;   // the old file, held locked until it is replaced; -1 if none
    SystemError failure = 0;  // the first failed call on the temporary file
};

std::map<int, Replacement>& Replacements() {
    static std::map<int, Replacement> replacements;
    return replacements;
}

// The error, noted against the replacement written through handle (if it is one): a
// replacement with a failed call is discarded at its close.
SystemError Noted(SystemHandle handle, SystemError error) {
    auto found = Replacements().find(static_cast<int>(handle));
    if (error != 0 && found != Replacements().end() && found->second.failure == 0) {
        found->second.failure = error;
    }
    return error;
}

std::string TemporaryNameOf(const std::string& path) {
    const std::string directory = DirectoryPart(path);
    return directory + "." + path.substr(directory.size()) + ".tmp";
}

// The file a path finally names when it exists (links followed), the path otherwise.
std::string FinalPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string finalPath(resolved);
    std::free(resolved);
    return finalPath;
}

// Flushes the folder that holds path, so that a rename in it is on the disk. A file
// system that can't flush a folder (EINVAL) keeps renames in order without it.
SystemError FlushFolderOf(const std::string& path) {
    const std::string directory = DirectoryPart(path);
    const int folder = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return FromErrno(errno);
    const bool ok = fsync(folder) == 0 || errno == EINVAL;
    const SystemError error = ok ? 0 : FromErrno(errno);
    close(folder);
    return error;
}

// Opens the temporary file that will replace path, with the old file (info, when it
// exists) locked meanwhile and its mode and, for root, its owner taken over.
SystemError OpenReplacement(const std::string& path, bool exists, const struct stat& info,
                            SystemHandle& handle) {
    Replacement replacement;
    replacement.target = FinalPath(path);
    replacement.temporary = TemporaryNameOf(replacement.target);
    if (exists) {
        // Opened for writing, though never written: the system's answer is whether the
        // old file may be changed at all (a read-only or immutable one is refused).
        SystemError error = OpenLocked(replacement.target, O_WRONLY, replacement.oldFileLock);
        if (error != 0) return error;
    }
    int descriptor = -1;
    SystemError error = OpenLocked(replacement.temporary, O_WRONLY | O_CREAT, descriptor);
    if (error == 0 && ftruncate(descriptor, 0) != 0) error = FromErrno(errno);
    if (error == 0 && exists && fchmod(descriptor, info.st_mode & 07777) != 0) error = FromErrno(errno);
    if (error == 0 && exists && geteuid() == 0) {
        [[maybe_unused]] const int owned = fchown(descriptor, info.st_uid, info.st_gid);  // as far as allowed
    }
    if (error != 0) {
        if (descriptor >= 0) {
            unlink(replacement.temporary.c_str());
            close(descriptor);
        }
        if (replacement.oldFileLock >= 0) close(replacement.oldFileLock);
        return error;
    }
    Replacements()[descriptor] = replacement;
    handle = descriptor;
    return 0;
}

// The close of a replacement: flushed, renamed over the old file, the folder flushed;
// or, after a failed call or step, removed with the old file left as it was.
SystemError CloseReplacement(int descriptor, const Replacement& replacement) {
    SystemError error = replacement.failure;
    if (error == 0 && fsync(descriptor) != 0) error = FromErrno(errno);
    if (close(descriptor) != 0 && errno != EINTR && error == 0) error = FromErrno(errno);
    if (error == 0 && rename(replacement.temporary.c_str(), replacement.target.c_str()) != 0) {
        error = FromErrno(errno);
    }
    if (error != 0) {
        unlink(replacement.temporary.c_str());
    } else {
        error = FlushFolderOf(replacement.target);
    }
    if (replacement.oldFileLock >= 0) close(replacement.oldFileLock);
    return error;
}

SystemError OpenInPlace(const std::string& path, OpenPurpose purpose, SystemHandle& handle) {
    const int flags = purpose == OpenPurpose::kInput ? O_RDONLY : (O_WRONLY | O_CREAT);
    int descriptor;
    do {
        descriptor = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return LastError(path);
    // Windows refuses to open a directory as a file.
    struct stat info;
    SystemError error = fstat(descriptor, &info) != 0 ? FromErrno(errno) : 0;
    if (error == 0 && S_ISDIR(info.st_mode)) error = kAccessDenied;
    if (error == 0) error = Lock(descriptor);
    if (error != 0) {
        close(descriptor);
        return error;
    }
    handle = descriptor;
    return 0;
}

}  // namespace

std::string_view SystemLineEnd() { return "\n"; }

bool SystemOutputReplacesFile() { return true; }

std::string SystemReplacementName(std::string_view name) { return TemporaryNameOf(FinalPath(SystemPath(name))); }

std::string SystemPathName(std::string_view name) { return SystemPath(name); }

SystemError SystemOpen(std::string_view name, OpenPurpose purpose, SystemHandle& handle) {
    handle = kNoHandle;
    if (HoldsNul(name)) return kSystemInvalidName;
    const std::string path = SystemPath(name);
    if (purpose == OpenPurpose::kInput) return Done(OpenInPlace(path, purpose, handle));
    struct stat info;
    const bool exists = stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) return Done(LastError(path));
    if (exists && S_ISDIR(info.st_mode)) return Done(kAccessDenied);
    // A device or pipe of that name is written as it is: there is nothing to replace.
    if (exists && !S_ISREG(info.st_mode)) return Done(OpenInPlace(path, purpose, handle));
    return Done(OpenReplacement(path, exists, info, handle));
}

bool SystemIsDiskFile(SystemHandle handle) {
    struct stat info;
    return Done(fstat(Descriptor(handle), &info) == 0 && S_ISREG(info.st_mode));
}

SystemError SystemSetPosition(SystemHandle handle, std::uint32_t offset) {
    const bool ok = lseek(Descriptor(handle), static_cast<off_t>(offset), SEEK_SET) >= 0;
    return Done(Noted(handle, ok ? 0 : FromErrno(errno)));
}

SystemError SystemCutAtPosition(SystemHandle handle) {
    const int descriptor = Descriptor(handle);
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    if (position < 0) return Done(Noted(handle, FromErrno(errno)));
    while (ftruncate(descriptor, position) != 0) {
        if (errno != EINTR) return Done(Noted(handle, FromErrno(errno)));
    }
    return Done(SystemError{0});
}

SystemError SystemRead(SystemHandle handle, char* buffer, std::uint32_t size, std::uint32_t& count) {
    count = 0;
    ssize_t got;
    do {
        got = read(Descriptor(handle), buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return Done(FromErrno(errno));
    count = static_cast<std::uint32_t>(got);
    return Done(SystemError{0});
}

// Like WriteFile, one call hands over all the bytes: a write that POSIX takes in part
// is continued, and only when the system takes no more is the write short.
SystemError SystemWrite(SystemHandle handle, const char* bytes, std::uint32_t size,
                        std::uint32_t& written) {
    written = 0;
    while (written < size) {
        const ssize_t put = write(Descriptor(handle), bytes + written, size - written);
        if (put < 0) {
            if (errno == EINTR) continue;
            if (written > 0) break;  // short: the caller sees written < size
            return Done(Noted(handle, FromErrno(errno)));
        }
        if (put == 0) break;
        written += static_cast<std::uint32_t>(put);
    }
    if (written < size) Noted(handle, kDiskFull);  // the file layer reports the short write
    return Done(SystemError{0});
}

SystemError SystemClose(SystemHandle handle) {
    auto found = Replacements().find(Descriptor(handle));
    if (found != Replacements().end()) {
        const Replacement replacement = found->second;
        Replacements().erase(found);
        return Done(CloseReplacement(Descriptor(handle), replacement));
    }
    // No retry on EINTR: the descriptor is gone either way.
    const bool ok = close(Descriptor(handle)) == 0 || errno == EINTR;
    return Done(ok ? 0 : FromErrno(errno));
}

SystemError SystemFindFiles(std::string_view pattern, std::vector<FoundFile>& found) {
    found.clear();
    if (HoldsNul(pattern)) return kSystemInvalidName;
    const std::string path = SystemPath(pattern);
    const std::string directory = DirectoryPart(path);
    const std::string namePattern = path.substr(directory.size());
    struct stat info;
    if (!HasWildcard(namePattern)) {
        // A plain name: that one entry or nothing.
        if (namePattern.empty() || lstat(path.c_str(), &info) != 0) {
            return Done(namePattern.empty() ? kFileNotFound : LastError(path));
        }
        found.push_back({path, AttributesOf(namePattern, info)});
        return Done(SystemError{0});
    }
    DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) {
        return Done(errno == ENOENT || errno == ENOTDIR ? kPathNotFound : FromErrno(errno));
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!Matches(namePattern, name)) continue;
        const std::string entryPath = directory + std::string(name);
        if (lstat(entryPath.c_str(), &info) != 0) continue;  // gone meanwhile
        found.push_back({entryPath, AttributesOf(name, info)});
    }
    closedir(listing);
    return Done(found.empty() ? kFileNotFound : SystemError{0});
}

// Windows refuses to delete a file that someone holds open without sharing. unlink()
// does not look at locks, so the file is locked for the moment of the delete: a file
// that another opener holds is refused with 32, as on Windows.
SystemError SystemDelete(std::string_view name) {
    if (HoldsNul(name)) return kSystemInvalidName;
    const std::string path = SystemPath(name);
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor >= 0) {
        const SystemError locked = Lock(descriptor);
        if (locked != 0) {
            close(descriptor);
            return Done(locked);
        }
    }
    const SystemError error = unlink(path.c_str()) == 0 ? 0 : LastError(path);
    if (descriptor >= 0) close(descriptor);
    return Done(error);
}

}  // namespace kobrant
