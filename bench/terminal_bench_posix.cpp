// The terminal benchmark (tools/bench --terminal): the Linux kobrant beside its
// same-form baseline, Debian's dialog with a form of the same nine rows
// (terminal_baseline.h), each started in a pseudo-terminal of the benchmark's own.
//
// Each start gets a fresh folder holding a settings file with the same texts as the
// baseline's form, the first field empty; a terminal of 80 x 24, TERM=xterm-256color,
// LC_ALL=C.UTF-8, and HOME set to the folder (no dialog configuration of the user's).
//
// - Start-up: from just before the process is made (forkpty) to the last byte of the
//   form fully drawn: once every text the form shows last has come (the title, the
//   last row, both buttons) and then nothing more for kQuietMs, the time of the last
//   byte read. A program that has drawn its form waits for a key and writes nothing.
// - A keystroke to its echo: a digit written to the terminal (typed into the first
//   field, which is empty in both, so each key adds one character), to the last byte of
//   the answer, the same way (the digit has come, then nothing for kKeyQuietMs).
// - Memory: the process's peak resident size (VmHWM) after the keys.
// Then the program is ended with SIGTERM. The rounds alternate which program starts
// first; one unmeasured start of each comes before them.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "bench/process_gauge.h"
#include "bench/terminal_baseline.h"

namespace kobrant::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kQuietMs = 300;
constexpr int kKeyQuietMs = 150;
constexpr int kTimeoutMs = 10000;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A program in a pseudo-terminal of its own, and what it has written.
class PseudoTerminal {
public:
    PseudoTerminal(const std::vector<std::string>& argv, const std::string& folder) {
        std::vector<std::string> environment = {"TERM=xterm-256color", "LC_ALL=C.UTF-8", "HOME=" + folder,
                                                "PATH=/usr/bin:/bin"};
        std::vector<char*> args, env;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
        args.push_back(nullptr);
        env.push_back(nullptr);
        winsize size{};
        size.ws_row = 24;
        size.ws_col = 80;
        started_ = Clock::now();
        process_ = forkpty(&master_, nullptr, nullptr, &size);
        if (process_ == 0) {
            if (chdir(folder.c_str()) == 0) execve(args[0], args.data(), env.data());
            _exit(127);
        }
    }
    ~PseudoTerminal() {
        if (process_ > 0) {
            kill(process_, SIGTERM);
            // Drain what it writes while it ends, so that it is never blocked on a full terminal.
            while (waitpid(process_, nullptr, WNOHANG) == 0) ReadFor(20);
        }
        if (master_ >= 0) close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool Started() const { return process_ > 0 && master_ >= 0; }
    Clock::time_point StartTime() const { return started_; }
    int ProcessId() const { return process_; }
    const std::string& Output() const { return output_; }

    // Waits until every text has come since `from` (an offset into the output) and the
    // program has then written nothing for quietMs; the time of the last byte, or
    // nothing after kTimeoutMs.
    std::optional<Clock::time_point> LastByte(std::size_t from, const std::vector<std::string>& texts, int quietMs) {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kTimeoutMs);
        while (Clock::now() < deadline) {
            bool all = true;
            for (const std::string& text : texts) all = all && output_.find(text, from) != std::string::npos;
            if (all && MsBetween(last_, Clock::now()) >= quietMs) return last_;
            if (!ReadFor(all ? quietMs - static_cast<int>(MsBetween(last_, Clock::now())) : 50) && !alive_) break;
        }
        return std::nullopt;
    }

    void Write(const std::string& bytes) {
        if (write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) alive_ = false;
    }

private:
    // Reads what comes within ms; false when nothing came.
    bool ReadFor(int ms) {
        pollfd input{master_, POLLIN, 0};
        if (poll(&input, 1, ms < 1 ? 1 : ms) <= 0) return false;
        char buffer[65536];
        const ssize_t got = read(master_, buffer, sizeof buffer);
        if (got <= 0) {
            alive_ = false;  // EIO: the program has gone, and with it the terminal's other end
            return false;
        }
        last_ = Clock::now();
        output_.append(buffer, static_cast<std::size_t>(got));
        return true;
    }

    int master_ = -1;
    int process_ = -1;
    bool alive_ = true;
    Clock::time_point started_, last_;
    std::string output_;
};

struct Program {
    std::string name;
    std::vector<std::string> argv;  // "{folder}" in a word stands for the run's folder
    std::vector<std::string> drawnLast;
};

struct Samples {
    std::vector<double> startup, key, memory, drawnBytes;
};

// One start of a program in a fresh folder holding the settings file; false with why.
bool MeasureOnce(const Program& program, const std::string& folder, const std::string& settings, int keys,
                 Samples& samples, std::string& why) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/kobrant.ctl", std::ios::binary) << settings;
    std::vector<std::string> argv;
    for (std::string word : program.argv) {
        const std::size_t at = word.find("{folder}");
        if (at != std::string::npos) word.replace(at, 8, folder);
        argv.push_back(word);
    }
    PseudoTerminal terminal(argv, folder);
    if (!terminal.Started()) {
        why = program.name + ": no pseudo-terminal: " + std::strerror(errno);
        return false;
    }
    const auto drawn = terminal.LastByte(0, program.drawnLast, kQuietMs);
    if (!drawn) {
        why = program.name + ": the form was not drawn in " + std::to_string(kTimeoutMs) + " ms (" +
              std::to_string(terminal.Output().size()) + " bytes came)";
        return false;
    }
    samples.startup.push_back(MsBetween(terminal.StartTime(), *drawn));
    samples.drawnBytes.push_back(static_cast<double>(terminal.Output().size()));
    for (int k = 0; k < keys; ++k) {
        const std::string digit(1, static_cast<char>('1' + k % 9));
        const std::size_t from = terminal.Output().size();
        const Clock::time_point typed = Clock::now();
        terminal.Write(digit);
        const auto echoed = terminal.LastByte(from, {digit}, kKeyQuietMs);
        if (!echoed) {
            why = program.name + ": no echo of the key " + digit;
            return false;
        }
        samples.key.push_back(MsBetween(typed, *echoed));
    }
    samples.memory.push_back(PeakKib("/proc/" + std::to_string(terminal.ProcessId())));
    return true;
}

