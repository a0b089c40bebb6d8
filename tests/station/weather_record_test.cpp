#include "station/weather_record.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "station/field_conversion.h"
#include "station/settings_file.h"
#include "support/files.h"
#include "support/worked_example.h"
#include "system/sequential_files_test_seam.h"

namespace kobrant {
namespace {

// A clock that gives the readings of a script in turn, the last one for ever after.
std::vector<ClockReading> gReadings;
std::size_t gReadingsTaken = 0;

ClockReading ScriptedClock() {
    const std::size_t next = gReadingsTaken < gReadings.size() ? gReadingsTaken : gReadings.size() - 1;
    ++gReadingsTaken;
    return gReadings[next];
}

void SetClock(std::vector<ClockReading> readings) {
    gReadings = std::move(readings);
    gReadingsTaken = 0;
}

// The worked example: "Enter" at 14:05:33 on 6 December 2026.
constexpr ClockReading kExampleTime = {2026, 12, 6, 14, 5, 33};
const ValueTexts& kExampleValues = test::worked_example::kValues;

ValueTexts Converted(FieldTexts typed) {
    ValueTexts values;
    for (Field field : kFields) {
        const auto i = FieldIndex(field);
        values[i] = ConvertField(field, typed[i]);
    }
    return values;
}

TEST(WeatherRecord, CommentExamples) {
    EXPECT_EQ("Dec 06 2026 14:05", TimestampLine("12-06-2026", "14:05:33"));
    EXPECT_EQ("Mai 31 2027 00:00", TimestampLine("05-31-2027", "00:00:59"));
    EXPECT_EQ("Jan 05 2027 09:07", TimestampLine("01-05-2027", "09:07:00"));
    EXPECT_EQ("270/011g018t068r000p006P008h65b10132", DataLine(kExampleValues));
    EXPECT_EQ(".../...g...t...r...p...P...h..b.....",
              DataLine({"...", "...", "...", "...", "...", "...", "...", "..", "....."}));
}

// The program that sends the report reads the month by these names; May is "Mai".
TEST(WeatherRecord, TimestampLineSpellsEveryMonthAndPadsWithZeros) {
    struct Case {
        ClockReading clock;
        std::string_view expected;
    };
    const Case cases[] = {
        {{2027, 1, 5, 9, 7, 0}, "Jan 05 2027 09:07"},    {{2027, 2, 28, 23, 59, 59}, "Feb 28 2027 23:59"},
        {{2028, 3, 1, 0, 0, 0}, "Mar 01 2028 00:00"},    {{2027, 4, 10, 10, 10, 10}, "Apr 10 2027 10:10"},
        {{2027, 5, 1, 12, 0, 0}, "Mai 01 2027 12:00"},   {{2027, 6, 30, 6, 30, 0}, "Jun 30 2027 06:30"},
        {{2027, 7, 4, 1, 2, 3}, "Jul 04 2027 01:02"},    {{2027, 8, 9, 8, 9, 59}, "Aug 09 2027 08:09"},
        {{2027, 9, 19, 19, 19, 19}, "Sep 19 2027 19:19"}, {{2027, 10, 31, 20, 0, 1}, "Oct 31 2027 20:00"},
        {{2027, 11, 11, 11, 11, 11}, "Nov 11 2027 11:11"}, {{2026, 12, 6, 14, 5, 33}, "Dec 06 2026 14:05"},
        {{2026, 12, 31, 0, 0, 0}, "Dec 31 2026 00:00"},  {{999, 12, 6, 14, 5, 9}, "Dec 06 0999 14:05"},
    };
    for (const Case& c : cases) {
        const std::string date = FormatDateText(c.clock), time = FormatTimeText(c.clock);
        const std::string line = TimestampLine(date, time);
        EXPECT_EQ(c.expected, line) << "date=" << date << " time=" << time;
        EXPECT_EQ(17u, line.size()) << "date=" << date << " time=" << time;
    }
}

// Whatever the operator typed, the data line keeps its 36 characters: a reader that
// takes the fields by position must find every key where it belongs.
TEST(WeatherRecord, DataLineOfTypedFields) {
    struct Case {
        FieldTexts typed;
        std::string_view expected;
    };
    const Case cases[] = {
        {{"270", "5", "8", "20", "0", "1,5", "2", "65", "1013,2"}, "270/011g018t068r000p006P008h65b10132"},
        {DefaultFieldTexts(), "000/000g000t032r000p000P000h01b01000"},
        {{"", "", "", "", "", "", "", "", ""}, ".../...g...t...r...p...P...h..b....."},
        {{"90", "3", "", "-25", "", "", "", "", ""}, "090/007g...t-13r...p...P...h..b....."},
        {{"", "", "", "", "", "", "", "100", "999"}, ".../...g...t...r...p...P...h00b09990"},
    };
    for (const Case& c : cases) {
        const std::string line = DataLine(Converted(c.typed));
        EXPECT_EQ(c.expected, line) << "typed[0]=\"" << c.typed[0] << "\" typed[8]=\"" << c.typed[8] << "\"";
        EXPECT_EQ(36u, line.size()) << line;
    }
}

// The time is read before the date. When midnight falls between the two readings, the
// pair used to give the new day with the old day's time: a report a full day off.
TEST(WeatherRecord, TimestampNeverMixesTwoDays) {
    struct Case {
        const char* what;
        std::vector<ClockReading> readings;  // time, date, time again, ...
        std::string_view expected;
        std::size_t readingsTaken;
    };
    const Case cases[] = {
        {"a steady clock", {kExampleTime}, "Dec 06 2026 14:05", 3},
        {"midnight between time and date",
         {{2026, 12, 6, 23, 59, 59}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 7, 0, 0, 0}},
         "Dec 07 2026 00:00", 6},
        {"new year between time and date",
         {{2026, 12, 31, 23, 59, 59}, {2027, 1, 1, 0, 0, 0}, {2027, 1, 1, 0, 0, 0}, {2027, 1, 1, 0, 0, 0}},
         "Jan 01 2027 00:00", 6},
        {"midnight right after the date",
         {{2026, 12, 6, 23, 59, 59}, {2026, 12, 6, 23, 59, 59}, {2026, 12, 7, 0, 0, 0}, {2026, 12, 7, 0, 0, 0}},
         "Dec 07 2026 00:00", 6},
        {"a clock that keeps going back",
         {{2026, 12, 6, 23, 0, 0}, {2026, 12, 6, 23, 0, 0}, {2026, 12, 6, 22, 0, 0}, {2026, 12, 6, 22, 0, 0},
          {2026, 12, 6, 22, 0, 0}, {2026, 12, 6, 21, 0, 0}, {2026, 12, 6, 21, 0, 0}, {2026, 12, 6, 21, 0, 0},
          {2026, 12, 6, 20, 0, 0}},
         "Dec 06 2026 21:00", 9},
    };
    for (const Case& c : cases) {
        SetClock(c.readings);
        EXPECT_EQ(c.expected, ReadTimestampLine(ScriptedClock)) << c.what;
        EXPECT_EQ(c.readingsTaken, gReadingsTaken) << c.what;
    }
}

class WeatherRecordFile : public ::testing::Test {
protected:
    void SetUp() override { SetClock({kExampleTime}); }
    void TearDown() override {
        FileError ignored;
        CloseAllFiles(ignored);
    }
    test::TestDirectory dir;
    const std::string path = dir.File("WX-DATA.txt");
};

TEST_F(WeatherRecordFile, WorkedExampleByteForByteAndLeftOpen) {
    FileError error;
    WriteWeatherRecord(path, kExampleValues, error, ScriptedClock);
    // The first "Enter" in a folder finds no record to delete: that is no failure.
    EXPECT_EQ(error.code, 0);
    // Windows: written in place, 57 bytes, and held without sharing until the "Enter"
    // handling closes its files. Linux: 55 bytes beside it, and no file yet.
    EXPECT_EQ(test::OutputReplacesFile() ? BytesWrittenTo(kRecordFileNumber) : test::FileSize(path),
              test::OutputReplacesFile() ? 55u : 57u);
    FileError second;
    OpenForInput(path, 3, second);
    EXPECT_EQ(second.code, test::OutputReplacesFile() ? file_error::kFileNotFound : file_error::kPermissionDenied);
    CloseAllFiles(error);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(test::ReadBytes(path),
              "Dec 06 2026 14:05" + test::Eol() + test::worked_example::kDataLine + test::Eol());
    EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), 0u);
}

