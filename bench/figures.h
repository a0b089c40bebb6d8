#pragma once
// The benchmark's arithmetic and its table, apart from any measuring: medians, ratios,
// the readings of Linux's /proc files, the check of a program's DLL imports and the
// markdown table. Portable.
//
//   Median({3, 1, 2})                                  -> 2
//   Median({4, 1, 3, 2})                               -> 2.5
//   Median({})                                         -> NaN
//   CpuTicksFromStat("42 (kobrant.exe) S 1 ... 7 5 ...") -> 12   (utime + stime)
//   NanosecondsFromSchedstat("3147267 475968 2\n")     -> 3147267
//   KibFromStatus("...VmHWM:\t   8632 kB\n...", "VmHWM") -> 8632
//   EnvironmentValue("A=1\0WINEPREFIX=/p\0", "WINEPREFIX") -> "/p"
//   CommandNameOf("a_long_program_name.exe")           -> "a_long_program_" (15 bytes)
//   ForeignImports({"KERNEL32.dll", "libstdc++-6.dll"}) -> {"libstdc++-6.dll"}

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kobrant::bench {

// The middle sample, or the mean of the two middle ones; NaN for no samples.
double Median(std::vector<double> samples);

// Linux /proc readings, each nothing for a text it cannot read. utime + stime, in clock
// ticks, of /proc/PID/stat, whose fields are counted after the last ')': the command
// name in parentheses may hold blanks and parentheses itself.
std::optional<std::uint64_t> CpuTicksFromStat(std::string_view stat);

// The start time (field 22, clock ticks after boot) of /proc/PID/stat.
std::optional<std::uint64_t> StartTicksFromStat(std::string_view stat);

// The first number of /proc/PID/task/TID/schedstat: time spent on a CPU, nanoseconds.
std::optional<std::uint64_t> NanosecondsFromSchedstat(std::string_view schedstat);

// A "Name:   1234 kB" line of /proc/PID/status, in KiB.
std::optional<std::uint64_t> KibFromStatus(std::string_view status, std::string_view name);

// A variable of /proc/PID/environ (NUL-separated NAME=value entries).
std::optional<std::string> EnvironmentValue(std::string_view environment, std::string_view name);

// The name Linux keeps in /proc/PID/comm for a program file's name: its first 15 bytes.
std::string CommandNameOf(std::string_view fileName);

// The DLLs of the list that are not among those every Windows system has (KERNEL32,
// USER32, GDI32, OLE32, msvcrt), compared without regard to case. A runtime DLL
// (libstdc++, libgcc, winpthread) would have to be shipped beside the program.
std::vector<std::string> ForeignImports(const std::vector<std::string>& dlls);

// The table. Each row holds the samples of the three programs and how kobrant.exe's
// figure is judged: against the same-UI baseline's (a ratio), a fixed limit, or not at
// all. The empty-dialog baseline's figure and ratio are for reference.
enum class Judged { ByRatio, ByLimit, NotJudged };

struct Row {
    std::string figure;               // what is measured, with its unit
    std::vector<double> program;      // kobrant.exe, one sample per run
    std::vector<double> sameUi;       // the same-UI baseline; empty where it has no such figure
    std::vector<double> emptyDialog;  // the empty-dialog baseline; likewise
    Judged judged = Judged::NotJudged;
    double limit = 0;                 // ByRatio: the highest ratio; ByLimit: the highest figure
    std::string unit;                 // of a limit, in the target column ("ms", "bytes")
    int decimals = 0;                 // of the figures in the table
    std::string baselineNote;         // shown instead of a baseline's figure when it has none
};

// A row whose figures are texts (the imports): shown as they are, met or not.
struct TextRow {
    std::string figure;
    std::string program;
    std::string sameUi;
    std::string emptyDialog;
    std::string target;
    bool met = false;
};

struct Report {
    std::string title;                // the heading line
    std::vector<std::string> notes;   // lines under the table: how and where it was measured
    std::vector<Row> rows;
    std::vector<TextRow> textRows;
    // The programs' columns; without an empty-dialog column the table has two programs.
    std::string programColumn = "kobrant.exe";
    std::string sameUiColumn = "same-UI baseline";
    std::string emptyDialogColumn = "empty-dialog baseline";
};

// "1.08x", or "-" when either median is missing or the baseline's is 0.
std::string RatioText(double program, double baseline);

// Whether the row meets its target: "yes", "no", or "-" for a row not judged or
// without samples. A ratio is kobrant.exe's median over the same-UI baseline's.
std::string Verdict(const Row& row);

// The markdown table: a heading, then one line per row with the medians (and the
// lowest and highest sample) of kobrant.exe, the same-UI baseline with the ratio to it,
// the empty-dialog baseline with the ratio to it, the target and the verdict, then the
// notes.
std::string TableText(const Report& report);

}  // namespace kobrant::bench
