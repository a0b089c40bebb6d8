// bench_driver.exe: measures kobrant.exe as the operator feels it (start-up, "Enter",
// idle cost, memory) beside the same-UI and the empty-dialog baselines and prints one
// markdown table. tools/bench builds the three programs and runs this under Wine;
// docs/bench.md tells how and why each figure is taken. Paths may be Linux paths.
//
//   bench_driver.exe --program K.exe --same-ui S.exe --baseline B.exe --work FOLDER
//                    [--out TABLE.md] [--runs 18] [--idle-runs 5] [--idle-seconds 10]
//                    [--enter-presses 5] [--size-program BYTES] [--imports-program DLL,DLL]
//                    (--size- and --imports- for same-ui and baseline alike)

#include "host/win32.h"

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
    std::string label;  // in the log and the run folders' names
    std::string exe;
    std::string boxCaption;
    std::string dialogCaption;
    bool hasEnter = false;
    std::string size;          // of a stripped copy, in bytes (from tools/bench)
    std::string imports;       // its DLLs, comma-separated (from tools/bench)
    std::string seedSettings;  // a settings file copied into each run's folder, or ""
    Samples samples;
};

enum SubjectIndex { kProgram, kSameUi, kEmptyDialog };

struct Bench {
    Subject subjects[3];  // by SubjectIndex
    std::string workFolder;
    std::string outFile;
    int runs = 18;  // start-up rounds; a multiple of 6 takes every order of the three equally often
    int idleRuns = 5;
    int idleSeconds = 10;
    int enterPresses = 5;
    std::string procFolder = WindowsPath("/proc");
    std::string serverFolder;  // the wineserver's, in procFolder
};

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
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
    if (box == nullptr) {
        problem = "no message box \"" + subject.boxCaption + "\"";
        return false;
    }
    const double okPressed = NowMs();
    driver::PressButton(box, IDOK);
    shown.dialog = driver::WaitUntilShown(program, driver::kDialogClass, subject.dialogCaption, kWindowTimeoutMs);
    shown.toDialog = NowMs() - okPressed;
    if (shown.dialog == nullptr) problem = "no dialog \"" + subject.dialogCaption + "\" after OK";
    return shown.dialog != nullptr;
}

// Clicks "Enter" and times it: a cross-process SendMessage returns once the dialog has
// handled the button's click, its WM_COMMAND included. Gives the time beyond the pause.
bool PressEnter(HWND dialog, double& beyondPauseMs, std::string& problem) {
    HWND button = GetDlgItem(dialog, kEnterButtonId);
    if (button == nullptr) {
        problem = "the dialog has no \"Enter\" button (id 1028)";
        return false;
    }
    DWORD_PTR answer = 0;
    const double start = NowMs();
    const bool answered = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kEnterTimeoutMs, &answer) != 0;
    const double elapsed = NowMs() - start;
    if (!answered) {
        problem = "\"Enter\" was not handled within " + std::to_string(kEnterTimeoutMs) + " ms";
        return false;
    }
    if (elapsed < kEnterPauseMs) {
        problem = "\"Enter\" returned after " + std::to_string(elapsed) + " ms, without its pause";
        return false;
    }
    beyondPauseMs = elapsed - kEnterPauseMs;
    return true;
}

