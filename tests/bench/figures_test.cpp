#include "bench/figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kobrant::bench {
namespace {

// A /proc/PID/stat line with the given command name, utime 7, stime 5 and start 8861.
std::string StatLine(const std::string& comm) {
    return "4342 (" + comm +
           ") S 1 4341 4341 0 -1 4194560 2874 0 0 0 7 5 0 0 20 0 1 0 8861 "
           "289796096 5313 18446744073709551615 1 1 0 0 0 0 0 4096 0 0 0 0 17 1 0 0 0 0 0\n";
}

TEST(Median, MiddleSampleOrMeanOfTheTwoMiddleOnes) {
    struct Case {
        std::vector<double> samples;
        double median;
    };
    const Case cases[] = {
        {{5}, 5},
        {{3, 1, 2}, 2},
        {{4, 1, 3, 2}, 2.5},
        {{9, 9, 1}, 9},
        {{10, 400, 11, 12, 13}, 12},  // one slow run does not move it
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.median, Median(c.samples)) << "samples=" << ::testing::PrintToString(c.samples);
    }
    EXPECT_TRUE(std::isnan(Median({})));
}

TEST(ProcReadings, StatFieldsAreCountedAfterTheLastParenthesis) {
    struct Case {
        std::string stat;
        std::optional<std::uint64_t> cpuTicks;
        std::optional<std::uint64_t> startTicks;
    };
    const Case cases[] = {
        {StatLine("kobrant.exe"), 12, 8861},
        {StatLine("a b) S 9 (c"), 12, 8861},  // a command name may hold blanks and ')'
        {"4342 (kobrant.exe) S 1 4341 4341 0 -1 4194560 2874 0 0 0 7", std::nullopt, std::nullopt},
        {"4342 kobrant.exe S 1", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.cpuTicks, CpuTicksFromStat(c.stat)) << "stat=" << c.stat;
        EXPECT_EQ(c.startTicks, StartTicksFromStat(c.stat)) << "stat=" << c.stat;
    }
}

TEST(ProcReadings, SchedstatGivesItsFirstNumber) {
    struct Case {
        std::string schedstat;
        std::optional<std::uint64_t> nanoseconds;
    };
    const Case cases[] = {
        {"3147267 475968 2\n", 3147267},
        {"420568263243 9970 15967", 420568263243},
        {"", std::nullopt},
        {"-5 1 1", std::nullopt},
        {"12x 1 1", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.nanoseconds, NanosecondsFromSchedstat(c.schedstat)) << "schedstat=" << c.schedstat;
    }
}

TEST(ProcReadings, StatusLineByItsWholeName) {
    const std::string status =
        "Name:\tkobrant.exe\nVmPeak:\t  289796 kB\nVmHWMx:\t 1 kB\nVmHWM:\t   21252 kB\nVmRSS:\t   21252 kB\n";
    struct Case {
        std::string status;
        std::string name;
        std::optional<std::uint64_t> kib;
    };
    const Case cases[] = {
        {status, "VmHWM", 21252},  // not the VmHWMx line before it
        {status, "VmPeak", 289796},
        {status, "VmSwap", std::nullopt},
        {"VmHWM:\t 21252 pages\n", "VmHWM", std::nullopt},
        {"VmHWM:\t 21252 kB", "VmHWM", 21252},  // no line end at the end of the file
        {"", "VmHWM", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.kib, KibFromStatus(c.status, c.name)) << "name=" << c.name << " status=" << c.status;
    }
}

TEST(ProcReadings, EnvironmentValueByItsWholeName) {
    using namespace std::string_literals;
    const std::string environment = "HOME=/root\0WINEPREFIX2=/other\0WINEPREFIX=/work/prefix\0EMPTY=\0"s;
    struct Case {
        std::string name;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"WINEPREFIX", "/work/prefix"},
        {"HOME", "/root"},
        {"EMPTY", ""},
        {"WINE", std::nullopt},
        {"DISPLAY", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, EnvironmentValue(environment, c.name)) << "name=" << c.name;
    EXPECT_EQ(std::nullopt, EnvironmentValue("", "WINEPREFIX"));
}

TEST(ProcReadings, CommandNameIsTheFirst15Bytes) {
    EXPECT_EQ("kobrant.exe", CommandNameOf("kobrant.exe"));
    EXPECT_EQ("bench_baseline.", CommandNameOf("bench_baseline.exe"));
    EXPECT_EQ("", CommandNameOf(""));
}

