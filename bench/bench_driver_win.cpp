// bench_driver.exe: measures kobrant.exe as the operator feels it (start-up, "Enter",
// idle cost, memory) beside two baselines, and prints one markdown table: the same-UI
// baseline (bench/same_ui_win.cpp, the same box and dialog shown by the system's dialog
// manager), against which kobrant.exe is judged, and the empty-dialog baseline
// (bench/baseline_win.cpp), which stands beside them for reference. tools/bench builds
// the three programs, starts a Wine session and runs this with their sizes and imports;
// see docs/bench.md for what each figure means.
//
//   bench_driver.exe --program K.exe --same-ui S.exe --baseline B.exe --work FOLDER
//                    --out TABLE.md [--runs 18] [--idle-runs 5] [--idle-seconds 10]
//                    [--enter-presses 5] [--size-program BYTES --size-same-ui BYTES
//                    --size-baseline BYTES] [--imports-program DLL,DLL
//                    --imports-same-ui DLL,DLL --imports-baseline DLL,DLL]
//
// After one unmeasured start of each program come the start-up rounds (--runs), each
// starting the three programs once, one straight after the other, in an order that
// changes from round to round, so that a machine that gets busier or quieter meanwhile
// weighs on all alike; each is closed as soon as its dialog is shown. Then come the
// rounds of the other figures (--idle-runs): "Enter", the idle interval and the peak
// memory, so that no measured start follows an idle interval (an idle spell before a
// start was seen to slow it by 15 to 25 % and to scatter the ratio). Every figure is
// the median over the runs.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "baseline.h"
#include "driver/driver.h"
#include "entry/window_names.h"
#include "figures.h"
#include "process_gauge.h"