TEST_F(WeatherRecordFile, EachPressReplacesTheWholeFile) {
    test::WriteBytes(path, std::string(1000, 'x') + "\r\n");
    FileError error;
    SetClock({{2027, 5, 1, 9, 7, 0}});
    WriteWeatherRecord(path, kExampleValues, error, ScriptedClock);
    CloseAllFiles(error);
    SetClock({{2027, 5, 1, 0, 0, 0}});
    WriteWeatherRecord(path, {"...", "...", "...", "...", "...", "...", "...", "..", "....."}, error, ScriptedClock);
    CloseAllFiles(error);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(test::ReadBytes(path), "Mai 01 2027 00:00" + test::Eol() + ".../...g...t...r...p...P...h..b....." + test::Eol());
}

TEST_F(WeatherRecordFile, RefusedRecordIsReportedAndLeftAlone) {
    struct Case {
        const char* what;
        std::string recordPath;
        bool holdOpen;
        std::uint8_t expectedCode;
    };
    const Case cases[] = {
        {"folder missing", FileInFolder(dir.File("gone"), "WX-DATA.txt"), false, file_error::kPathNotFound},
        {"held by another program", path, true, file_error::kPermissionDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.holdOpen) test::WriteBytes(c.recordPath, "earlier report\r\n");
        const std::string before = test::ReadBytes(c.recordPath);
        FileError error;
        {
            std::unique_ptr<test::OtherOpener> holder;
            if (c.holdOpen) {
                holder = std::make_unique<test::OtherOpener>(c.recordPath);
                ASSERT_TRUE(holder->holds());
            }
            WriteWeatherRecord(c.recordPath, kExampleValues, error, ScriptedClock);
            CloseAllFiles(error);
        }
        EXPECT_EQ(error.code, c.expectedCode);
        EXPECT_EQ(test::ReadBytes(c.recordPath), before);
    }
}

