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

TEST(SequentialFilesOnLinux, FullDiskGives61AndKeepsTheEarlierWrites) {
    struct Case {
        rlim_t limit;
        const char* bytes;  // in the file afterwards
    } cases[] = {
        {3, "\"ab"},   // the text taken in part: a short write
        {4, "\"abc"},  // the closing quote refused outright
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        test::TestDirectory dir;
        FileError error;
        OpenForOutput(dir.File("full.txt"), 1, error);
        {
            FileSizeLimit limit(c.limit);
            WriteQuotedText(1, "abc", error);
        }
        EXPECT_EQ(error.code, file_error::kDiskFull);
        CloseFile(1, error);
        EXPECT_EQ(test::ReadBytes(dir.File("full.txt")), c.bytes);
    }
}

}  // namespace
}  // namespace kobrant
