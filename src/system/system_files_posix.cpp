// The system-call seam on POSIX: the Windows behaviour as far as POSIX can give it,
// with errno translated into Windows system error numbers, and text files written as
// Linux programs write them: LF line ends, output replacing a file whole, nothing
// found in the folder trusted (see system_files.h).

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <utility>

#include "numbers/float_state.h"
#include "system/sequential_files_test_seam.h"
#include "system/stop_request.h"
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

// errno -> the Windows system error for the same failure. Every name is looked up in a
// folder already opened, so ENOENT is a missing file (a missing folder is found when it
// is opened: 3).
SystemError FromErrno(int number) {
    switch (number) {
        case 0: return kGeneralFailure;  // a failure without a reason is still a failure
        case ENOENT: return kFileNotFound;
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

// A name split where the system splits it: the folder ("" for the current one, else
// with its "/") and the entry in it.
struct FolderEntry {
    std::string folder;
    std::string entry;
};

FolderEntry Split(std::string_view name) {
    const std::size_t end = name.rfind('/');
    if (end == std::string_view::npos) return {std::string(), std::string(name)};
    return {std::string(name.substr(0, end + 1)), std::string(name.substr(end + 1))};
}

bool HoldsNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

// The last step of every call, as on Windows: system code may change the floating-point
// state.
template <typename T>
T Done(T result) {
    SetFloatingPointState();
    return result;
}

// A call interrupted by a signal is made again only while no stop has been asked for.
bool Retry(long result) { return result < 0 && errno == EINTR && !StopRequested(); }

SystemError Interrupted(int number) { return number == EINTR ? kSystemStopped : FromErrno(number); }

// The folder of a name, opened to find entries in: -1 with the error when it can't be.
SystemError OpenFolder(const std::string& folder, int& descriptor) {
    do {
        descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    } while (Retry(descriptor));
    if (descriptor >= 0) return 0;
    return errno == ENOENT || errno == ENOTDIR ? kPathNotFound : Interrupted(errno);
}

class Folder {
public:
    explicit Folder(const std::string& path) : error_(OpenFolder(path, descriptor_)) {}
    ~Folder() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    int descriptor() const { return descriptor_; }
    SystemError error() const { return error_; }
    int Release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_ = -1;
    SystemError error_;
};

bool TrustedOwner(uid_t owner) { return owner == geteuid() || owner == 0; }

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// What an entry is without following a link: ENOENT gives 2 (the folder is there).
SystemError LookAt(int folder, const std::string& entry, struct stat& info) {
    if (fstatat(folder, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return 0;
    return errno == ENOENT ? kFileNotFound : FromErrno(errno);
}

// Takes the exclusive lock that stands for opening without sharing.
SystemError Lock(int descriptor) {
    int result;
    do {
        result = flock(descriptor, LOCK_EX | LOCK_NB);
    } while (Retry(result));
    return result == 0 ? 0 : Interrupted(errno);
}

// The entry that a name finally stands for: links followed one by one, each only when
// the effective user or root owns it, as the kernel's protected_symlinks does in sticky
// folders; a relative link is read from its own folder.
//   Resolve("d/WX-DATA.txt" -> the user's link to "real.txt") -> "d/real.txt"
//   Resolve(another user's link, or a chain holding one)      -> kSystemForeignLink
SystemError Resolve(const FolderEntry& name, FolderEntry& final) {
    constexpr int kMostLinks = 8;
    final = name;
    for (int links = 0; links <= kMostLinks; ++links) {
        Folder folder(final.folder);
        if (folder.error() != 0) return folder.error();
        struct stat info;
        if (fstatat(folder.descriptor(), final.entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(info.st_mode)) {
            return 0;  // what stands there (or nothing) is for the caller to look at
        }
        if (!TrustedOwner(info.st_uid)) return kSystemForeignLink;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlinkat(folder.descriptor(), final.entry.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return kSystemForeignLink;
        target.resize(static_cast<std::size_t>(length));
        final = Split(target[0] == '/' ? target : final.folder + target);
    }
    return kCantResolveFilename;  // too many links, as ELOOP
}

// Opens the regular file standing as entry (never through a link: Resolve has followed
// the trusted ones), non-blocking, and locks it: true once the lock is held on the
// file that the entry names still. A file that another opener renamed away between the
// open and the lock is let go and the open made again (a few times).
SystemError OpenExisting(int folder, const std::string& entry, int access, int& descriptor, struct stat& opened) {
    constexpr int kAttempts = 8;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // What stands there is looked at before it is opened, so that a device is never
        // opened at all (an open may do something to it); the fstat below is the proof.
        struct stat before;
        if (const SystemError error = LookAt(folder, entry, before); error != 0) return error;
        if (S_ISLNK(before.st_mode)) return kSystemForeignLink;  // put there since Resolve
        if (!S_ISREG(before.st_mode)) return S_ISDIR(before.st_mode) ? kAccessDenied : kSystemNotAFile;
        do {
            descriptor = openat(folder, entry.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        } while (Retry(descriptor));
        if (descriptor < 0) {
            if (errno == ELOOP) return kSystemForeignLink;
            if (errno == ENXIO) return kSystemNotAFile;  // a FIFO or device that nobody serves
            return errno == ENOENT ? kFileNotFound : Interrupted(errno);
        }
        SystemError error = fstat(descriptor, &opened) != 0 ? FromErrno(errno) : 0;
        if (error == 0 && S_ISDIR(opened.st_mode)) error = kAccessDenied;  // as Windows refuses a directory
        if (error == 0 && !S_ISREG(opened.st_mode)) error = kSystemNotAFile;
        if (error == 0) error = Lock(descriptor);
        struct stat now;
        if (error == 0 && LookAt(folder, entry, now) == 0 && SameFile(now, opened)) return 0;
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

// ---- the open file

}  // namespace

struct SystemFile {
    int descriptor = -1;
    // Output: the folder it goes to and its name there; the new file, nameless
    // (O_TMPFILE) or under its temporary name; the old file, locked until it is replaced.
    int folder = -1;
    std::string entry;
    std::string temporary;
    bool output = false;
    bool noReplace = false;   // no old file: linked in only while the name is free
    int oldFile = -1;
    SystemError failure = 0;  // output: the first failed call, which discards the file
    std::uint64_t bytesRead = 0;
};

namespace {

SystemError Noted(SystemHandle handle, SystemError error) {
    if (error != 0 && handle->output && handle->failure == 0) handle->failure = error;
    return error;
}

// 16 hex digits from the kernel's random source (never the same name twice in a run).
std::string RandomHex() {
    std::uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        static std::uint64_t counter = 0;
        bits = (static_cast<std::uint64_t>(getpid()) << 32) ^ static_cast<std::uint64_t>(time(nullptr)) ^ ++counter;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(bits));
    return hex;
}

// The program's temporary names for entry: "." entry "." 16 hex digits ".tmp", and the
// fixed "." entry ".tmp" of earlier versions.
bool IsTemporaryNameOf(std::string_view name, const std::string& entry) {
    const std::string prefix = "." + entry + ".";
    if (name.size() < prefix.size() + 3 || name.substr(0, prefix.size()) != prefix) return false;
    const std::string_view middle = name.substr(prefix.size());
    if (middle == "tmp") return true;
    if (middle.size() != 16 + 4 || middle.substr(16) != ".tmp") return false;
    return middle.substr(0, 16).find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Removes what an earlier run left of its temporary files for entry: only the
// program's own (its pattern, regular files of the effective user with one link) that
// no running program holds (each holds its own locked while it writes it).
void RemoveLeftovers(int folder, const std::string& entry) {
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) return;
    DIR* listing = fdopendir(listed);
    if (listing == nullptr) {
        close(listed);
        return;
    }
    while (const dirent* found = readdir(listing)) {
        if (!IsTemporaryNameOf(found->d_name, entry)) continue;
        const int leftover = openat(folder, found->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (leftover < 0) continue;
        struct stat info, named;
        const bool own = fstat(leftover, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
                         info.st_nlink == 1 && flock(leftover, LOCK_EX | LOCK_NB) == 0 &&
                         fstatat(folder, found->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(info, named);
        if (own) unlinkat(folder, found->d_name, 0);
        close(leftover);
    }
    closedir(listing);
}

bool gNamedReplacements = false;  // sequential_files_test_seam.h

// The new file in folder: without a name where the file system allows (and /proc is
// there to link it in by), else under an unpredictable name, made exclusively and
// never through a link.
SystemError CreateNew(SystemFile& file, mode_t mode) {
    if (!gNamedReplacements && access("/proc/self/fd", F_OK) == 0) {
        do {
            file.descriptor = openat(file.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        } while (Retry(file.descriptor));
        if (file.descriptor >= 0) return Lock(file.descriptor);  // not a leftover once it has a name
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return Interrupted(errno);
    }
    constexpr int kAttempts = 8;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        file.temporary = "." + file.entry + "." + RandomHex() + ".tmp";
        do {
            file.descriptor = openat(file.folder, file.temporary.c_str(),
                                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
        } while (Retry(file.descriptor));
        if (file.descriptor >= 0) return Lock(file.descriptor);  // not a leftover while written
        if (errno != EEXIST) break;
    }
    file.temporary.clear();
    return Interrupted(errno);
}

// Gives the new file the old one's group (where the user may) and mode without the
// setuid, setgid and sticky bits; root gives it the old owner as well.
void TakeOver(int descriptor, const struct stat& old) {
    const uid_t owner = geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
    if (fchown(descriptor, owner, old.st_gid) != 0 && owner != static_cast<uid_t>(-1)) {
        [[maybe_unused]] const int grouped = fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
    }
    [[maybe_unused]] const int moded = fchmod(descriptor, old.st_mode & 0777);
}

void Discard(SystemFile& file) {
    if (!file.temporary.empty()) unlinkat(file.folder, file.temporary.c_str(), 0);
    if (file.descriptor >= 0) close(file.descriptor);
    if (file.oldFile >= 0) close(file.oldFile);
    if (file.folder >= 0) close(file.folder);
    file.descriptor = file.oldFile = file.folder = -1;
}

// Opens the new file that will replace the entry, with the old file (when there is
// one) locked meanwhile.
SystemError OpenReplacement(const FolderEntry& named, OpenPurpose purpose, std::unique_ptr<SystemFile>& file) {
    struct stat old {};
    if (purpose == OpenPurpose::kNewOutput) {
        Folder folder(named.folder);
        if (folder.error() != 0) return folder.error();
        const SystemError error = LookAt(folder.descriptor(), named.entry, old);
        if (error == 0) return kFileExists;
        if (error != kFileNotFound) return error;
    }
    // A trusted link stays: the file it finally names is the one replaced, in its folder.
    FolderEntry name;
    if (const SystemError error = Resolve(named, name); error != 0) return error;
    Folder folder(name.folder);
    if (folder.error() != 0) return folder.error();
    SystemError error = LookAt(folder.descriptor(), name.entry, old);
    const bool exists = error == 0;
    if (error != 0 && error != kFileNotFound) return error;
    if (exists && S_ISDIR(old.st_mode)) return kAccessDenied;  // as Windows refuses a directory
    if (exists && S_ISLNK(old.st_mode)) return kSystemForeignLink;  // put there since Resolve
    if (exists && !S_ISREG(old.st_mode)) return kSystemNotAFile;
    file = std::make_unique<SystemFile>();
    file->output = true;
    file->entry = name.entry;
    file->noReplace = !exists;
    if (exists) {
        // Opened for writing, though never written: the system's answer is whether the
        // old file may be changed at all (a read-only or immutable one is refused).
        struct stat opened;
        error = OpenExisting(folder.descriptor(), name.entry, O_WRONLY, file->oldFile, opened);
        if (error != 0) return error;
        old = opened;
    }
    file->folder = folder.Release();
    RemoveLeftovers(file->folder, file->entry);
    error = CreateNew(*file, exists ? 0600 : 0666);
    if (error == 0 && exists) TakeOver(file->descriptor, old);
    if (error != 0) {
        Discard(*file);
        file.reset();
    }
    return error;
}

// Puts the new file in the entry's place: linked in under the name when it had none
// (refused if someone took it meanwhile), else renamed over the old file.
SystemError PutInPlace(SystemFile& file) {
    std::string linked = file.temporary;
    if (linked.empty()) {
        // Nameless: give it a name of its own first, or the entry itself where it was free.
        const std::string self = "/proc/self/fd/" + std::to_string(file.descriptor);
        linked = file.noReplace ? file.entry : "." + file.entry + "." + RandomHex() + ".tmp";
        if (linkat(AT_FDCWD, self.c_str(), file.folder, linked.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            return errno == EEXIST ? kSharingViolation : FromErrno(errno);
        }
        if (file.noReplace) return 0;
        file.temporary = linked;
    } else if (file.noReplace) {
        if (linkat(file.folder, linked.c_str(), file.folder, file.entry.c_str(), 0) != 0) {
            return errno == EEXIST ? kSharingViolation : FromErrno(errno);
        }
        unlinkat(file.folder, linked.c_str(), 0);
        file.temporary.clear();
        return 0;
    }
    if (renameat(file.folder, linked.c_str(), file.folder, file.entry.c_str()) != 0) return FromErrno(errno);
    file.temporary.clear();
    return 0;
}

// The close of a replacement: flushed and put in place, the folder flushed; or, after a
// failed call or step, discarded with the old file left as it was.
SystemError CloseReplacement(SystemFile& file) {
    SystemError error = file.failure;
    if (error == 0 && fsync(file.descriptor) != 0) error = FromErrno(errno);
    if (error == 0) error = PutInPlace(file);
    if (error == 0 && fsync(file.folder) != 0 && errno != EINVAL) error = kSystemWrittenNotFlushed;
    Discard(file);
    return error;
}

}  // namespace

void UseNamedReplacementFiles(bool named) { gNamedReplacements = named; }

std::string_view SystemLineEnd() { return "\n"; }

std::string_view SystemFolderSeparator() { return "/"; }

bool SystemOutputReplacesFile() { return true; }

SystemError SystemOpen(std::string_view name, OpenPurpose purpose, SystemHandle& handle) {
    handle = kNoHandle;
    if (HoldsNul(name)) return kSystemInvalidName;
    const FolderEntry split = Split(name);
    std::unique_ptr<SystemFile> file;
    if (purpose != OpenPurpose::kInput) {
        const SystemError error = OpenReplacement(split, purpose, file);
        if (error == 0) handle = file.release();
        return Done(error);
    }
    FolderEntry final;
    if (const SystemError error = Resolve(split, final); error != 0) return Done(error);
    Folder folder(final.folder);
    if (folder.error() != 0) return Done(folder.error());
    file = std::make_unique<SystemFile>();
    struct stat info;
    SystemError error = OpenExisting(folder.descriptor(), final.entry, O_RDONLY, file->descriptor, info);
    if (error == 0 && info.st_size > static_cast<off_t>(kSystemMostBytesRead)) {
        close(file->descriptor);
        error = kSystemFileTooLong;
    }
    if (error == 0) handle = file.release();
    return Done(error);
}

bool SystemIsDiskFile(SystemHandle handle) {
    struct stat info;
    return Done(fstat(handle->descriptor, &info) == 0 && S_ISREG(info.st_mode));
}

SystemError SystemSetPosition(SystemHandle handle, std::uint32_t offset) {
    const bool ok = lseek(handle->descriptor, static_cast<off_t>(offset), SEEK_SET) >= 0;
    if (ok) handle->bytesRead = offset;
    return Done(Noted(handle, ok ? 0 : FromErrno(errno)));
}

SystemError SystemCutAtPosition(SystemHandle handle) {
    const off_t position = lseek(handle->descriptor, 0, SEEK_CUR);
    if (position < 0) return Done(Noted(handle, FromErrno(errno)));
    int result;
    do {
        result = ftruncate(handle->descriptor, position);
    } while (Retry(result));
    return Done(Noted(handle, result == 0 ? 0 : Interrupted(errno)));
}

// A file that grew past the bound since it was opened ends there.
SystemError SystemRead(SystemHandle handle, char* buffer, std::uint32_t size, std::uint32_t& count) {
    count = 0;
    const std::uint64_t room = kSystemMostBytesRead - std::min<std::uint64_t>(handle->bytesRead, kSystemMostBytesRead);
    ssize_t got;
    do {
        got = read(handle->descriptor, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(size, room)));
    } while (Retry(got));
    if (got < 0) return Done(Interrupted(errno));
    count = static_cast<std::uint32_t>(got);
    handle->bytesRead += count;
    return Done(SystemError{0});
}

// Like WriteFile, one call hands over all the bytes: a write that POSIX takes in part
// is continued, and only when the system takes no more is the write short.
SystemError SystemWrite(SystemHandle handle, const char* bytes, std::uint32_t size,
                        std::uint32_t& written) {
    written = 0;
    while (written < size) {
        const ssize_t put = write(handle->descriptor, bytes + written, size - written);
        if (put < 0) {
            if (Retry(put)) continue;
            if (written > 0) break;  // short: the caller sees written < size
            return Done(Noted(handle, Interrupted(errno)));
        }
        if (put == 0) break;
        written += static_cast<std::uint32_t>(put);
    }
    if (written < size) Noted(handle, kDiskFull);  // the file layer reports the short write
    return Done(SystemError{0});
}

SystemError SystemClose(SystemHandle handle) {
    const std::unique_ptr<SystemFile> file(handle);
    if (file->output) return Done(CloseReplacement(*file));
    // No retry on EINTR: the descriptor is gone either way.
    const bool ok = close(file->descriptor) == 0 || errno == EINTR;
    return Done(ok ? 0 : FromErrno(errno));
}

SystemError SystemFindFiles(std::string_view pattern, std::vector<FoundFile>& found) {
    found.clear();
    if (HoldsNul(pattern)) return kSystemInvalidName;
    const FolderEntry split = Split(pattern);
    Folder folder(split.folder);
    if (folder.error() != 0) return Done(folder.error());
    struct stat info;
    if (!HasWildcard(split.entry)) {
        // A plain name: that one entry or nothing.
        if (split.entry.empty()) return Done(kFileNotFound);
        const SystemError error = LookAt(folder.descriptor(), split.entry, info);
        if (error == 0) found.push_back({std::string(pattern), AttributesOf(split.entry, info)});
        return Done(error);
    }
    const int listed = openat(folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listed < 0 ? nullptr : fdopendir(listed);
    if (listing == nullptr) {
        if (listed >= 0) close(listed);
        return Done(FromErrno(errno));
    }
    while (const dirent* entry = readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!Matches(split.entry, name)) continue;
        if (fstatat(folder.descriptor(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
        found.push_back({split.folder + std::string(name), AttributesOf(name, info)});
    }
    closedir(listing);
    return Done(found.empty() ? kFileNotFound : SystemError{0});
}

// Windows refuses to delete a file that someone holds open without sharing. unlink()
// does not look at locks, so the file is locked for the moment of the delete: a file
// that another opener holds is refused with 32, as on Windows. A link, device or pipe
// is never opened for that (the file layer passes them over as system files).
SystemError SystemDelete(std::string_view name) {
    if (HoldsNul(name)) return kSystemInvalidName;
    const FolderEntry split = Split(name);
    Folder folder(split.folder);
    if (folder.error() != 0) return Done(folder.error());
    int descriptor = -1;
    struct stat info;
    const SystemError opened = OpenExisting(folder.descriptor(), split.entry, O_RDONLY, descriptor, info);
    if (opened == kSharingViolation) return Done(opened);
    const SystemError error = unlinkat(folder.descriptor(), split.entry.c_str(), 0) == 0
                                  ? 0
                                  : (errno == ENOENT ? kFileNotFound : FromErrno(errno));
    if (descriptor >= 0) close(descriptor);
    return Done(error);
}

}  // namespace kobrant
