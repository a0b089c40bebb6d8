// bench_driver.exe: measures kobrant.exe as the operator feels it (start-up, "Enter",
// idle cost, memory) beside the same-UI and the empty-dialog baselines and prints one
// markdown table. tools/bench builds the three programs and runs this under Wine;
// docs/bench.md tells how and why each figure is taken. Paths may be Linux paths.
//
//   bench_driver.exe --program K.exe --same-ui S.exe --baseline B.exe --work FOLDER [--out TABLE.md]
//       [--runs 18] [--idle-runs 5] [--idle-seconds 10] [--enter-presses 5]
//       [--size-program BYTES] [--imports-program "DLL, DLL"] (and so for same-ui and baseline)

#include "host/win32.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/baseline.h"
#include "bench/figures.h"
#include "bench/process_gauge.h"
#include "driver/driver.h"

namespace kobrant::bench {
namespace {

constexpr double kEnterPauseMs = 300;      // the confirmation flash the handler must make
constexpr DWORD kWindowTimeoutMs = 30000;  // a cold Wine start can take seconds
constexpr DWORD kEnterTimeoutMs = 10000;
constexpr DWORD kSettleMs = 1000;          // after the last action, before the idle interval
constexpr DWORD kBetweenEntersMs = 200;

// What was measured of one program, one sample per run.
struct Samples {
    std::vector<double> toBox, toDialog, startup, enter, idleProcess, idleServer, idleBoth, peakKib;
    std::vector<std::string> problems;
};

// One of the three programs: what to start and look for, and what was measured of it.
struct Subject {
    std::string label;   // in the log and the run folders' names
    std::string option;  // of its command-line options: --program, --size-program, --imports-program
    std::string boxCaption;
    std::string dialogCaption;
    bool hasEnter = false;
    std::string exe{};
    std::string size{};          // of a stripped copy, in bytes (from tools/bench)
    std::string imports{};       // its DLLs, "KERNEL32.dll, USER32.dll" (from tools/bench)
    std::string seedSettings{};  // a settings file copied into each run's folder, or ""
    Samples samples{};
};

enum SubjectIndex { kProgram, kSameUi, kEmptyDialog };

struct Bench {
    Subject subjects[3] = {{"kobrant", "program", kRecordPathCaption, kEntryDialogCaption, true},
                           {"same-ui", "same-ui", kRecordPathCaption, kEntryDialogCaption, false},
                           {"empty", "baseline", kBaselineBoxCaption, kBaselineDialogCaption, false}};
    std::string workFolder;
    std::string outFile;
    int runs = 18;  // start-up rounds; a multiple of 6 takes every order of the three equally often
    int idleRuns = 5;
    int idleSeconds = 10;
    int enterPresses = 5;
    std::string procFolder = WindowsPath("/proc");  // Linux's, seen through drive Z:
    std::optional<std::string> winePrefix;  // this process's, which the programs it starts share
    std::string serverFolder;               // the wineserver's
};

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One start up to the dialog shown: the dialog and the two waits the operator has.
struct Shown {
    HWND dialog = nullptr;
    double toBox = 0;     // from just before the process is made to the box shown
    double toDialog = 0;  // from OK to the dialog shown
};

bool ShowDialog(const Subject& subject, const std::string& folder, driver::Program& program, Shown& shown,
                std::string& problem) {
    if (!subject.seedSettings.empty()) {
        CopyFileA(subject.seedSettings.c_str(), (folder + "\\kobrant.ctl").c_str(), FALSE);
    }
    const double started = NowMs();
    if (!driver::StartProgram(subject.exe, folder, program, problem)) return false;
    HWND box = driver::WaitUntilShown(program, driver::kDialogClass, subject.boxCaption, kWindowTimeoutMs);
    shown.toBox = NowMs() - started;
    const double okPressed = NowMs();
    if (box != nullptr && driver::PressButton(box, IDOK)) {
        shown.dialog = driver::WaitUntilShown(program, driver::kDialogClass, subject.dialogCaption, kWindowTimeoutMs);
    }
    shown.toDialog = NowMs() - okPressed;
    if (shown.dialog != nullptr) return true;
    problem = box == nullptr ? "no message box \"" + subject.boxCaption + "\""
                             : "no dialog \"" + subject.dialogCaption + "\" after OK";
    return false;
}

// Clicks "Enter" the given number of times, kBetweenEntersMs apart, and times each: a
// cross-process SendMessage returns once the dialog has handled the click, its
// WM_COMMAND included. Each press's time beyond the pause goes to enters.
bool PressEnters(HWND dialog, int presses, const std::string& folder, std::vector<double>& enters,
                 std::string& problem) {
    HWND button = GetDlgItem(dialog, kEnterButtonId);
    for (int press = 0; press < presses; ++press) {
        Sleep(kBetweenEntersMs);
        DWORD_PTR answer = 0;
        const double start = NowMs();
        const bool answered = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kEnterTimeoutMs, &answer) != 0;
        const double elapsed = NowMs() - start;
        if (!answered || elapsed < kEnterPauseMs) {
            problem = answered ? "\"Enter\" returned after " + std::to_string(elapsed) + " ms, without its pause"
                               : "\"Enter\" (id 1028) was not handled within " + std::to_string(kEnterTimeoutMs) + " ms";
            return false;
        }
        enters.push_back(elapsed - kEnterPauseMs);
    }
    if (presses > 0 && GetFileAttributesA((folder + "\\WX-DATA.txt").c_str()) == INVALID_FILE_ATTRIBUTES) {
        problem = "\"Enter\" wrote no WX-DATA.txt";
        return false;
    }
    return true;
}

struct IdleReading {
    double process = NAN;  // CPU time of the process in the interval, ms
    double server = NAN;   // of the wineserver
    double peakKib = NAN;  // the process's peak memory after it
};

// The idle interval, kSettleMs after the last action, of the process in its /proc folder.
IdleReading MeasureIdle(const std::string& processFolder, const Bench& bench) {
    Sleep(kSettleMs);
    const double processBefore = CpuMilliseconds(processFolder);
    const double serverBefore = CpuMilliseconds(bench.serverFolder);
    const double from = NowMs();
    Sleep(static_cast<DWORD>(bench.idleSeconds) * 1000);
    // Scaled to exactly the interval asked for; Sleep may come back a little late.
    const double scale = bench.idleSeconds * 1000.0 / (NowMs() - from);
    return {(CpuMilliseconds(processFolder) - processBefore) * scale,
            (CpuMilliseconds(bench.serverFolder) - serverBefore) * scale, PeakKib(processFolder)};
}

// The Linux process behind the program just started from exe: the newest of this
// Wine prefix whose command name is the file's name.
std::string ProcessFolderOf(const std::string& exe, const Bench& bench) {
    const std::string name = CommandNameOf(exe.substr(exe.find_last_of("\\/") + 1));
    return NewestProcess(bench.procFolder, [&](std::string_view comm) { return comm == name; }, bench.winePrefix);
}

bool Close(driver::Program& program, HWND dialog, std::string& problem) {
    driver::PressCloseBox(dialog);
    DWORD exitCode = 0;
    if (driver::WaitForExit(program, driver::kExitTimeoutMs, exitCode)) return true;
    problem = "still running " + std::to_string(driver::kExitTimeoutMs) + " ms after its dialog was closed";
    return false;
}

void NoteStartUp(const Shown& shown, Subject& subject) {
    subject.samples.toBox.push_back(shown.toBox);
    subject.samples.toDialog.push_back(shown.toDialog);
    subject.samples.startup.push_back(shown.toBox + shown.toDialog);
}

void NoteActions(const std::vector<double>& enters, const IdleReading& idle, Subject& subject) {
    Samples& samples = subject.samples;
    samples.enter.insert(samples.enter.end(), enters.begin(), enters.end());
    if (!std::isnan(idle.process)) samples.idleProcess.push_back(idle.process);
    if (!std::isnan(idle.process + idle.server)) {
        samples.idleServer.push_back(idle.server);
        samples.idleBoth.push_back(idle.process + idle.server);
    }
    if (!std::isnan(idle.peakKib)) samples.peakKib.push_back(idle.peakKib);
}

// What a start is for: nothing (the first start), the start-up alone, or all but it.
enum class RunKind { Unmeasured, StartUp, Actions };

// One start of the subject in the folder: shown, measured as kind asks and closed.
bool RunOnce(Subject& subject, const std::string& folder, RunKind kind, const Bench& bench, std::string& problem) {
    driver::Program program;
    Shown shown;
    if (!ShowDialog(subject, folder, program, shown, problem)) return false;
    std::vector<double> enters;
    IdleReading idle;
    if (kind == RunKind::Actions) {
        const int presses = subject.hasEnter ? bench.enterPresses : 0;
        if (!PressEnters(shown.dialog, presses, folder, enters, problem)) return false;
        idle = MeasureIdle(ProcessFolderOf(subject.exe, bench), bench);
    }
    if (!Close(program, shown.dialog, problem)) return false;
    if (kind == RunKind::StartUp) NoteStartUp(shown, subject);
    if (kind == RunKind::Actions) NoteActions(enters, idle, subject);
    return true;
}

// Starts the subject once in a fresh folder of its own and notes what went wrong.
void Start(Subject& subject, RunKind kind, const std::string& run, const Bench& bench) {
    const std::string folder = bench.workFolder + "\\" + subject.label + "-" + run;
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\WX-DATA.txt").c_str());
    DeleteFileA((folder + "\\kobrant.ctl").c_str());
    std::string problem;
    if (RunOnce(subject, folder, kind, bench, problem)) return;
    std::fprintf(stderr, "bench: %s, %s: %s\n", subject.label.c_str(), run.c_str(), problem.c_str());
    subject.samples.problems.push_back(run + ": " + problem);
}

// The start-up rounds' orders: in six rounds each program comes first, second and third
// twice and follows each other one twice, so that a busier or quieter machine weighs on all alike.
constexpr int kOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};

