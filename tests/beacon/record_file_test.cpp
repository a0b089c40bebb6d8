// The record file as kobrant-beacon reads it on the running system (beacon_system.h):
// what every system does alike here; record_file_posix_test.cpp and
// record_file_win_test.cpp hold what each does its own way.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "beacon/beacon_system.h"
#include "beacon/record_file_test.h"
#include "support/files.h"

namespace kobrant {
namespace {

TEST(RecordFile, ReadsOnlyARegularFileAndAtMostOneByteOverTheLimit) {
    struct Case {
        std::string_view name;
        std::string_view entry;     // what is made in the folder
        std::string bytes;          // the file's, for a file
        RecordFileRead read;
        std::string text;           // what is read
    };
    const std::string record = "Dec 06 2026 14:05\r\n270/011g018t068r000p006P008h65b10132\r\n";
    const Case cases[] = {
        {"a record", "file", record, RecordFileRead::kRead, record},
        {"an empty file", "file", "", RecordFileRead::kRead, ""},
        {"1000 bytes", "file", std::string(1000, 'x'), RecordFileRead::kRead, std::string(kRecordFileLimit + 1, 'x')},
        {"no file", "none", "", RecordFileRead::kMissing, ""},
        {"a folder of the name", "folder", "", RecordFileRead::kNotRegular, ""},
    };
    for (const Case& c : cases) {
        test::TestDirectory dir;
        const std::string path = RecordPathIn(dir);
        if (c.entry == "file") test::WriteBytes(dir.File("WX-DATA.txt"), c.bytes);
        if (c.entry == "folder") test::MakeDirectory(dir.File("WX-DATA.txt"));
        std::string text;
        int systemError = -1;
        EXPECT_EQ(ReadRecordFile(path, kRecordFileLimit, text, systemError), c.read) << c.name;
        if (c.read == RecordFileRead::kRead) {
            EXPECT_EQ(text, c.text) << c.name;
        }
    }
    test::TestDirectory dir;
    const std::string inMissingFolder = dir.Path() + FolderSeparator() + "weg" + FolderSeparator() + "WX-DATA.txt";
    std::string text;
    int systemError = 0;
    EXPECT_EQ(ReadRecordFile(inMissingFolder, kRecordFileLimit, text, systemError), RecordFileRead::kMissing);
}

}  // namespace
}  // namespace kobrant