namespace kobrant::bench {
namespace {

constexpr double kEnterPauseMs = 300;       // the confirmation flash the handler must make
constexpr DWORD kWindowTimeoutMs = 30000;   // a cold Wine start can take seconds
constexpr DWORD kEnterTimeoutMs = 10000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kSettleMs = 1000;           // after the last action, before the idle interval
constexpr DWORD kBetweenEntersMs = 200;

struct Plan {
    std::string programExe;
    std::string sameUiExe;
    std::string baselineExe;
    std::string workFolder;
    std::string outFile;
    int runs = 18;  // start-up rounds; a multiple of 6 takes every order of the three equally often
    int idleRuns = 5;
    int idleSeconds = 10;
    int enterPresses = 5;
    std::string sizeProgram, sizeSameUi, sizeBaseline;
    std::string importsProgram, importsSameUi, importsBaseline;
};

struct Samples {
    std::vector<double> toBox, toDialog, startup, enter;
    std::vector<double> idleProcess, idleServer, idleBoth, peakKib;
    std::vector<std::string> problems;
    std::string gaugeMethod;
};

// One of the three programs, what to look for and what was measured of it.
struct Subject {
    std::string label;  // in the log and the run folders' names
    std::string exe;
    std::string boxCaption;
    std::string dialogCaption;
    bool hasEnter = false;
    std::string seedSettings;  // a settings file copied into each run's folder, or ""
    Samples samples;
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

struct VisibleSearch {
    DWORD processId;
    const std::string* caption;
    HWND found = nullptr;
};

// Reads class and caption without sending the process a message (GetWindowTextA of
// another process's window asks the system, not the window), so that looking does not
// slow down what is looked at.
BOOL CALLBACK MatchVisibleDialog(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<VisibleSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
    if (driver::ClassName(window) != driver::kDialogClass) return TRUE;
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (*search.caption != caption) return TRUE;
    search.found = window;
    return FALSE;
}

// Polls every millisecond (as close as Sleep(1) comes) until the process shows a dialog
// window with this caption, painted whole; nullptr when it ends first or the time is up.
HWND WaitUntilShown(const driver::Program& program, const std::string& caption) {
    const double deadline = NowMs() + kWindowTimeoutMs;
    HWND shown = nullptr;
    for (;;) {
        if (shown == nullptr) {
            VisibleSearch search{program.Id(), &caption};
            EnumWindows(MatchVisibleDialog, reinterpret_cast<LPARAM>(&search));
            shown = search.found;
        }
        if (shown != nullptr && driver::Painted(shown)) return shown;
        if (WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0 || NowMs() > deadline) return nullptr;
        Sleep(1);
    }
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

std::string Rounded(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FreshFolder(const std::string& work, const std::string& name) {
    const std::string folder = work + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\WX-DATA.txt").c_str());
    DeleteFileA((folder + "\\kobrant.ctl").c_str());
    return folder;
}

// What a start is for: none measured (the first start of each program), its start-up
// alone (closed as soon as the dialog is shown), or everything but the start-up.
enum class RunKind { Unmeasured, StartUp, Actions };

// One start of a program: shown, answered, measured as kind asks and closed. Figures go
// to the subject's samples; what went wrong goes to problem.
bool RunOnce(Subject& subject, const std::string& folder, const Plan& plan, RunKind kind,
             const std::optional<ProcessGauge>& server, std::string& problem) {
    if (!subject.seedSettings.empty()) {
        CopyFileA(subject.seedSettings.c_str(), (folder + "\\kobrant.ctl").c_str(), FALSE);
    }

    driver::Program program;
    const double started = NowMs();
    if (!driver::StartProgram(subject.exe, folder, program, problem)) return false;
    HWND box = WaitUntilShown(program, subject.boxCaption);
    const double boxShown = NowMs();
    if (box == nullptr) {
        problem = "no message box \"" + subject.boxCaption + "\"";
        return false;
    }
    const double okPressed = NowMs();
    driver::PressButton(box, IDOK);
    HWND dialog = WaitUntilShown(program, subject.dialogCaption);
    const double dialogShown = NowMs();
    if (dialog == nullptr) {
        problem = "no dialog \"" + subject.dialogCaption + "\" after OK";
        return false;
    }

    const bool actions = kind == RunKind::Actions;
    std::vector<double> enters;
    for (int press = 0; actions && subject.hasEnter && press < plan.enterPresses; ++press) {
        Sleep(kBetweenEntersMs);
        double beyondPause = 0;
        if (!PressEnter(dialog, beyondPause, problem)) return false;
        enters.push_back(beyondPause);
    }
    if (!enters.empty() && !FileExists(folder + "\\WX-DATA.txt")) {
        problem = "\"Enter\" wrote no WX-DATA.txt";
        return false;
    }

    double idleProcess = NAN, idleServer = NAN, peak = NAN;
    std::string gaugeMethod;
    if (actions) {
        const ProcessGauge gauge = GaugeFor(program.Process(), subject.exe.substr(subject.exe.find_last_of("\\/") + 1));
        Sleep(kSettleMs);
        const double processBefore = CpuMilliseconds(gauge);
        const double serverBefore = server ? CpuMilliseconds(*server) : NAN;
        const double from = NowMs();
        Sleep(static_cast<DWORD>(plan.idleSeconds) * 1000);
        const double processAfter = CpuMilliseconds(gauge);
        const double serverAfter = server ? CpuMilliseconds(*server) : NAN;
        // Scaled to exactly the interval asked for; Sleep may come back a little late.
        const double scale = plan.idleSeconds * 1000.0 / (NowMs() - from);
        idleProcess = (processAfter - processBefore) * scale;
        idleServer = (serverAfter - serverBefore) * scale;
        peak = PeakKib(gauge);
        gaugeMethod = GaugeMethod(gauge);
    }

    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 0;
    if (!driver::WaitForExit(program, kExitTimeoutMs, exitCode)) {
        problem = "still running " + std::to_string(kExitTimeoutMs) + " ms after its dialog was closed";
        return false;
    }

    Samples& samples = subject.samples;
    if (kind == RunKind::StartUp) {
        std::fprintf(stderr, "bench:   %-8s box %s ms, dialog %s ms\n", subject.label.c_str(),
                     Rounded(boxShown - started).c_str(), Rounded(dialogShown - okPressed).c_str());
        samples.toBox.push_back(boxShown - started);
        samples.toDialog.push_back(dialogShown - okPressed);
        samples.startup.push_back(boxShown - started + dialogShown - okPressed);
    }
    if (actions) {
        std::string enterText;
        for (double enter : enters) enterText += " " + Rounded(enter);
        std::fprintf(stderr, "bench:   %-8s%s%s, idle %s + %s ms, peak %s KiB\n", subject.label.c_str(),
                     enters.empty() ? "" : " \"Enter\" +", enterText.c_str(), Rounded(idleProcess).c_str(),
                     Rounded(idleServer).c_str(), Rounded(peak).c_str());
        samples.enter.insert(samples.enter.end(), enters.begin(), enters.end());
        if (!std::isnan(idleProcess)) {
            samples.idleProcess.push_back(idleProcess);
            if (!std::isnan(idleServer)) {
                samples.idleServer.push_back(idleServer);
                samples.idleBoth.push_back(idleProcess + idleServer);
            }
        }
        if (!std::isnan(peak)) samples.peakKib.push_back(peak);
        samples.gaugeMethod = gaugeMethod;
    }
    return true;
}

std::vector<double> Single(const std::string& number) {
    if (number.empty()) return {};
    return {std::strtod(number.c_str(), nullptr)};
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::size_t at = 0;
    while (at < list.size()) {
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

std::string WineVersion() {
    using VersionFunction = const char*(CDECL*)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto version = ntdll ? reinterpret_cast<VersionFunction>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")))
                         : nullptr;
    return version ? std::string("Wine ") + version() : "Windows";
}

std::string Today() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

std::string LoadAverage() {
    const std::string loadavg = ReadLinuxFile("/proc/loadavg");
    const std::size_t third = loadavg.find(' ', loadavg.find(' ', loadavg.find(' ') + 1) + 1);
    return loadavg.empty() ? "unknown" : loadavg.substr(0, third);
}

Report MakeReport(const Plan& plan, const Subject& program, const Subject& sameUi, const Subject& emptyDialog,
                  const std::string& loadBefore, const std::string& loadAfter) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    Report report;
    report.title = Today() + ": kobrant.exe beside the same-UI and the empty-dialog baselines, " + WineVersion() +
                   ", " + std::to_string(system.dwNumberOfProcessors) + " CPUs";
    const std::string idle = std::to_string(plan.idleSeconds) + " s";
    const Samples& k = program.samples;
    const Samples& s = sameUi.samples;
    const Samples& e = emptyDialog.samples;
    report.rows = {
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
        {"size: .exe stripped (bytes)", Single(plan.sizeProgram), Single(plan.sizeSameUi), Single(plan.sizeBaseline),
         Judged::ByLimit, 327680, "bytes", 0, ""},
    };
    const std::vector<std::string> imports = SplitList(plan.importsProgram);
    const std::vector<std::string> foreign = ForeignImports(imports);
    report.textRows.push_back({"size: DLLs imported", JoinList(imports), JoinList(SplitList(plan.importsSameUi)),
                               JoinList(SplitList(plan.importsBaseline)), "system DLLs only",
                               !imports.empty() && foreign.empty()});

    report.notes = {
        "Start-up: medians of " + std::to_string(plan.runs) +
            " rounds, each starting the three programs one straight after the other, in an order that changes "
            "from round to round, after one unmeasured start of each. \"Enter\", idle and memory: medians of " +
            std::to_string(plan.idleRuns) + " further starts of each (\"Enter\": " +
            std::to_string(plan.enterPresses) +
            " presses a start). Lowest and highest in brackets. Each ratio is kobrant.exe's median over the "
            "baseline's, all from this one benchmark run; the targets are judged against the same-UI baseline, "
            "and the ratio to the empty dialog is for reference.",
        "",
        "- Same-UI baseline: the same message box, then the same dialog (the 30 controls, template font, bold "
        "fonts, colours, edit limits) made by the system's dialog manager from one template with the controls "
        "as its items, run by the same polling loop. Empty-dialog baseline: a message box, then an empty dialog "
        "of the same size, style and font.",
        "- Start-up is a later start: each run has a fresh folder holding the settings file that a first "
        "start wrote. Shown means visible and painted whole (no update region left in the window or its "
        "controls), polled every millisecond (Sleep(1)); OK is posted to the message box. The target is "
        "for the two together, the time the operator waits. No measured start follows an idle interval.",
        "- \"Enter\" is SendMessage(BM_CLICK) to the button, which returns once the dialog has handled the "
        "click; the baselines do nothing on \"Enter\", so the figure is judged on its own.",
        "- Idle: CPU time used in " + idle + " with the dialog open and nothing happening, " +
            std::to_string(kSettleMs) + " ms after the last action. wineserver's time includes whatever else "
            "of the same Wine session ran meanwhile (the virtual desktop).",
        "- Memory: the peak resident size, read after the idle interval.",
        "- Processes measured through " +
            (program.samples.gaugeMethod.empty() ? std::string("-") : program.samples.gaugeMethod) + ".",
        "- Size: a copy stripped with x86_64-w64-mingw32-strip; imports from x86_64-w64-mingw32-objdump -p.",
        "- Load average of the machine before and after: " + loadBefore + " / " + loadAfter + ".",
    };
    for (const Subject* subject : {&program, &sameUi, &emptyDialog}) {
        for (const std::string& problem : subject->samples.problems) {
            report.notes.push_back("- " + subject->label + ": " + problem);
        }
    }
    return report;
}

bool ReadPlan(int argc, char** argv, Plan& plan) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    if ((argc - 1) % 2 != 0) return false;
    auto text = [&](const char* name, std::string& value) {
        if (auto found = options.find(name); found != options.end()) value = found->second;
    };
    auto number = [&](const char* name, int& value) {
        if (auto found = options.find(name); found != options.end()) value = std::atoi(found->second.c_str());
    };
    text("--program", plan.programExe);
    text("--same-ui", plan.sameUiExe);
    text("--baseline", plan.baselineExe);
    text("--work", plan.workFolder);
    text("--out", plan.outFile);
    number("--runs", plan.runs);
    number("--idle-runs", plan.idleRuns);
    number("--idle-seconds", plan.idleSeconds);
    number("--enter-presses", plan.enterPresses);
    text("--size-program", plan.sizeProgram);
    text("--size-same-ui", plan.sizeSameUi);
    text("--size-baseline", plan.sizeBaseline);
    text("--imports-program", plan.importsProgram);
    text("--imports-same-ui", plan.importsSameUi);
    text("--imports-baseline", plan.importsBaseline);
    return !plan.programExe.empty() && !plan.sameUiExe.empty() && !plan.baselineExe.empty() &&
           !plan.workFolder.empty() && plan.runs > 0 && plan.idleRuns >= 0 && plan.idleSeconds > 0;
}

// Starts the subject once in a fresh folder of its own and notes what went wrong.
void Start(Subject& subject, const Plan& plan, RunKind kind, const std::string& folderName,
           const std::optional<ProcessGauge>& server) {
    std::string problem;
    const std::string folder = FreshFolder(plan.workFolder, subject.label + "-" + folderName);
    if (RunOnce(subject, folder, plan, kind, server, problem)) return;
    std::fprintf(stderr, "bench: %s, %s: %s\n", subject.label.c_str(), folderName.c_str(), problem.c_str());
    subject.samples.problems.push_back(folderName + ": " + problem);
}

// The orders of the three programs in the start-up rounds: in six rounds each program
// comes first, second and third twice, and each follows each other one twice.
constexpr int kOrders[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}};

int Run(const Plan& plan) {
    CreateDirectoryA(plan.workFolder.c_str(), nullptr);
    Subject program{"kobrant", plan.programExe, kRecordPathCaption, kEntryDialogCaption, true, "", {}};
    Subject sameUi{"same-ui", plan.sameUiExe, kRecordPathCaption, kEntryDialogCaption, false, "", {}};
    Subject emptyDialog{"empty", plan.baselineExe, kBaselineBoxCaption, kBaselineDialogCaption, false, "", {}};
    Subject* const subjects[3] = {&program, &sameUi, &emptyDialog};
    const std::optional<ProcessGauge> server = WineserverGauge();
    const std::string loadBefore = LoadAverage();

    // One unmeasured start of each: Wine loads its DLLs from disk once, and kobrant.exe's
    // first start writes the settings file that every measured run starts with.
    std::fprintf(stderr, "bench: first starts\n");
    for (Subject* subject : {&emptyDialog, &sameUi, &program}) {
        Start(*subject, plan, RunKind::Unmeasured, "first", server);
    }
    const std::string seed = plan.workFolder + "\\kobrant-first\\kobrant.ctl";
    if (FileExists(seed)) program.seedSettings = seed;

    for (int round = 0; round < plan.runs; ++round) {
        std::fprintf(stderr, "bench: start-up round %d of %d\n", round + 1, plan.runs);
        for (int index : kOrders[round % 6]) {
            Start(*subjects[index], plan, RunKind::StartUp, "start-" + std::to_string(round + 1), server);
        }
    }
    for (int round = 0; round < plan.idleRuns; ++round) {
        std::fprintf(stderr, "bench: \"Enter\", idle and memory, round %d of %d\n", round + 1, plan.idleRuns);
        for (int i = 0; i < 3; ++i) {
            Start(*subjects[(round + i) % 3], plan, RunKind::Actions, "idle-" + std::to_string(round + 1), server);
        }
    }

    const std::string table = TableText(MakeReport(plan, program, sameUi, emptyDialog, loadBefore, LoadAverage()));
    std::fputs(table.c_str(), stdout);
    if (!plan.outFile.empty()) {
        FILE* out = std::fopen(plan.outFile.c_str(), "wb");
        if (out == nullptr) {
            std::fprintf(stderr, "bench: cannot write %s\n", plan.outFile.c_str());
            return 1;
        }
        std::fputs(table.c_str(), out);
        std::fclose(out);
    }
    for (const Subject* subject : subjects) {
        if (!subject->samples.problems.empty()) return 1;
    }
    return 0;
}

}  // namespace
}  // namespace kobrant::bench

int main(int argc, char** argv) {
    kobrant::bench::Plan plan;
    if (!kobrant::bench::ReadPlan(argc, argv, plan)) {
        std::fputs("usage: bench_driver --program EXE --same-ui EXE --baseline EXE --work FOLDER [--out FILE]\n"
                   "       [--runs N] [--idle-runs N] [--idle-seconds S] [--enter-presses N]\n"
                   "       [--size-program BYTES] [--size-same-ui BYTES] [--size-baseline BYTES]\n"
                   "       [--imports-program DLL,...] [--imports-same-ui DLL,...] [--imports-baseline DLL,...]\n",
                   stderr);
        return 2;
    }
    return kobrant::bench::Run(plan);
}
