#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "support/files.h"

namespace kobrant::test {
namespace {


// Sets or clears the immutable flag, which stops root as well. Empty on success.
std::string SetImmutable(const std::string& path, bool immutable) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return std::string("open: ") + std::strerror(errno);
    int flags = 0;
    std::string why;
    if (ioctl(descriptor, FS_IOC_GETFLAGS, &flags) != 0) {
        why = std::string("FS_IOC_GETFLAGS: ") + std::strerror(errno);
    } else {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        if (ioctl(descriptor, FS_IOC_SETFLAGS, &flags) != 0) {
            why = std::string("FS_IOC_SETFLAGS: ") + std::strerror(errno);
        }
    }
    close(descriptor);
    return why;
}

}  // namespace

std::string Eol() { return "\n"; }
bool OutputReplacesFile() { return true; }
std::string FolderSeparator() { return "/"; }

static std::string Parent(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Root: the immutable flag. Others: no write permission on the file, nor on its folder
// (which is what stops a delete on Linux).
ReadOnlyFile::ReadOnlyFile(std::string name) : name_(std::move(name)) {
    if (geteuid() == 0) {
        why_ = SetImmutable(name_, true);
    } else if (chmod(name_.c_str(), 0444) != 0 || chmod(Parent(name_).c_str(), 0555) != 0) {
        why_ = std::string("chmod: ") + std::strerror(errno);
    }
    made_ = why_.empty();
}

ReadOnlyFile::~ReadOnlyFile() {
    if (geteuid() == 0) {
        SetImmutable(name_, false);
    } else {
        chmod(Parent(name_).c_str(), 0755);
        chmod(name_.c_str(), 0644);
    }
}

std::string MakeHiddenFile(const TestDirectory& directory, std::string_view bytes) {
    const std::string name = directory.File(".hidden.txt");
    WriteBytes(name, bytes);
    return name;
}

OtherOpener::OtherOpener(const std::string& name) {
    const int descriptor = open(name.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0) return;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return;
    }
    handle_ = descriptor;
}

OtherOpener::~OtherOpener() {
    if (handle_ != -1) close(static_cast<int>(handle_));
}

bool MakeForeignLink(const std::string& target, const std::string& name) {
    if (geteuid() != 0) return false;
    return symlink(target.c_str(), name.c_str()) == 0 && lchown(name.c_str(), geteuid() + 4321, getegid() + 4321) == 0;
}

bool RunningUnderWine() { return false; }
bool RunningAsUnixRoot() { return geteuid() == 0; }

}  // namespace kobrant::test