std::string CommandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

int Usage() {
    std::fprintf(stderr, "usage: bench_terminal --program KOBRANT --work DIR --out FILE [--runs N] [--keys N]\n");
    return 2;
}

}  // namespace
}  // namespace kobrant::bench

int main(int argc, char** argv) {
    using namespace kobrant;
    using namespace kobrant::bench;
    std::string kobrantPath, work, out;
    int runs = 15, keys = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--program") kobrantPath = std::filesystem::absolute(value).string();
        else if (option == "--work") work = value;
        else if (option == "--out") out = value;
        else if (option == "--runs") runs = std::stoi(value);
        else if (option == "--keys") keys = std::stoi(value);
        else return Usage();
    }
    if (kobrantPath.empty() || work.empty() || out.empty() || argc % 2 == 0) return Usage();

    const FieldTexts texts = {"", "5", "8", "20", "0", "1.5", "2", "65", "1013.2"};
    const std::string settings = SettingsLine(texts);
    std::vector<std::string> dialogArgv = {"/usr/bin/dialog"};
    for (const std::string& word : DialogFormArguments("{folder}", texts)) dialogArgv.push_back(word);
    const std::vector<Program> programs = {
        {"kobrant", {kobrantPath}, {"KOBRANT--V571", "Millibar", "CLEAR", "Enter", "F10 Ende"}},
        // dialog draws each button's first letter in a colour of its own: "<E" "nter" ">".
        {"dialog", dialogArgv, {"KOBRANT--V571", "Millibar", "nter", "LEAR"}},
    };

    Samples samples[2];
    std::string failures;
    const auto run = [&](std::size_t p, const std::string& name, bool measured) {
        Samples unmeasured;
        std::string why;
        if (!MeasureOnce(programs[p], work + "/" + name, settings, keys, measured ? samples[p] : unmeasured, why)) {
            failures += "- " + why + "\n";
        }
    };
    for (std::size_t p = 0; p < 2; ++p) run(p, programs[p].name + "-first", false);
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < 2; ++i) {
            const std::size_t p = (static_cast<std::size_t>(round) + i) % 2;
            run(p, programs[p].name + "-" + std::to_string(round), true);
        }
    }

    Report report;
    char date[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    report.title = std::string(date) + ": the Linux kobrant beside dialog --form with the same nine rows, " +
                   CommandOutput("nproc") + " CPUs";
    report.programColumn = "kobrant";
    report.sameUiColumn = "dialog --form";
    report.emptyDialogColumn = "";
    report.rows = {
        {"start-up: process start to the form fully drawn (ms)", samples[0].startup, samples[1].startup, {},
         Judged::ByRatio, 1.0, "", 1, ""},
        {"a keystroke to its echo (ms)", samples[0].key, samples[1].key, {}, Judged::ByRatio, 1.0, "", 2, ""},
        {"memory: peak resident size, form open (KiB)", samples[0].memory, samples[1].memory, {}, Judged::ByRatio,
         1.0, "", 0, ""},
        {"output to the form fully drawn (bytes)", samples[0].drawnBytes, samples[1].drawnBytes, {},
         Judged::NotJudged, 0, "", 0, ""},
    };
    report.notes = {
        "Medians of " + std::to_string(runs) + " rounds, each starting both programs once, one straight after the "
        "other, the first of them alternating, after one unmeasured start of each; the keystroke: " +
            std::to_string(keys) + " digits a start. Lowest and highest in brackets. The target is the baseline or "
            "better.",
        "",
        "- Each in a pseudo-terminal of 80 x 24 of the benchmark's own (forkpty), TERM=xterm-256color, "
        "LC_ALL=C.UTF-8, a fresh folder with a settings file of the same texts as the baseline's form (the first "
        "field empty).",
        "- Fully drawn: the form's last texts have come (the title, \"Millibar\", both buttons, and kobrant's key "
        "line) and then nothing for " + std::to_string(kQuietMs) + " ms; the time is that of the last byte. Echo: "
        "the digit has come, then nothing for " + std::to_string(kKeyQuietMs) + " ms; the time of the last byte.",
        "- Memory: VmHWM of /proc/PID/status after the keys.",
        "- dialog " + CommandOutput("/usr/bin/dialog --version | sed 's/^Version: //'") + "; ncurses " +
            CommandOutput("dpkg-query -W -f='${Version}' libncursesw6") + ".",
        "- Load average of the machine after: " + CommandOutput("cut -d' ' -f1-3 /proc/loadavg") + ".",
    };
    if (!failures.empty()) report.notes.push_back("\nFailed runs:\n" + failures);
    std::ofstream(out, std::ios::binary) << TableText(report);
    std::fputs(TableText(report).c_str(), stdout);
    return failures.empty() ? 0 : 1;
}
