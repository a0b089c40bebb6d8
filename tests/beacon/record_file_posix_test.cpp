// Linux: the record file as kobrant-beacon reads it where the folder holds something
// else than the record, while the terminal program replaces it, and the local time
// zone that turns the record's time into UTC.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "beacon/beacon_system.h"
#include "beacon/record_file_test.h"
#include "station/record_check.h"
#include "station/weather_record.h"
#include "support/files.h"
#include "system/sequential_files.h"

namespace kobrant {
namespace {

const std::string kRecord = "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n";

// A FIFO planted in the record's place would make a blocking open wait for a writer
// for ever, and Dire Wolf with it.
TEST(RecordFilePosix, AFifoIsRefusedAtOnce) {
    test::TestDirectory dir;
    const std::string path = RecordPathIn(dir);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    const auto started = std::chrono::steady_clock::now();
    std::string text;
    int systemError = 0;
    EXPECT_EQ(ReadRecordFile(path, kRecordFileLimit, text, systemError), RecordFileRead::kNotRegular);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

// A reader may follow the folder's link: the record is read where it points.
TEST(RecordFilePosix, ALinkIsFollowedToItsFile) {
    test::TestDirectory dir;
    test::WriteBytes(dir.Path() + "/record", kRecord);
    ASSERT_EQ(symlink("record", RecordPathIn(dir).c_str()), 0);
    std::string text;
    int systemError = 0;
    EXPECT_EQ(ReadRecordFile(RecordPathIn(dir), kRecordFileLimit, text, systemError), RecordFileRead::kRead);
    EXPECT_EQ(text, kRecord);
}

// While "Enter" writes, the old record is there whole; after it, the new one.
TEST(RecordFilePosix, WhileEnterWritesTheOldRecordIsRead) {
    test::TestDirectory dir;
    test::WriteBytes(RecordPathIn(dir), kRecord);
    FileError error;
    ASSERT_TRUE(StartWritingRecord(dir, error)) << "code " << int{error.code};
    std::string text;
    int systemError = 0;
    EXPECT_EQ(ReadRecordFile(RecordPathIn(dir), kRecordFileLimit, text, systemError), RecordFileRead::kRead);
    EXPECT_EQ(text, kRecord);
    CloseAllFiles(error);
    EXPECT_EQ(ReadRecordFile(RecordPathIn(dir), kRecordFileLimit, text, systemError), RecordFileRead::kRead);
    EXPECT_EQ(text, "Dec 06 2026 15:00\n000/000g000t032r000p000P000h50b10000\n");
}

// The zone as TZ gives it, summer time included; a time that the change to summer time
// skips is taken as mktime takes it (an hour later in the zone's winter offset).
TEST(RecordFilePosix, LocalTimeToUtcByTheZone) {
    struct Case {
        const char* zone;
        ClockReading local;
        ClockReading utc;
    };
    const char* berlin = "CET-1CEST,M3.5.0,M10.5.0/3";
    const Case cases[] = {
        {berlin, {2026, 12, 6, 14, 5, 0}, {2026, 12, 6, 13, 5, 0}},
        {berlin, {2026, 7, 1, 12, 0, 0}, {2026, 7, 1, 10, 0, 0}},
        {berlin, {2027, 1, 1, 0, 30, 0}, {2026, 12, 31, 23, 30, 0}},
        {"UTC0", {2026, 12, 6, 14, 5, 0}, {2026, 12, 6, 14, 5, 0}},
        {"EST5EDT,M3.2.0,M11.1.0", {2026, 12, 6, 14, 5, 0}, {2026, 12, 6, 19, 5, 0}},
        {"NZST-12NZDT,M9.5.0,M4.1.0/3", {2026, 12, 6, 14, 5, 0}, {2026, 12, 6, 1, 5, 0}},
    };
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved != nullptr ? saved : "";
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        std::int64_t utc = 0;
        ASSERT_TRUE(LocalToUtc(c.local, utc)) << c.zone;
        EXPECT_EQ(utc, CalendarSeconds(c.utc)) << c.zone << " " << c.local.month << "-" << c.local.day;
    }
    if (saved != nullptr) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace kobrant