TEST(ForeignImports, OnlyTheSystemsOwnDllsPassInAnyCase) {
    struct Case {
        std::vector<std::string> dlls;
        std::vector<std::string> foreign;
    };
    const Case cases[] = {
        {{"KERNEL32.dll", "msvcrt.dll", "ole32.dll", "USER32.dll", "GDI32.dll"}, {}},
        {{"kernel32.DLL", "User32.Dll"}, {}},
        {{"KERNEL32.dll", "libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"},
         {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"}},
        {{"ADVAPI32.dll", "kernel32"}, {"ADVAPI32.dll", "kernel32"}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.foreign, ForeignImports(c.dlls)) << "dlls=" << ::testing::PrintToString(c.dlls);
    }
}

TEST(Verdict, RatioOfMediansOrTheProgramsMedianAgainstItsLimit) {
    struct Case {
        const char* what;
        Row row;
        std::string ratio;
        std::string verdict;
    };
    const Case cases[] = {
        {"at the ratio limit", {"", {12, 11, 13}, {10, 9, 40}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "1.20x", "yes"},
        {"above it", {"", {13}, {10}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "1.30x", "no"},
        {"faster than the baseline", {"", {5}, {10}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "0.50x", "yes"},
        {"judged against the same-UI baseline, not the empty dialog",
         {"", {21}, {20}, {5}, Judged::ByRatio, 1.05, "", 0, ""}, "1.05x", "yes"},
        {"the empty dialog alone judges nothing", {"", {5}, {}, {5}, Judged::ByRatio, 1.2, "", 0, ""}, "-", "-"},
        {"baseline of 0", {"", {5}, {0}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "-", "-"},
        {"no baseline samples", {"", {5}, {}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "-", "-"},
        {"no program samples", {"", {}, {5}, {}, Judged::ByRatio, 1.2, "", 0, ""}, "-", "-"},
        {"under the limit", {"", {3.5, 9.9, 11}, {}, {}, Judged::ByLimit, 10, "", 0, ""}, "-", "yes"},
        {"over the limit", {"", {10.5, 11}, {}, {}, Judged::ByLimit, 10, "", 0, ""}, "-", "no"},
        {"not judged", {"", {50}, {10}, {}, Judged::NotJudged, 0, "", 0, ""}, "5.00x", "-"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.ratio, RatioText(Median(c.row.program), Median(c.row.sameUi))) << c.what;
        EXPECT_EQ(c.verdict, Verdict(c.row)) << c.what;
    }
}

TEST(TableText, OneLinePerRowWithMediansRangesRatiosTargetAndVerdict) {
    Report report;
    report.title = "2026-12-07: test";
    report.rows = {
        {"start-up (ms)", {110, 100, 130}, {100, 90, 95}, {50, 55}, Judged::ByRatio, 1.05, "", 1, ""},
        {"\"Enter\" (ms)", {4.31}, {}, {}, Judged::ByLimit, 10, "ms", 1, "no \"Enter\""},
        {"wineserver (ms)", {}, {7}, {}, Judged::NotJudged, 0, "", 0, ""},
    };
    report.textRows = {
        {"DLLs", "KERNEL32.dll, USER32.dll", "GDI32.dll, USER32.dll", "USER32.dll", "system DLLs only", true}};
    report.notes = {"Medians of 3 runs."};
    EXPECT_EQ("### 2026-12-07: test\n"
              "\n"
              "| figure | kobrant.exe | same-UI baseline | ratio | empty-dialog baseline | ratio (reference) | target "
              "| met |\n"
              "|---|---|---|---|---|---|---|---|\n"
              "| start-up (ms) | 110.0 (100.0-130.0) | 95.0 (90.0-100.0) | 1.16x | 52.5 (50.0-55.0) | 2.10x "
              "| <= 1.05x | no |\n"
              "| \"Enter\" (ms) | 4.3 | no \"Enter\" | - | no \"Enter\" | - | <= 10.0 ms | yes |\n"
              "| wineserver (ms) | - | 7 | - | - | - | - | - |\n"
              "| DLLs | KERNEL32.dll, USER32.dll | GDI32.dll, USER32.dll | - | USER32.dll | - | system DLLs only "
              "| yes |\n"
              "\n"
              "Medians of 3 runs.\n",
              TableText(report));
}

TEST(TableText, TwoProgramsWhenThereIsNoEmptyDialogColumn) {
    Report report;
    report.title = "terminal";
    report.programColumn = "kobrant";
    report.sameUiColumn = "dialog --form";
    report.emptyDialogColumn = "";
    report.rows = {{"start-up (ms)", {10, 12}, {20}, {}, Judged::ByRatio, 1.0, "", 1, ""}};
    EXPECT_EQ("### terminal\n\n| figure | kobrant | dialog --form | ratio | target | met |\n|---|---|---|---|---|---|\n"
              "| start-up (ms) | 11.0 (10.0-12.0) | 20.0 | 0.55x | <= 1.00x | yes |\n",
              TableText(report));
}

}  // namespace
}  // namespace kobrant::bench
