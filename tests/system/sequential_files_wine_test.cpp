// Windows build only: what the file layer does under Wine with a file that Linux itself
// refuses to let anyone write or delete (see immutable_file.sh, run by CTest).

#include <gtest/gtest.h>

#include <cstdlib>

#include "driver/wine.h"
#include "support/files.h"
#include "system/sequential_files.h"

namespace kobrant {
namespace {

TEST(SequentialFilesUnderWine, UnwritableFileIsRefusedWith70AndLeftAlone) {
    if (!test::RunningUnderWine()) GTEST_SKIP() << "only under Wine";
    const char* file = std::getenv("KOBRANT_IMMUTABLE_FILE");
    if (file == nullptr) GTEST_SKIP() << "KOBRANT_IMMUTABLE_FILE unset: run through ctest";
    const std::string name = WindowsPath(file);
    const std::string before = test::ReadBytes(name);
    ASSERT_NE(before, "<missing>") << name;
    FileError output, remove;
    OpenForOutput(name, 1, output);
    CloseAllFiles(output);
    DeleteFiles(name, remove);
    EXPECT_EQ(output.code, file_error::kPermissionDenied);
    EXPECT_EQ(test::ReadBytes(name), before);
    // Wine deletes by marking the file for deletion on close and reports success before
    // Linux refuses the unlink; the file stays. Windows refuses such a delete (70).
    EXPECT_EQ(remove.code, 0) << "Wine now reports the refused delete: expect 70 here";

}

}  // namespace
}  // namespace kobrant
