#include "support/terminal_session.h"

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <thread>

#include "station/weather_record.h"
#include "support/files.h"
#include "support/processes_posix.h"

namespace kobrant::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTmuxTimeoutMs = 10000;
constexpr int kPollMs = 10;

// Asks until the answer is yes or the time is up, with a pause between two questions.
template <typename Question>
bool PollUntil(int timeoutMs, Question question) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        if (question()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    } while (Clock::now() < deadline);
    return false;
}

}  // namespace

std::vector<std::string> ProgramUnderTest() {
    const char* emulator = std::getenv("KOBRANT_PROGRAM_EMULATOR");
    std::istringstream words(emulator != nullptr ? emulator : KOBRANT_PROGRAM_EMULATOR);
    std::vector<std::string> command;
    for (std::string word; words >> word;) command.push_back(word);
    const char* program = std::getenv("KOBRANT_PROGRAM");
    command.push_back(program != nullptr ? program : "kobrant");
    return command;
}

TerminalSession::TerminalSession(const std::vector<std::string>& program, const std::string& folder,
                                 const std::string& controlFolder, const std::vector<std::string>& environment,
                                 int columns, int lines)
    : socket_(controlFolder + "/tmux-socket"), controlFolder_(controlFolder) {
    const std::string configuration = controlFolder + "/tmux.conf";
    WriteBytes(configuration, "set -g remain-on-exit on\nset -g status off\n");
    // The shell around the program reaps it and keeps its exit status (tmux's own
    // pane_dead_status is sometimes never filled in when the program ends while tmux
    // is busy).
    std::string command = "env";
    for (const std::string& variable : environment) command += " '" + variable + "'";
    for (const std::string& word : program) command += " '" + word + "'";
    command += "; echo $? >'" + ExitStatusFile() + "'";
    Tmux({"-f", configuration, "new-session", "-d", "-x", std::to_string(columns), "-y", std::to_string(lines),
          "-c", folder, command});
    started_ = why_.empty();
}

TerminalSession::~TerminalSession() { Tmux({"kill-server"}); }

std::string TerminalSession::Tmux(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {"tmux", "-S", socket_};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::string output = socket_ + ".out";
    std::string why;
    const int process = StartProgram(argv, controlFolder_, "", output, why);
    int status = -1;
    if (process < 0 || !WaitForEnd(process, kTmuxTimeoutMs, status)) {
        if (process > 0) EndProgram(process);
        why_ = "tmux " + arguments.front() + ": " + (why.empty() ? "no answer" : why);
        return std::string();
    }
    std::string text = ReadBytes(output);
    if (status != 0) why_ = "tmux " + arguments.front() + " ended with " + std::to_string(status) + ": " + text;
    return text;
}

// "--": a text that begins with "-" (a negative value) is no option of tmux's.
void TerminalSession::Type(const std::string& text) { Tmux({"send-keys", "-l", "--", text}); }

void TerminalSession::Keys(const std::vector<std::string>& keyNames) {
    std::vector<std::string> arguments = {"send-keys"};
    arguments.insert(arguments.end(), keyNames.begin(), keyNames.end());
    Tmux(arguments);
}

void TerminalSession::TypeFields(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        if (text.empty()) {
            Keys({"BSpace"});
        } else {
            Type(text);
        }
        Keys({"Tab"});
    }
}

bool IsLinuxRecord(const std::string& record, const std::string& dataLine, const ClockReading& before,
                   const ClockReading& after) {
    const auto stamp = [](const ClockReading& c) { return TimestampLine(FormatDateText(c), FormatTimeText(c)); };
    return record == stamp(before) + "\n" + dataLine + "\n" || record == stamp(after) + "\n" + dataLine + "\n";
}

void TerminalSession::Resize(int columns, int lines) {
    Tmux({"resize-window", "-x", std::to_string(columns), "-y", std::to_string(lines)});
}

std::string TerminalSession::Screen() { return Tmux({"capture-pane", "-p"}); }

std::string TerminalSession::ScreenWithColors() { return Tmux({"capture-pane", "-p", "-e"}); }

bool TerminalSession::WaitFor(const std::string& text, bool present, int timeoutMs) {
    return PollUntil(timeoutMs, [&] { return (Screen().find(text) != std::string::npos) == present; });
}

bool TerminalSession::WaitForColors(const std::string& sequence, int timeoutMs) {
    return PollUntil(timeoutMs, [&] { return ScreenWithColors().find(sequence) != std::string::npos; });
}

int TerminalSession::WaitForExit(int timeoutMs) {
    std::string status;
    const bool ended = PollUntil(timeoutMs, [&] {
        status = ReadBytes(ExitStatusFile());
        return status.find('\n') != std::string::npos;
    });
    return ended ? std::stoi(status) : -1;
}

std::string TerminalSession::ExitStatusFile() const { return controlFolder_ + "/exit-status"; }

// The program is the only child of the pane's shell.
void TerminalSession::Signal(int signal) {
    const std::string shell = Tmux({"display-message", "-p", "#{pane_pid}"});
    if (shell.empty()) return;
    const std::string shellId = std::to_string(std::stoi(shell));
    const std::string children = ReadBytes("/proc/" + shellId + "/task/" + shellId + "/children");
    const int program = std::atoi(children.c_str());  // 0 when it has none
    if (program > 0) kill(program, signal);
}

}  // namespace kobrant::test
