// Linux build only: a disk that fills up halfway through a write, made with the file
// size limit of the process; how an output file replaces the old one.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include "support/files.h"
#include "system/sequential_files.h"
#include "system/sequential_files_test_seam.h"
#include "system/system_files.h"

namespace kobrant {
namespace {

// Lowers the file size limit for its lifetime; past it the system takes a write in
// part, then refuses it (EFBIG instead of the signal, which is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

// A file that can't be written whole is not replaced at all: the old one stays, the
// temporary file goes, and the close says why once more.
TEST(SequentialFilesOnLinux, FullDiskGives61AndKeepsTheOldFile) {
    struct Case {
        rlim_t limit;
        const char* what;
    } cases[] = {
        {3, "the text taken in part: a short write"},
        {4, "the closing quote refused outright"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestDirectory dir;
        const std::string name = dir.File("full.txt");
        test::WriteBytes(name, "old\r\n");
        FileError error;
        OpenForOutput(name, 1, error);
        {
            FileSizeLimit limit(c.limit);
            WriteQuotedText(1, "abc", error);
        }
        EXPECT_EQ(error.code, file_error::kDiskFull);
        FileError closing;
        CloseFile(1, closing);
        EXPECT_EQ(closing.code, file_error::kDiskFull);
        EXPECT_EQ(test::ReadBytes(name), "old\r\n");
        EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), 0u);
    }
}

// The new file takes the old one's place at the close, whole, keeping its mode; a link
// keeps pointing at it. Where the old file can't be replaced, it stays as it was and
// no temporary file is left.
TEST(SequentialFilesOnLinux, OutputReplacesTheOldFileAtItsClose) {
    enum class Before { kMode0640, kLink, kHeld, kReadOnly, kGroupAndSetuid };
    struct Case {
        const char* what;
        Before before;
        std::uint8_t openCode;
        const char* after;  // the bytes read through the name afterwards
        mode_t mode;        // the name's own mode afterwards (lstat)
    } cases[] = {
        {"replaced, mode kept", Before::kMode0640, 0, "new", S_IFREG | 0640},
        {"through a link: the file it names replaced", Before::kLink, 0, "new", S_IFLNK | 0777},
        {"held by another opener: refused, old kept", Before::kHeld, file_error::kPermissionDenied, "old", S_IFREG | 0644},
        {"read-only: refused, old kept", Before::kReadOnly, file_error::kPermissionDenied, "old", S_IFREG | 0644},
        {"group kept, setuid and setgid dropped", Before::kGroupAndSetuid, 0, "new", S_IFREG | 0640},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestDirectory dir;
        const std::string name = dir.Path() + "/out.txt";
        test::WriteBytes(name, "old");
        chmod(name.c_str(), c.before == Before::kMode0640 ? 0640 : 0644);
        // A group of the user's own (the one it runs as, or any under root).
        const gid_t group = geteuid() == 0 ? getegid() + 4321 : getegid();
        if (c.before == Before::kGroupAndSetuid) {
            chown(name.c_str(), static_cast<uid_t>(-1), group);
            chmod(name.c_str(), 06640);
        }
        if (c.before == Before::kLink) {
            rename(name.c_str(), (dir.Path() + "/real.txt").c_str());
            symlink("real.txt", name.c_str());
        }
        std::shared_ptr<void> held;
        if (c.before == Before::kHeld) held = std::make_shared<test::OtherOpener>(name);
        if (c.before == Before::kReadOnly) held = std::make_shared<test::ReadOnlyFile>(name);
        FileError opening, closing;
        OpenForOutput(name, 1, opening);
        EXPECT_EQ(opening.code, c.openCode);
        WriteText(1, "new", opening);
        EXPECT_EQ(test::ReadBytes(name), "old") << "replaced before the close";
        CloseFile(1, closing);
        EXPECT_EQ(closing.code, 0);
        EXPECT_EQ(test::ReadBytes(name), c.after);
        EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), 0u);
        held.reset();  // a read-only file made by chmod (not root) gets its mode back
        struct stat info {};
        lstat(name.c_str(), &info);
        EXPECT_EQ(info.st_mode, c.mode);
        if (c.before == Before::kGroupAndSetuid) {
            EXPECT_EQ(info.st_gid, group);
        }
    }
}

// Two programs writing the same file at once can't mix their bytes, also when the
// file is a new one: never two successes with one program's bytes in place.
TEST(SequentialFilesOnLinux, SecondWriterOfTheSameFileIsRefused) {
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "new files under a name of their own" : "new files without a name where possible");
    UseNamedReplacementFiles(named);
    test::TestDirectory dir;
    const std::string name = dir.Path() + "/new.txt";
    FileError first, second;
    OpenForOutput(name, 1, first);
    WriteText(1, "first", first);
    // Neither has found a file to lock: the second is refused when it would link its
    // file in under a name that the first has taken meanwhile.
    OpenForOutput(name, 2, second);
    WriteText(2, "second", second);
    CloseFile(1, first);
    EXPECT_EQ(first.code, 0);
    CloseFile(2, second);
    EXPECT_EQ(second.code, file_error::kPermissionDenied);
    EXPECT_EQ(test::ReadBytes(name), "first");
    FileError third;
    OpenForOutput(name, 2, third);
    WriteText(2, "third", third);
    CloseFile(2, third);
    EXPECT_EQ(third.code, 0);
    EXPECT_EQ(test::ReadBytes(name), "third");
    EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), 0u);
    UseNamedReplacementFiles(false);
  }
}