// The start-ups come in rounds of their own, before those of the other figures, so that
// no measured start follows an idle interval (an idle spell before a start was seen to
// slow it by 15 to 25 % and to scatter the ratio).
void MeasureAll(Bench& bench) {
    // One unmeasured start of each: Wine loads its DLLs from disk once, and kobrant.exe's
    // first start writes the settings file that every measured run starts with.
    std::fprintf(stderr, "bench: first starts\n");
    for (int index : {kEmptyDialog, kSameUi, kProgram}) {
        Start(bench.subjects[index], RunKind::Unmeasured, "first", bench);
    }
    const std::string seed = bench.workFolder + "\\kobrant-first\\kobrant.ctl";
    if (GetFileAttributesA(seed.c_str()) != INVALID_FILE_ATTRIBUTES) bench.subjects[kProgram].seedSettings = seed;

    for (int round = 0; round < bench.runs; ++round) {
        std::fprintf(stderr, "bench: start-up round %d of %d\n", round + 1, bench.runs);
        for (int index : kOrders[round % 6]) {
            Start(bench.subjects[index], RunKind::StartUp, "start-" + std::to_string(round + 1), bench);
        }
    }
    for (int round = 0; round < bench.idleRuns; ++round) {
        std::fprintf(stderr, "bench: \"Enter\", idle and memory, round %d of %d\n", round + 1, bench.idleRuns);
        for (int i = 0; i < 3; ++i) {
            Start(bench.subjects[(round + i) % 3], RunKind::Actions, "idle-" + std::to_string(round + 1), bench);
        }
    }
}