// A record file number that is still open from elsewhere must not get the lines: the
// open is refused (55) and that file keeps its bytes.
TEST_F(WeatherRecordFile, NumberAlreadyOpenGetsNoLines) {
    const std::string other = dir.File("other.txt");
    FileError error;
    OpenForOutput(other, kRecordFileNumber, error);
    WriteText(kRecordFileNumber, "mine", error);
    ASSERT_EQ(error.code, 0);
    WriteWeatherRecord(path, kExampleValues, error, ScriptedClock);
    EXPECT_EQ(error.code, file_error::kAlreadyOpen);
    CloseAllFiles(error);
    EXPECT_EQ(test::ReadBytes(other), "mine");
    EXPECT_EQ(test::ReadBytes(path), "<missing>");
}

TEST_F(WeatherRecordFile, TimestampComesFromTheLocalClock) {
    const ClockReading before = ReadLocalClock();
    FileError error;
    WriteWeatherRecord(path, kExampleValues, error);
    const ClockReading after = ReadLocalClock();
    CloseAllFiles(error);
    const std::string written = test::ReadBytes(path).substr(0, 17);
    EXPECT_TRUE(written == TimestampLine(FormatDateText(before), FormatTimeText(before)) ||
                written == TimestampLine(FormatDateText(after), FormatTimeText(after)))
        << "written=" << written << " before=" << FormatTimeText(before) << " after=" << FormatTimeText(after);
}

}  // namespace
}  // namespace kobrant
