// The process gauge on Linux's own /proc: the figures of this very process, and the
// newest process of a name.

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench/process_gauge.h"

namespace kobrant::bench {
namespace {

std::optional<std::string> OwnWinePrefix() {
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix != nullptr ? std::optional<std::string>(prefix) : std::nullopt;
}

TEST(ProcessGauge, ReadsThisProcessesCpuTimeAndPeakMemory) {
    const double cpuBefore = CpuMilliseconds("/proc/self");
    const double peakBefore = PeakKib("/proc/self");
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
    volatile double sum = 0;
    while (std::chrono::steady_clock::now() < until) sum = sum + 1;
    std::vector<char> touched(64 << 20, 1);  // 64 MiB, every page written
    EXPECT_GE(CpuMilliseconds("/proc/self") - cpuBefore, 40) << "50 ms spent on a CPU";
    EXPECT_GE(PeakKib("/proc/self") - peakBefore, 60000) << "64 MiB touched, " << touched[touched.size() / 2];

    for (const char* folder : {"", "/proc/no-such-process"}) {
        EXPECT_TRUE(std::isnan(CpuMilliseconds(folder))) << folder;
        EXPECT_TRUE(std::isnan(PeakKib(folder))) << folder;
    }
    EXPECT_NE(ReadTextFile("/proc/self/stat").find(std::to_string(getpid())), std::string::npos);
    EXPECT_EQ(ReadTextFile("/proc/no-such-file"), "");
}

TEST(ProcessGauge, FindsTheNewestProcessOfAName) {
    const std::string name = "gauge-" + std::to_string(getpid() % 100000);  // at most 15 bytes
    const auto named = [&](std::string_view comm) { return comm == name; };
    EXPECT_EQ(NewestProcess("/proc", named, OwnWinePrefix()), "") << "before any has the name";
    ASSERT_EQ(0, prctl(PR_SET_NAME, name.c_str()));
    EXPECT_EQ(NewestProcess("/proc", named, OwnWinePrefix()), "/proc/" + std::to_string(getpid()));
    EXPECT_EQ(NewestProcess("/proc", named, "/another/prefix"), "") << "another Wine session's";

    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    usleep(20000);  // two clock ticks: the child's start time is later than this process's
    const pid_t child = fork();  // keeps the name
    if (child == 0) {
        close(ready[0]);
        (void)!write(ready[1], "x", 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    EXPECT_EQ(1, read(ready[0], &byte, 1));
    close(ready[0]);
    EXPECT_EQ(NewestProcess("/proc", named, OwnWinePrefix()), "/proc/" + std::to_string(child));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace kobrant::bench
