#pragma once
// Running other programs from the tests (Linux): a program started in a folder with its
// output going to a file, waited for with a time limit, and ended by its own process id
// when it is not meant to end by itself.

#include <string>
#include <string_view>
#include <vector>

namespace kobrant::test {

// Whether a program of this name is on the PATH (a name with a "/" is a path of its own).
bool OnPath(std::string_view program);

// Starts argv (argv[0] looked up on the PATH) in folder, standard input from inputFile
// (empty: /dev/null), standard output and error into outputFile. The process id, or -1
// with why.
int StartProgram(const std::vector<std::string>& argv, const std::string& folder, const std::string& inputFile,
                 const std::string& outputFile, std::string& why);

// Waits up to timeoutMs for the process to end; false when it still runs.
bool WaitForEnd(int processId, int timeoutMs, int& exitStatus);

// Ends the process (SIGTERM, SIGKILL after two seconds) and reaps it.
void EndProgram(int processId);

// A started program that is ended when the object goes, unless it has been ended.
class RunningProgram {
public:
    explicit RunningProgram(int processId) : processId_(processId) {}
    ~RunningProgram() { End(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    bool Started() const { return processId_ > 0; }
    void End() {
        EndProgram(processId_);
        processId_ = -1;
    }

private:
    int processId_;
};

}  // namespace kobrant::test
