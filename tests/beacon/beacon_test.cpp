#include "beacon/beacon.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/record_check.h"

namespace kobrant {
namespace {

// The fake system of a row: the record file's text (none: the file is missing) or the
// way its read fails, the path it was asked for, and a zone one hour ahead of UTC
// (Central European winter time).
std::optional<std::string> gFile;
RecordFileRead gFailure = RecordFileRead::kRead;
std::string gPathAsked;

RecordFileRead FakeRead(const std::string& path, std::size_t limit, std::string& text, int& systemError) {
    gPathAsked = path;
    systemError = 0;
    if (gFailure != RecordFileRead::kRead) return gFailure;
    if (!gFile) return RecordFileRead::kMissing;
    text = gFile->substr(0, limit + 1);
    return RecordFileRead::kRead;
}

bool OneHourAhead(const ClockReading& local, std::int64_t& utc) {
    utc = CalendarSeconds(local) - 3600;
    return true;
}

std::int64_t LocalSeconds(std::string_view timestampLine) {
    ClockReading time;
    EXPECT_TRUE(ReadTimestampLine(timestampLine, time)) << timestampLine;
    return CalendarSeconds(time) - 3600;
}

constexpr char kPosition[] = "5231.00N/01324.00E";
constexpr char kExample[] = "Dec 06 2026 14:05\r\n270/011g018t068r000p006P008h65b10132\r\n";
constexpr char kExamplePacket[] = "@061305z5231.00N/01324.00E_270/011g018t068r000p006P008h65b10132";
constexpr char kNow[] = "Dec 06 2026 14:10";  // local time; five minutes after the example

// Each of kobrant-beacon's answers: what it prints on standard output (exactly) and
// what its standard error holds, for its arguments, the record file and the time now.
TEST(BeaconAnswers, Table) {
    struct Case {
        std::string_view name;
        std::vector<std::string> arguments;
        std::optional<std::string> file;  // none: missing
        std::string_view now;             // local time
        int exitStatus;
        std::string_view out;
        std::string_view err;  // a part of standard error ("" : nothing at all)
        RecordFileRead failure = RecordFileRead::kRead;
        int nowSeconds = 0;  // seconds after the minute `now`
    };
    const std::vector<std::string> folder = {kPosition, "/srv/wetter"};
    const auto with = [&folder](std::vector<std::string> more) {
        std::vector<std::string> arguments = folder;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const std::string lf = "Dec 06 2026 14:05\n270/011g018t068r000p006P008h65b10132\n";
    const Case cases[] = {
        // Fresh: the answer.
        {"fresh, CR LF", folder, kExample, kNow, 0, kExamplePacket, ""},
        {"fresh, LF", folder, lf, kNow, 0, kExamplePacket, ""},
        {"just written", folder, kExample, "Dec 06 2026 14:05", 0, kExamplePacket, ""},
        {"60 minutes old", folder, kExample, "Dec 06 2026 15:05", 0, kExamplePacket, ""},
        // the record's minute is all its time says: it may have been 14:05:59
        {"60 minutes 59 seconds old", folder, kExample, "Dec 06 2026 15:05", 0, kExamplePacket, "",
         RecordFileRead::kRead, 59},
        {"the current folder", {kPosition}, kExample, kNow, 0, kExamplePacket, ""},
        {"options before operands", {"--max-age", "5", kPosition, "/srv/wetter"}, kExample, kNow, 0, kExamplePacket, ""},
        {"--max-age=1440, a day old", with({"--max-age=1440"}), kExample, "Dec 07 2026 14:05", 0, kExamplePacket, ""},
        {"southern and western", {"3352.12S/15112.50W", "/srv/wetter"}, kExample, kNow, 0,
         "@061305z3352.12S/15112.50W_270/011g018t068r000p006P008h65b10132", ""},
        {"UTC in the year before", folder, "Jan 01 2027 00:30\n.../...g...t032r...p...P...h..b.....\n",
         "Jan 01 2027 00:31", 0, "@312330z5231.00N/01324.00E_.../...g...t032r...p...P...h..b.....", ""},
        {"5 minutes ahead", folder, kExample, "Dec 06 2026 14:00", 0, kExamplePacket, ""},
        // No answer, and the reason.
        {"61 minutes old", folder, kExample, "Dec 06 2026 15:06", 1, "",
         "/srv/wetter/WX-DATA.txt: Bericht von Dec 06 2026 14:05 ist 61 Minuten alt, erlaubt sind 60\n"},
        {"older than --max-age", with({"--max-age", "3"}), kExample, kNow, 1, "", "ist 5 Minuten alt, erlaubt sind 3"},
        {"days old", folder, kExample, "Dec 09 2026 09:00", 1, "", "ist 4015 Minuten alt"},
        {"6 minutes ahead", folder, kExample, "Dec 06 2026 13:59", 1, "", "liegt 6 Minuten in der Zukunft"},
        {"5 minutes 1 second ahead", folder, kExample, "Dec 06 2026 13:59", 1, "", "liegt 5 Minuten in der Zukunft (Uhr",
         RecordFileRead::kRead, 59},
        {"a year ahead", folder, "Dec 06 2027 14:05\n270/011g018t068r000p006P008h65b10132\n", kNow, 1, "",
         "in der Zukunft"},
        {"half-written: first line", folder, "Dec 06 2026 14:05\r\n", kNow, 1, "", "nur die Zeitzeile"},
        {"half-written: second line cut", folder, "Dec 06 2026 14:05\r\n270/011g0", kNow, 1, "",
         "nicht genau zwei Zeilen"},
        {"empty", folder, "", kNow, 1, "", "/srv/wetter/WX-DATA.txt: leer\n"},
        {"garbage data line", folder, "Dec 06 2026 14:05\r\nWetter gut\r\n", kNow, 1, "", "Zeile 2 ist keine Datenzeile"},
        {"garbage first line", folder, "14:05\r\n270/011g018t068r000p006P008h65b10132\r\n", kNow, 1, "",
         "Zeile 1 ist keine Zeitzeile"},
        {"all missing", folder, "Dec 06 2026 14:05\r\n.../...g...t...r...p...P...h..b.....\r\n", kNow, 1, "",
         "kein einziger Wert"},
        {"no file", folder, std::nullopt, kNow, 1, "", "/srv/wetter/WX-DATA.txt: nicht da"},
        {"no file, the current folder", {kPosition}, std::nullopt, kNow, 1, "", "kobrant-beacon: WX-DATA.txt: nicht da"},
        {"larger than a record can be", folder, std::string(kExample) + std::string(300, 'x'), kNow, 1, "",
         "mehr als 256 Bytes"},
        {"held while written", folder, kExample, kNow, 1, "", "gesperrt", RecordFileRead::kHeld},
        {"a folder in its place", folder, kExample, kNow, 1, "", "keine gewoehnliche Datei", RecordFileRead::kNotRegular},
        {"unreadable", folder, kExample, kNow, 1, "", "nicht lesbar (Fehler 0)", RecordFileRead::kUnreadable},
        // Usage errors.
        {"no POSITION", {}, kExample, kNow, 2, "", "POSITION fehlt"},
        {"POSITION without longitude", {"5231.00N"}, kExample, kNow, 2, "", "POSITION \"5231.00N\""},
        {"latitude 91", {"9100.00N/01324.00E"}, kExample, kNow, 2, "", "ist nicht DDMM.mmN/DDDMM.mmE"},
        {"longitude past 180", {"5231.00N/18000.01E"}, kExample, kNow, 2, "", "ist nicht DDMM.mmN/DDDMM.mmE"},
        {"Dire Wolf's form", {"52^31.00N/013^24.00E"}, kExample, kNow, 2, "", "ist nicht"},
        {"hemisphere X", {"5231.00X/01324.00E"}, kExample, kNow, 2, "", "ist nicht"},
        {"unknown option", with({"--max-agee", "5"}), kExample, kNow, 2, "", "unbekannte Option \"--max-agee\""},
        {"short option", with({"-m"}), kExample, kNow, 2, "", "unbekannte Option \"-m\""},
        {"--max-age 0", with({"--max-age", "0"}), kExample, kNow, 2, "", "MINUTEN von 1 bis 1440"},
        {"--max-age 1441", with({"--max-age", "1441"}), kExample, kNow, 2, "", "MINUTEN von 1 bis 1440"},
        {"--max-age not a number", with({"--max-age", "1h"}), kExample, kNow, 2, "", "MINUTEN von 1 bis 1440"},
        {"--max-age last", with({"--max-age"}), kExample, kNow, 2, "", "--max-age ohne MINUTEN"},
        {"three operands", with({"more"}), kExample, kNow, 2, "", "zu viele Argumente (\"more\")"},
        {"--help with more", with({"--help"}), kExample, kNow, 2, "", "unbekannte Option \"--help\""},
    };
    for (const Case& c : cases) {
        gFile = c.file;
        gFailure = c.failure;
        BeaconSystem system;
        system.readRecordFile = FakeRead;
        system.localToUtc = OneHourAhead;
        system.now = LocalSeconds(c.now) + c.nowSeconds;
        const BeaconAnswer answer = RunBeacon(c.arguments, system);
        EXPECT_EQ(answer.exitStatus, c.exitStatus) << c.name << "\n" << answer.err;
        EXPECT_EQ(answer.out, c.out) << c.name;
        if (c.err.empty()) {
            EXPECT_EQ(answer.err, "") << c.name;
        } else {
            EXPECT_NE(answer.err.find(c.err), std::string::npos) << c.name << ": " << answer.err;
            EXPECT_EQ(answer.err.rfind("kobrant-beacon: ", 0), 0u) << c.name << ": " << answer.err;
        }
        if (c.exitStatus == 1) {
            EXPECT_EQ(answer.err.find('\n'), answer.err.size() - 1) << c.name << ": one line: " << answer.err;
        }
        if (c.exitStatus == 2) {
            EXPECT_NE(answer.err.find("\nAufruf: kobrant-beacon POSITION"), std::string::npos) << c.name;
        }
    }
}

TEST(BeaconAnswers, HelpAndVersionGoToStandardOutput) {
    BeaconSystem system;  // neither reads anything
    const BeaconAnswer help = RunBeacon({"--help"}, system);
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Aufruf: kobrant-beacon POSITION [ORDNER] [--max-age MINUTEN]\n", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    const BeaconAnswer version = RunBeacon({"--version"}, system);
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("kobrant-beacon ", 0), 0u) << version.out;
}

TEST(BeaconAnswers, CommentExamples) {
    EXPECT_TRUE(IsAprsPosition("5231.00N/01324.00E"));
    EXPECT_TRUE(IsAprsPosition("9000.00S/18000.00W"));
    EXPECT_FALSE(IsAprsPosition("9000.01N/01324.00E"));
    EXPECT_FALSE(IsAprsPosition("5260.00N/01324.00E"));
    EXPECT_FALSE(IsAprsPosition("5231.00N\\01324.00E"));
}

}  // namespace
}  // namespace kobrant
