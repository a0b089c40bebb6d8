#pragma once
// Works the real kobrant in a terminal as an operator would: a tmux server of the
// test's own (a private socket and its own configuration file, which keeps the pane
// after the program ends and hides the status bar), one window of a fixed size running
// the program in a folder, keys sent to it, the screen read back. Every wait polls the
// screen until what is expected shows, with a time limit; no fixed sleeps.

#include <string>
#include <vector>

#include "system/local_clock.h"

namespace kobrant::test {

// The program's command: the path CTest names in KOBRANT_PROGRAM, behind the words of
// what the build names in KOBRANT_PROGRAM_EMULATOR where it is for another processor
// (qemu-aarch64 for arm64; empty natively). An environment variable of that name takes
// its place, for a program of another processor than the test's (a packaged one).
std::vector<std::string> ProgramUnderTest();

// Whether record is what "Enter" writes on Linux with this data line at a time between
// the two clock readings: the timestamp line, the data line, each ended by LF.
bool IsLinuxRecord(const std::string& record, const std::string& dataLine, const ClockReading& before,
                   const ClockReading& after);

class TerminalSession {
public:
    // Starts `env <environment> <program...>` in folder, in a window of columns x lines
    // (program: the program's path, behind an emulator's words where the build has one);
    // tmux keeps its socket and files in controlFolder, and so does the shell around
    // the program its exit status.
    TerminalSession(const std::vector<std::string>& program, const std::string& folder, const std::string& controlFolder,
                    const std::vector<std::string>& environment, int columns, int lines);
    ~TerminalSession();  // ends the tmux server and with it the program
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    bool Started() const { return started_; }
    const std::string& Why() const { return why_; }

    void Type(const std::string& text);                   // literally, in the locale's bytes
    void Keys(const std::vector<std::string>& keyNames);  // tmux key names: Tab, BTab, Enter, F10, C-c
    // Each text typed over its field's marked text (an empty one erases it), then Tab:
    // nine texts from the first field leave "Enter" focused.
    void TypeFields(const std::vector<std::string>& texts);
    void Resize(int columns, int lines);
    void Signal(int signal);  // to the program

    std::string Screen();            // the text of the window, one line each
    std::string ScreenWithColors();  // with the escape sequences of attributes and colours
    // Polls until the screen holds (or, with present false, no longer holds) text;
    // false after timeoutMs.
    bool WaitFor(const std::string& text, bool present = true, int timeoutMs = 10000);
    bool WaitForColors(const std::string& sequence, int timeoutMs = 10000);
    // Waits until the program has ended; its exit status, or -1 after timeoutMs.
    int WaitForExit(int timeoutMs = 10000);

private:
    std::string Tmux(const std::vector<std::string>& arguments);
    std::string ExitStatusFile() const;

    std::string socket_;
    std::string controlFolder_;
    bool started_ = false;
    std::string why_;
};

}  // namespace kobrant::test
