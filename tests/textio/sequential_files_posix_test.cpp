// Linux build only: a disk that fills up halfway through a write, made with the file
// size limit of the process.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>

#include "textio/file_test_support.h"
#include "textio/sequential_files.h"

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

}  // namespace
}  // namespace kobrant