// The DLLs of a list as tools/bench gives it, "KERNEL32.dll, USER32.dll".
std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = std::min(list.find(", ", at), list.size());
        if (end > at) items.push_back(list.substr(at, end - at));
        at = end + 2;
    }
    return items;
}

std::string Title() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const char* wine = WineVersion();
    char date[16];
    std::snprintf(date, sizeof date, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return std::string(date) + ": kobrant.exe beside the same-UI and the empty-dialog baselines, " +
           (wine != nullptr ? "Wine " + std::string(wine) : "Windows") + ", " +
           std::to_string(system.dwNumberOfProcessors) + " CPUs";
}

std::vector<Row> FigureRows(const Bench& bench) {
    const Subject (&s)[3] = bench.subjects;
    // The row of a figure that all three programs have, by its samples.
    const auto row = [&](std::string figure, std::vector<double> Samples::*of, Judged judged, double limit,
                         int decimals) {
        return Row{figure, s[0].samples.*of, s[1].samples.*of, s[2].samples.*of, judged, limit, "", decimals, ""};
    };
    const auto size = [](const Subject& subject) {
        return subject.size.empty() ? std::vector<double>{} : std::vector{std::strtod(subject.size.c_str(), nullptr)};
    };
    const std::string idle = std::to_string(bench.idleSeconds) + " s";
    return {
        row("start-up: process start to message box shown (ms)", &Samples::toBox, Judged::NotJudged, 0, 1),
        row("start-up: OK to dialog shown (ms)", &Samples::toDialog, Judged::NotJudged, 0, 1),
        row("start-up: the two together (ms)", &Samples::startup, Judged::ByRatio, 1.05, 1),
        {"\"Enter\": click to the handler's return, less the 300 ms pause (ms)", s[kProgram].samples.enter, {}, {},
         Judged::ByLimit, 10, "ms", 1, "no \"Enter\" handler"},
        row("idle: CPU time of the process in " + idle + " (ms)", &Samples::idleProcess, Judged::ByRatio, 1.2, 0),
        row("idle: CPU time of wineserver in the same " + idle + " (ms)", &Samples::idleServer, Judged::NotJudged, 0, 0),
        row("idle: process and wineserver together (ms)", &Samples::idleBoth, Judged::ByRatio, 1.2, 0),
        row("memory: peak resident size, dialog open (KiB)", &Samples::peakKib, Judged::ByRatio, 1.2, 0),
        {"size: .exe stripped (bytes)", size(s[0]), size(s[1]), size(s[2]), Judged::ByLimit, 327680, "bytes", 0, ""},
    };
}

