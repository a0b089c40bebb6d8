// Windows: while "Enter" writes the record, the program holds it without sharing, and
// the beacon's read is refused (it then sends nothing); after it, the new record reads.

#include <gtest/gtest.h>

#include <string>

#include "beacon/beacon_system.h"
#include "beacon/record_file_test.h"
#include "station/weather_record.h"
#include "support/files.h"
#include "system/sequential_files.h"

namespace kobrant {
namespace {

TEST(RecordFileWin, WhileEnterWritesTheRecordIsHeld) {
    test::TestDirectory dir;
    FileError error;
    ASSERT_TRUE(StartWritingRecord(dir, error)) << "code " << int{error.code};
    std::string text;
    int systemError = 0;
    EXPECT_EQ(ReadRecordFile(RecordPathIn(dir), kRecordFileLimit, text, systemError), RecordFileRead::kHeld)
        << systemError;
    CloseAllFiles(error);
    EXPECT_EQ(ReadRecordFile(RecordPathIn(dir), kRecordFileLimit, text, systemError), RecordFileRead::kRead);
    EXPECT_EQ(text, "Dec 06 2026 15:00\r\n000/000g000t032r000p000P000h50b10000\r\n");
}

}  // namespace
}  // namespace kobrant