// What another user with write access to the folder may plant, and what the file layer
// does with it: each entry is refused at once with its code, or passed over; the file a
// link points at is never changed, and nothing planted is ever put in place.
TEST(SequentialFilesOnLinux, HostileEntriesAreRefusedOrPassedOver) {
    enum class Planted { kForeignLink, kChain, kOldTemporaryLink, kTemporaryDirectory, kFifo, kDirectory, kDevice, kTooLong, kLeftover };
    struct Case {
        const char* what;
        Planted planted;
        bool output;             // opened for output (else input)
        std::uint8_t code;       // of the open
        std::uint32_t systemError;
        const char* after;       // the name's bytes afterwards ("" for not a file)
    } cases[] = {
        {"another uid's link, read", Planted::kForeignLink, false, 75, system_error::kForeignLink, ""},
        {"another uid's link, written", Planted::kForeignLink, true, 75, system_error::kForeignLink, ""},
        {"an own link to another uid's link, written", Planted::kChain, true, 75, system_error::kForeignLink, ""},
        {"a link at the old temporary name", Planted::kOldTemporaryLink, true, 0, 0, "new"},
        {"a directory at the old temporary name", Planted::kTemporaryDirectory, true, 0, 0, "new"},
        {"a FIFO, read", Planted::kFifo, false, 75, system_error::kNotAFile, ""},
        {"a FIFO, written", Planted::kFifo, true, 75, system_error::kNotAFile, ""},
        {"a directory, written", Planted::kDirectory, true, 70, 5, ""},
        {"a device through an own link", Planted::kDevice, true, 75, system_error::kNotAFile, ""},
        {"over 1 MiB, read", Planted::kTooLong, false, 75, system_error::kTooLong, ""},
        {"an own leftover temporary file", Planted::kLeftover, true, 0, 0, "new"},
    };
    const std::string kept = "the operator's own file";
    for (const bool named : {false, true})
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SCOPED_TRACE(named ? "new files under a name of their own" : "new files without a name where possible");
        UseNamedReplacementFiles(named);
        test::TestDirectory dir, elsewhere;
        const std::string name = dir.File("out.txt"), target = elsewhere.File("keys");
        test::WriteBytes(target, kept);
        const std::string longText(kSystemMostBytesRead + 1, 'x');
        bool made = true;
        switch (c.planted) {
        case Planted::kForeignLink: made = test::MakeForeignLink(target, name); break;
        case Planted::kChain:
            made = test::MakeForeignLink(target, dir.File("foreign"));
            symlink("foreign", name.c_str());
            break;
        case Planted::kOldTemporaryLink: made = test::MakeForeignLink(target, dir.File(".out.txt.tmp")); break;
        case Planted::kTemporaryDirectory: test::MakeDirectory(dir.File(".out.txt.tmp")); break;
        case Planted::kFifo: mkfifo(name.c_str(), 0666); break;
        case Planted::kDirectory: test::MakeDirectory(name); break;
        case Planted::kDevice: symlink("/dev/null", name.c_str()); break;
        case Planted::kTooLong: test::WriteBytes(name, longText); break;
        case Planted::kLeftover: test::WriteBytes(dir.File(".out.txt.0123456789abcdef.tmp"), "stale"); break;
        }
        if (!made) {
            std::printf("not run, only root can give a link to another user: %s\n", c.what);
            continue;
        }
        FileError error, closing;
        const auto start = std::chrono::steady_clock::now();
        const bool opened = c.output ? OpenForOutput(name, 1, error) : OpenForInput(name, 1, error);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "waited on it";
        EXPECT_EQ(opened, c.code == 0);
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(error.systemError, c.systemError);
        if (opened && c.output) WriteText(1, "new", closing);
        CloseFile(1, closing);
        EXPECT_EQ(closing.code, 0);
        EXPECT_EQ(test::ReadBytes(target), kept) << "the link's target changed";
        if (c.planted == Planted::kTooLong) {
            EXPECT_EQ(test::ReadBytes(name), longText) << "the long file changed";
        }
        if (*c.after != '\0') {
            EXPECT_EQ(test::ReadBytes(name), c.after);
        }
        if (c.planted == Planted::kLeftover) {
            EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), 0u) << "the leftover stayed";
        }
        if (c.planted == Planted::kOldTemporaryLink) {
            struct stat info {};
            EXPECT_EQ(lstat(dir.File(".out.txt.tmp").c_str(), &info), 0) << "another user's entry was removed";
        }
        UseNamedReplacementFiles(false);
    }
}

}  // namespace
}  // namespace kobrant
