// Linux build only: a disk that fills up halfway through a write, made with the file
// size limit of the process; how an output file replaces the old one.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include "support/files.h"
#include "system/sequential_files.h"

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
        EXPECT_EQ(test::ReadBytes(SystemReplacementName(name)), "<missing>");
    }
}

// The new file takes the old one's place at the close, whole, keeping its mode; a link
// keeps pointing at it. Where the old file can't be replaced, it stays as it was and
// no temporary file is left.
TEST(SequentialFilesOnLinux, OutputReplacesTheOldFileAtItsClose) {
    enum class Before { kMode0640, kLink, kHeld, kReadOnly };
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestDirectory dir;
        const std::string name = dir.Path() + "/out.txt";
        test::WriteBytes(name, "old");
        chmod(name.c_str(), c.before == Before::kMode0640 ? 0640 : 0644);
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
        EXPECT_EQ(test::ReadBytes(SystemReplacementName(name)), "<missing>");
        held.reset();  // a read-only file made by chmod (not root) gets its mode back
        struct stat info {};
        lstat(name.c_str(), &info);
        EXPECT_EQ(info.st_mode, c.mode);
    }
}

// Two programs writing the same file at once can't mix their bytes: the second is
// refused until the first has closed, also when the first's file is a new one.
TEST(SequentialFilesOnLinux, SecondWriterOfTheSameFileIsRefused) {
    test::TestDirectory dir;
    const std::string name = dir.Path() + "/new.txt";
    FileError first, second;
    OpenForOutput(name, 1, first);
    WriteText(1, "first", first);
    OpenForOutput(name, 2, second);
    EXPECT_EQ(second.code, file_error::kPermissionDenied);
    CloseFile(1, first);
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(test::ReadBytes(name), "first");
    FileError third;
    OpenForOutput(name, 2, third);
    WriteText(2, "third", third);
    CloseFile(2, third);
    EXPECT_EQ(third.code, 0);
    EXPECT_EQ(test::ReadBytes(name), "third");
}

}  // namespace
}  // namespace kobrant