// Presses "Enter" the given number of times, kBetweenEntersMs apart, and checks that
// the record was written.
bool PressEnters(HWND dialog, int presses, const std::string& folder, std::vector<double>& enters,
                 std::string& problem) {
    for (int press = 0; press < presses; ++press) {
        Sleep(kBetweenEntersMs);
        double beyondPause = 0;
        if (!PressEnter(dialog, beyondPause, problem)) return false;
        enters.push_back(beyondPause);
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

std::optional<std::string> WinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix != nullptr ? std::optional<std::string>(prefix) : std::nullopt;
}

// The Linux process behind the program just started from exe: the newest of this
// Wine prefix whose command name is the file's name.
std::string ProcessFolderOf(const std::string& exe, const Bench& bench) {
    const std::string name = CommandNameOf(exe.substr(exe.find_last_of("\\/") + 1));
    return NewestProcess(bench.procFolder, [&](std::string_view comm) { return comm == name; }, WinePrefix());
}

bool Close(driver::Program& program, HWND dialog, std::string& problem) {
    driver::PressCloseBox(dialog);
    DWORD exitCode = 0;
    if (driver::WaitForExit(program, driver::kExitTimeoutMs, exitCode)) return true;
    problem = "still running " + std::to_string(driver::kExitTimeoutMs) + " ms after its dialog was closed";
    return false;
}

void NoteStartUp(const Shown& shown, Subject& subject) {
    std::fprintf(stderr, "bench:   %-8s box %.1f ms, dialog %.1f ms\n", subject.label.c_str(), shown.toBox,
                 shown.toDialog);
    subject.samples.toBox.push_back(shown.toBox);
    subject.samples.toDialog.push_back(shown.toDialog);
    subject.samples.startup.push_back(shown.toBox + shown.toDialog);
}

void NoteActions(const std::vector<double>& enters, const IdleReading& idle, Subject& subject) {
    char enter[48] = "";
    if (!enters.empty()) std::snprintf(enter, sizeof enter, " \"Enter\" +%.1f ms (median),", Median(enters));
    std::fprintf(stderr, "bench:   %-8s%s idle %.1f + %.1f ms, peak %.1f KiB\n", subject.label.c_str(), enter,
                 idle.process, idle.server, idle.peakKib);
    Samples& samples = subject.samples;
    samples.enter.insert(samples.enter.end(), enters.begin(), enters.end());
    if (!std::isnan(idle.process)) samples.idleProcess.push_back(idle.process);
    if (!std::isnan(idle.process + idle.server)) {
        samples.idleServer.push_back(idle.server);
        samples.idleBoth.push_back(idle.process + idle.server);
    }
    if (!std::isnan(idle.peakKib)) samples.peakKib.push_back(idle.peakKib);
}

// What a start is for: none measured (the first start of each program), its start-up
// alone (closed as soon as the dialog is shown), or everything but the start-up.
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

// The orders of the three programs in the start-up rounds: in six rounds each program
// comes first, second and third twice, and each follows each other one twice, so that a
// machine that gets busier or quieter meanwhile weighs on all alike.
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

std::vector<double> Single(const std::string& number) {
    if (number.empty()) return {};
    return {std::strtod(number.c_str(), nullptr)};
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = std::min(list.find(',', at), list.size());
        if (end > at) items.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return items;
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text.empty() ? "-" : text;
}

// The heading: the date, what is compared, under which Wine and on how many CPUs.
std::string Title() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const char* wine = WineVersion();
    char text[160];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u: kobrant.exe beside the same-UI and the empty-dialog baselines, %s%s, %lu CPUs",
                  now.wYear, now.wMonth, now.wDay, wine != nullptr ? "Wine " : "Windows", wine != nullptr ? wine : "",
                  static_cast<unsigned long>(system.dwNumberOfProcessors));
    return text;
}

std::vector<Row> FigureRows(const Bench& bench) {
    const Samples& k = bench.subjects[kProgram].samples;
    const Samples& s = bench.subjects[kSameUi].samples;
    const Samples& e = bench.subjects[kEmptyDialog].samples;
    const std::string idle = std::to_string(bench.idleSeconds) + " s";
    return {
        {"start-up: process start to message box shown (ms)", k.toBox, s.toBox, e.toBox, Judged::NotJudged, 0, "", 1,
         ""},
        {"start-up: OK to dialog shown (ms)", k.toDialog, s.toDialog, e.toDialog, Judged::NotJudged, 0, "", 1, ""},
        {"start-up: the two together (ms)", k.startup, s.startup, e.startup, Judged::ByRatio, 1.05, "", 1, ""},
        {"\"Enter\": click to the handler's return, less the 300 ms pause (ms)", k.enter, {}, {}, Judged::ByLimit, 10,
         "ms", 1, "no \"Enter\" handler"},
        {"idle: CPU time of the process in " + idle + " (ms)", k.idleProcess, s.idleProcess, e.idleProcess,
         Judged::ByRatio, 1.2, "", 0, ""},
        {"idle: CPU time of wineserver in the same " + idle + " (ms)", k.idleServer, s.idleServer, e.idleServer,
         Judged::NotJudged, 0, "", 0, ""},
        {"idle: process and wineserver together (ms)", k.idleBoth, s.idleBoth, e.idleBoth, Judged::ByRatio, 1.2, "", 0,
         ""},
        {"memory: peak resident size, dialog open (KiB)", k.peakKib, s.peakKib, e.peakKib, Judged::ByRatio, 1.2, "", 0,
         ""},
        {"size: .exe stripped (bytes)", Single(bench.subjects[kProgram].size), Single(bench.subjects[kSameUi].size),
         Single(bench.subjects[kEmptyDialog].size), Judged::ByLimit, 327680, "bytes", 0, ""},
    };
}