TextRow ImportsRow(const Bench& bench) {
    const auto shown = [&](int index) {
        return bench.subjects[index].imports.empty() ? "-" : bench.subjects[index].imports;
    };
    const std::vector<std::string> imports = SplitList(bench.subjects[kProgram].imports);
    return {"size: DLLs imported", shown(kProgram), shown(kSameUi), shown(kEmptyDialog), "system DLLs only",
            !imports.empty() && ForeignImports(imports).empty()};
}

// How the figures were taken in this run (docs/bench.md tells more) and what went wrong.
std::vector<std::string> Notes(const Bench& bench, const std::string& loadBefore, const std::string& loadAfter) {
    std::vector<std::string> notes = {
        "Medians, the lowest and highest in brackets: start-up of " + std::to_string(bench.runs) + " rounds of "
            "the three programs one straight after the other, in changing order; \"Enter\" (" +
            std::to_string(bench.enterPresses) + " presses a start), idle (" + std::to_string(kSettleMs) + " ms "
            "after the last action) and memory of " + std::to_string(bench.idleRuns) + " further starts of each. "
            "Ratios: kobrant.exe's median over the baseline's; the targets are judged against the same-UI one.",
        "",
        "- CPU time and memory of the Linux process behind each program (/proc/PID/task/*/schedstat, VmHWM of "
        "/proc/PID/status); wineserver's time includes the rest of the Wine session.",
        "- Size: a copy stripped with x86_64-w64-mingw32-strip; imports from x86_64-w64-mingw32-objdump -p.",
        "- Load average of the machine before and after: " + loadBefore + " / " + loadAfter + ".",
    };
    for (const Subject& subject : bench.subjects) {
        for (const std::string& problem : subject.samples.problems) notes.push_back("- " + subject.label + ": " + problem);
    }
    return notes;
}

