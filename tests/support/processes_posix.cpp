#include "support/processes_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace kobrant::test {

bool OnPath(std::string_view program) {
    if (program.find('/') != std::string_view::npos) return access(std::string(program).c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string candidate = std::string(folders.substr(0, colon)) + "/" + std::string(program);
        if (access(candidate.c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) return false;
        folders = folders.substr(colon + 1);
    }
}

int StartProgram(const std::vector<std::string>& argv, const std::string& folder, const std::string& inputFile,
                 const std::string& outputFile, std::string& why) {
    if (argv.empty() || !OnPath(argv[0])) {
        why = (argv.empty() ? std::string("no program") : argv[0]) + " is not on the PATH";
        return -1;
    }
    std::vector<char*> arguments;
    for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    const int input = open(inputFile.empty() ? "/dev/null" : inputFile.c_str(), O_RDONLY | O_CLOEXEC);
    const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (input < 0 || output < 0) {
        why = "open " + (input < 0 ? inputFile : outputFile) + ": " + std::strerror(errno);
        if (input >= 0) close(input);
        if (output >= 0) close(output);
        return -1;
    }
    // posix_spawn rather than fork: the arm64 tests run under qemu-user, whose child of
    // a fork() hangs in a dynamically linked program (Debian 12's qemu 7.2).
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_adddup2(&actions, output, 1);
    posix_spawn_file_actions_adddup2(&actions, output, 2);
    pid_t child = -1;
    const int failure = posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input);
    close(output);
    if (failure != 0) {
        why = std::string("posix_spawnp: ") + std::strerror(failure);
        return -1;
    }
    return static_cast<int>(child);
}

bool WaitForEnd(int processId, int timeoutMs, int& exitStatus) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        int status = 0;
        const pid_t ended = waitpid(processId, &status, WNOHANG);
        if (ended == processId) {
            exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (ended < 0 || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void EndProgram(int processId) {
    if (processId <= 0) return;
    int status = 0;
    kill(processId, SIGTERM);
    if (WaitForEnd(processId, 2000, status)) return;
    kill(processId, SIGKILL);
    WaitForEnd(processId, 2000, status);
}

}  // namespace kobrant::test