TextRow ImportsRow(const Bench& bench) {
    const std::vector<std::string> imports = SplitList(bench.subjects[kProgram].imports);
    return {"size: DLLs imported", JoinList(imports), JoinList(SplitList(bench.subjects[kSameUi].imports)),
            JoinList(SplitList(bench.subjects[kEmptyDialog].imports)), "system DLLs only",
            !imports.empty() && ForeignImports(imports).empty()};
}

// How the figures were taken in this run (docs/bench.md tells more) and what went wrong.
std::vector<std::string> Notes(const Bench& bench, const std::string& loadBefore, const std::string& loadAfter) {
    std::vector<std::string> notes = {
        "Start-up: medians of " + std::to_string(bench.runs) + " rounds, each starting the three programs one "
            "straight after the other in an order that changes from round to round, after one unmeasured start "
            "of each; \"Enter\" (" + std::to_string(bench.enterPresses) + " presses a start), idle (" +
            std::to_string(bench.idleSeconds) + " s, " + std::to_string(kSettleMs) + " ms after the last "
            "action) and memory: medians of " + std::to_string(bench.idleRuns) + " further starts of each. Lowest "
            "and highest in brackets. Each ratio is kobrant.exe's median over the baseline's from this run; the "
            "targets are judged against the same-UI baseline, the empty dialog is for reference.",
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
    const auto subject = [&](const char* label, const char* option, const char* box, const char* dialog) {
        return Subject{label, WindowsPath(text(std::string("--") + option)), box, dialog, false,
                       text(std::string("--size-") + option), text(std::string("--imports-") + option), "", {}};
    };
    bench.subjects[kProgram] = subject("kobrant", "program", kRecordPathCaption, kEntryDialogCaption);
    bench.subjects[kProgram].hasEnter = true;
    bench.subjects[kSameUi] = subject("same-ui", "same-ui", kRecordPathCaption, kEntryDialogCaption);
    bench.subjects[kEmptyDialog] = subject("empty", "baseline", kBaselineBoxCaption, kBaselineDialogCaption);
    bench.workFolder = WindowsPath(text("--work"));
    bench.outFile = WindowsPath(text("--out"));
    for (auto [name, value] : {std::pair{"--runs", &bench.runs}, {"--idle-runs", &bench.idleRuns},
                               {"--idle-seconds", &bench.idleSeconds}, {"--enter-presses", &bench.enterPresses}}) {
        if (given.count(name) != 0) *value = std::atoi(given[name].c_str());
    }
    for (const Subject& s : bench.subjects) {
        if (s.exe.empty()) return false;
    }
    return !bench.workFolder.empty() && bench.runs > 0 && bench.idleRuns >= 0 && bench.idleSeconds > 0;
}

bool WriteTable(const std::string& table, const std::string& path) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    std::fputs(table.c_str(), out);
    return std::fclose(out) == 0;
}

}  // namespace
}  // namespace kobrant::bench

int main(int argc, char** argv) {
    using namespace kobrant::bench;
    Bench bench;
    if (!ReadBench(argc, argv, bench)) {
        std::fputs("usage: bench_driver --program EXE --same-ui EXE --baseline EXE --work FOLDER [--out FILE]\n"
                   "       [--runs N] [--idle-runs N] [--idle-seconds S] [--enter-presses N]\n"
                   "       [--size-program|same-ui|baseline BYTES] [--imports-program|same-ui|baseline DLL,...]\n",
                   stderr);
        return 2;
    }
    CreateDirectoryA(bench.workFolder.c_str(), nullptr);
    bench.serverFolder = NewestProcess(
        bench.procFolder, [](std::string_view comm) { return comm.rfind("wineserver", 0) == 0; }, WinePrefix());
    const std::string loadBefore = LoadAverage();
    MeasureAll(bench);

    Report report{Title(), Notes(bench, loadBefore, LoadAverage()), FigureRows(bench), {ImportsRow(bench)}};
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