std::string LoadAverage() {
    const std::string loadavg = ReadTextFile(WindowsPath("/proc/loadavg"));
    const std::size_t third = loadavg.find(' ', loadavg.find(' ', loadavg.find(' ') + 1) + 1);
    return loadavg.empty() ? "unknown" : loadavg.substr(0, third);
}

bool ReadBench(int argc, char** argv, Bench& bench) {
    if (argc % 2 == 0) return false;
    std::map<std::string, std::string> given;
    for (int i = 1; i + 1 < argc; i += 2) given[argv[i]] = argv[i + 1];
    const auto text = [&](const std::string& name) { return given.count(name) != 0 ? given[name] : std::string(); };
    for (Subject& subject : bench.subjects) {
        subject.exe = WindowsPath(text("--" + subject.option));
        subject.size = text("--size-" + subject.option);
        subject.imports = text("--imports-" + subject.option);
        if (subject.exe.empty()) return false;
    }
    bench.workFolder = WindowsPath(text("--work"));
    bench.outFile = WindowsPath(text("--out"));
    for (auto [name, value] : {std::pair{"--runs", &bench.runs}, {"--idle-runs", &bench.idleRuns},
                               {"--idle-seconds", &bench.idleSeconds}, {"--enter-presses", &bench.enterPresses}}) {
        if (given.count(name) != 0) *value = std::atoi(given[name].c_str());
    }
    return !bench.workFolder.empty() && bench.runs > 0 && bench.idleRuns >= 0 && bench.idleSeconds > 0;
}

bool WriteTable(const std::string& table, const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fputs(table.c_str(), out) >= 0;
    return std::fclose(out) == 0 && written;
}

}  // namespace
}  // namespace kobrant::bench

int main(int argc, char** argv) {
    using namespace kobrant::bench;
    Bench bench;
    if (!ReadBench(argc, argv, bench)) {
        std::fputs("usage: bench_driver --program EXE --same-ui EXE --baseline EXE --work FOLDER [--out FILE]\n"
                   "  [--runs N] [--idle-runs N] [--idle-seconds S] [--enter-presses N] [--size-program BYTES]\n"
                   "  [--imports-program \"DLL, ...\"] (--size- and --imports- for same-ui and baseline too)\n",
                   stderr);
        return 2;
    }
    CreateDirectoryA(bench.workFolder.c_str(), nullptr);
    if (const char* prefix = std::getenv("WINEPREFIX")) bench.winePrefix = prefix;
    bench.serverFolder = NewestProcess(
        bench.procFolder, [](std::string_view comm) { return comm.rfind("wineserver", 0) == 0; }, bench.winePrefix);
    const std::string loadBefore = LoadAverage();
    MeasureAll(bench);

    Report report;
    report.title = Title();
    report.notes = Notes(bench, loadBefore, LoadAverage());
    report.rows = FigureRows(bench);
    report.textRows = {ImportsRow(bench)};
    const std::string table = TableText(report);
    std::fputs(table.c_str(), stdout);
    if (!bench.outFile.empty() && !WriteTable(table, bench.outFile)) {
        std::fprintf(stderr, "bench: cannot write %s\n", bench.outFile.c_str());
        return 1;
    }
    for (const Subject& subject : bench.subjects) {
        if (!subject.samples.problems.empty()) return 1;
    }
    return 0;
}
