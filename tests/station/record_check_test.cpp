#include "station/record_check.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "station/weather_record.h"

namespace kobrant {
namespace {

bool operator==(const ClockReading& a, const ClockReading& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

std::string Text(const ClockReading& t) {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) + " " +
           std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

constexpr std::string_view kExampleLine = "270/011g018t068r000p006P008h65b10132";

TEST(RecordCheck, CommentExamples) {
    EXPECT_EQ(DigitsAt("Dec 06 2026", 4, 2), 6);
    EXPECT_EQ(DigitsAt("Dec 06", 3, 2), -1);
    EXPECT_EQ(DigitsAt("06", 1, 2), -1);
    ClockReading t;
    EXPECT_TRUE(ReadTimestampLine("Dec 06 2026 14:05", t));
    EXPECT_TRUE(t == ClockReading({2026, 12, 6, 14, 5, 0})) << Text(t);
    EXPECT_TRUE(ReadTimestampLine("Mai 31 2027 00:00", t));
    EXPECT_FALSE(ReadTimestampLine("May 31 2027 00:00", t));
    EXPECT_FALSE(ReadTimestampLine("Feb 29 2027 10:00", t));
    EXPECT_FALSE(ReadTimestampLine("Dec 06 2026 24:00", t));
    EXPECT_FALSE(ReadTimestampLine("Dec 06 2026 14:05\r", t));
    EXPECT_TRUE(IsDataLine("270/011g018t068r000p006P008h65b10132"));
    EXPECT_TRUE(IsDataLine("315/006g013t-05r001p016P004h92b09987"));
    EXPECT_TRUE(IsDataLine(".../...g...t...r...p...P...h..b....."));
    EXPECT_FALSE(IsDataLine("270/011g018t068r000p006P008h65b1013"));
    EXPECT_FALSE(IsDataLine("270/011g018t0-5r000p006P008h65b10132"));
    EXPECT_FALSE(IsDataLine("270/011g018t068r000p006P008h...b10132"));
    EXPECT_TRUE(AllValuesMissing(".../...g...t...r...p...P...h..b....."));
    EXPECT_FALSE(AllValuesMissing(".../...g...t068r...p...P...h..b....."));
    const CheckedRecord record = CheckRecord("Dec 06 2026 14:05\r\n270/011g018t068r000p006P008h65b10132\r\n");
    EXPECT_EQ(record.fault, RecordFault::kNone);
    EXPECT_TRUE(record.time == ClockReading({2026, 12, 6, 14, 5, 0})) << Text(record.time);
    EXPECT_EQ(record.dataLine, kExampleLine);
    EXPECT_EQ(CheckRecord("Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n").fault, RecordFault::kNone);
    EXPECT_EQ(CheckRecord("Dec 06 2026 14:05\r\n").fault, RecordFault::kFirstLineOnly);
    EXPECT_EQ(CheckRecord("Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132").fault,
              RecordFault::kNotTwoLines);
    EXPECT_EQ(CalendarSeconds({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(CalendarSeconds({2026, 12, 6, 13, 5, 0}), 1796562300);
    EXPECT_TRUE(CalendarTime(1796562300) == ClockReading({2026, 12, 6, 13, 5, 0}));
}

// Every record the writer can make reads back: each month's name, each value kind.
TEST(RecordCheck, WhatTheWriterWritesReadsBack) {
    for (int month = 1; month <= 12; ++month) {
        const ClockReading written = {2027, month, month == 2 ? 28 : 30, 23, 59, 41};
        const std::string line = TimestampLine(FormatDateText(written), FormatTimeText(written));
        ClockReading read;
        ASSERT_TRUE(ReadTimestampLine(line, read)) << line;
        EXPECT_TRUE(read == ClockReading({2027, month, written.day, 23, 59, 0})) << line << " -> " << Text(read);
    }
    const ValueTexts extremes = {"999", "-99", "...", "000", "-05", "999", "...", "-9", "01000"};
    EXPECT_TRUE(IsDataLine(DataLine(extremes))) << DataLine(extremes);
}

// One row per kind of record a reader may find: as written on either system, caught
// while written, damaged, or something else in the record's place.
TEST(RecordCheck, FaultsOfRecordTexts) {
    struct Case {
        std::string_view name;
        std::string_view text;
        RecordFault fault;
    };
    const Case cases[] = {
        {"one value", "Mai 01 2027 00:00\n.../...g...t-13r...p...P...h..b.....\n", RecordFault::kNone},
        {"leap day", "Feb 29 2028 12:00\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kNone},
        {"empty", "", RecordFault::kEmpty},
        {"first line without its end", "Dec 06 2026 14:05", RecordFault::kNotTwoLines},
        {"first line and CR", "Dec 06 2026 14:05\r", RecordFault::kNotTwoLines},
        {"second line cut", "Dec 06 2026 14:05\r\n270/011g018t0", RecordFault::kNotTwoLines},
        {"three lines", "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n\n", RecordFault::kNotTwoLines},
        {"two records", "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\nDec 06 2026 14:05\n",
         RecordFault::kNotTwoLines},
        {"no timestamp", "hello\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kBadTimestamp},
        {"a garbage first line alone", "\x01\x02\n", RecordFault::kBadTimestamp},
        {"English May", "May 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kBadTimestamp},
        {"31 April", "Apr 31 2026 14:05\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kBadTimestamp},
        {"minute 60", "Dec 06 2026 14:60\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kBadTimestamp},
        {"blank in the day", "Dec  6 2026 14:05\n270/011g018t068r000p006P008h65b10132\n", RecordFault::kBadTimestamp},
        {"garbage data line", "Dec 06 2026 14:05\nhello world\n", RecordFault::kBadDataLine},
        {"empty data line", "Dec 06 2026 14:05\n\n", RecordFault::kBadDataLine},
        {"keys swapped", "Dec 06 2026 14:05\n270/011g018t068r000P006p008h65b10132\n", RecordFault::kBadDataLine},
        {"blank for a digit", "Dec 06 2026 14:05\n270/ 11g018t068r000p006P008h65b10132\n", RecordFault::kBadDataLine},
        {"one character more", "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b101320\n", RecordFault::kBadDataLine},
        {"a comment after it", "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132 x\n", RecordFault::kBadDataLine},
        {"half dots", "Dec 06 2026 14:05\n2../011g018t068r000p006P008h65b10132\n", RecordFault::kBadDataLine},
        {"sign alone", "Dec 06 2026 14:05\n270/011g018t068r000p006P008h-.b10132\n", RecordFault::kBadDataLine},
        {"plus sign", "Dec 06 2026 14:05\n270/011g018t+68r000p006P008h65b10132\n", RecordFault::kBadDataLine},
        {"all missing", "Dec 06 2026 14:05\r\n.../...g...t...r...p...P...h..b.....\r\n", RecordFault::kNoValue},
    };
    for (const Case& c : cases) {
        const CheckedRecord record = CheckRecord(c.text);
        EXPECT_EQ(record.fault, c.fault) << c.name;
        if (c.fault != RecordFault::kNone) {
            EXPECT_EQ(record.dataLine, "") << c.name;
        }
    }
}

// The calendar's arithmetic at the edges where it is easiest to get wrong, both ways.
TEST(RecordCheck, CalendarSecondsAndBack) {
    struct Case {
        ClockReading time;
        std::int64_t seconds;
    };
    const Case cases[] = {
        {{1970, 1, 1, 0, 0, 0}, 0},
        {{1969, 12, 31, 23, 59, 59}, -1},
        {{2000, 2, 29, 12, 0, 0}, 951825600},
        {{2000, 3, 1, 0, 0, 0}, 951868800},
        {{2026, 12, 31, 23, 30, 0}, 1798759800},
        {{2100, 3, 1, 0, 0, 0}, 4107542400},  // 2100 has no 29 February
        {{9999, 12, 31, 23, 59, 59}, 253402300799},
        {{0, 1, 1, 0, 0, 0}, -62167219200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CalendarSeconds(c.time), c.seconds) << Text(c.time);
        EXPECT_TRUE(CalendarTime(c.seconds) == c.time) << c.seconds << " -> " << Text(CalendarTime(c.seconds));
    }
}

}  // namespace
}  // namespace kobrant
