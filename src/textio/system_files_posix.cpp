// The system-call seam on POSIX: the Windows behaviour as far as POSIX can give it,
// with errno translated into Windows system error numbers (see system_files.h).

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "textio/float_state.h"
#include "textio/system_files.h"

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

}  // namespace

SystemError SystemOpen(std::string_view name, OpenPurpose purpose, SystemHandle& handle) {
    handle = kNoHandle;
    if (HoldsNul(name)) return kSystemInvalidName;
    const std::string path = SystemPath(name);
    const int flags = purpose == OpenPurpose::kInput ? O_RDONLY : (O_WRONLY | O_CREAT);
    int descriptor;
    do {
        descriptor = open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) return Done(LastError(path));
    // Windows refuses to open a directory as a file.
    struct stat info;
    SystemError error = fstat(descriptor, &info) != 0 ? FromErrno(errno) : 0;
    if (error == 0 && S_ISDIR(info.st_mode)) error = kAccessDenied;
    if (error == 0) error = Lock(descriptor);
    if (error != 0) {
        close(descriptor);
        return Done(error);
    }
    handle = descriptor;
    return Done(SystemError{0});
}

bool SystemIsDiskFile(SystemHandle handle) {
    struct stat info;
    return Done(fstat(Descriptor(handle), &info) == 0 && S_ISREG(info.st_mode));
}

SystemError SystemSetPosition(SystemHandle handle, std::uint32_t offset) {
    const bool ok = lseek(Descriptor(handle), static_cast<off_t>(offset), SEEK_SET) >= 0;
    return Done(ok ? 0 : FromErrno(errno));
}

SystemError SystemCutAtPosition(SystemHandle handle) {
    const int descriptor = Descriptor(handle);
    const off_t position = lseek(descriptor, 0, SEEK_CUR);
    if (position < 0) return Done(FromErrno(errno));
    while (ftruncate(descriptor, position) != 0) {
        if (errno != EINTR) return Done(FromErrno(errno));
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
            return Done(FromErrno(errno));
        }
        if (put == 0) break;
        written += static_cast<std::uint32_t>(put);
    }
    return Done(SystemError{0});
}

SystemError SystemClose(SystemHandle handle) {
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
