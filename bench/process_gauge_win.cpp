#include "process_gauge.h"

#include <psapi.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "figures.h"
#include "driver/driver.h"

namespace kobrant::bench {
namespace {

using driver::ReadWholeFile;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMillisecondsPerTick = 10;  // USER_HZ is 100 on every Linux Wine runs on

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string TrimmedLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::optional<std::string> OwnWinePrefix() {
    char value[1024];
    const DWORD length = GetEnvironmentVariableA("WINEPREFIX", value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::nullopt;
    return std::string(value, length);
}

// The /proc folder of the newest process of this Wine prefix whose command name
// passes the test; "" when there is none.
template <typename NameTest>
std::string NewestProcessFolder(NameTest nameMatches) {
    const std::optional<std::string> prefix = OwnWinePrefix();
    std::string newest;
    std::uint64_t newestStart = 0;
    for (const std::string& entry : driver::FolderEntries("Z:\\proc\\*")) {
        if (!IsNumber(entry)) continue;
        const std::string folder = "Z:\\proc\\" + entry;
        if (!nameMatches(TrimmedLine(ReadWholeFile(folder + "\\comm")))) continue;
        if (EnvironmentValue(ReadWholeFile(folder + "\\environ"), "WINEPREFIX") != prefix) continue;
        const std::optional<std::uint64_t> start = StartTicksFromStat(ReadWholeFile(folder + "\\stat"));
        if (!start) continue;
        if (newest.empty() || *start >= newestStart) {
            newest = folder;
            newestStart = *start;
        }
    }
    return newest;
}

double FileTimeMilliseconds(const FILETIME& time) {
    const std::uint64_t units = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return static_cast<double>(units) / 10000.0;  // 100-nanosecond units
}

// The CPU time of every thread of the Linux process, from the schedulers' nanosecond
// counts; the process's stat (10 ms ticks) where those are missing.
double LinuxCpuMilliseconds(const std::string& procFolder) {
    double total = 0;
    bool complete = false;  // every thread read
    for (const std::string& task : driver::FolderEntries(procFolder + "\\task\\*")) {
        if (!IsNumber(task)) continue;
        const auto nanoseconds = NanosecondsFromSchedstat(ReadWholeFile(procFolder + "\\task\\" + task + "\\schedstat"));
        if (!nanoseconds) {
            complete = false;
            break;
        }
        total += static_cast<double>(*nanoseconds) / 1e6;
        complete = true;
    }
    if (complete) return total;
    const auto ticks = CpuTicksFromStat(ReadWholeFile(procFolder + "\\stat"));
    return ticks ? static_cast<double>(*ticks) * kMillisecondsPerTick : kNaN;
}

}  // namespace

bool ProcReadable() { return !ReadWholeFile("Z:\\proc\\self\\stat").empty(); }

ProcessGauge GaugeFor(HANDLE process, std::string_view fileName) {
    ProcessGauge gauge;
    gauge.process = process;
    if (ProcReadable()) {
        const std::string name = CommandNameOf(fileName);
        gauge.procFolder = NewestProcessFolder([&](const std::string& comm) { return comm == name; });
    }
    return gauge;
}

std::optional<ProcessGauge> WineserverGauge() {
    if (!ProcReadable()) return std::nullopt;
    // "wineserver", or "wineserver64" as Debian names the 64-bit one.
    ProcessGauge gauge;
    gauge.procFolder =
        NewestProcessFolder([](const std::string& comm) { return comm.rfind("wineserver", 0) == 0; });
    if (gauge.procFolder.empty()) return std::nullopt;
    return gauge;
}

double CpuMilliseconds(const ProcessGauge& gauge) {
    if (!gauge.procFolder.empty()) return LinuxCpuMilliseconds(gauge.procFolder);
    FILETIME created, exited, kernel, user;
    if (gauge.process == nullptr || !GetProcessTimes(gauge.process, &created, &exited, &kernel, &user)) return kNaN;
    return FileTimeMilliseconds(kernel) + FileTimeMilliseconds(user);
}

double PeakKib(const ProcessGauge& gauge) {
    if (!gauge.procFolder.empty()) {
        const auto kib = KibFromStatus(ReadWholeFile(gauge.procFolder + "\\status"), "VmHWM");
        return kib ? static_cast<double>(*kib) : kNaN;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (gauge.process == nullptr || !GetProcessMemoryInfo(gauge.process, &counters, sizeof counters)) return kNaN;
    if (counters.PeakWorkingSetSize == 0) return kNaN;
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

std::string GaugeMethod(const ProcessGauge& gauge) {
    if (!gauge.procFolder.empty()) {
        return "the Linux process behind it (/proc/PID/task/*/schedstat, VmHWM of /proc/PID/status)";
    }
    return "GetProcessTimes and PeakWorkingSetSize";
}

std::string ReadLinuxFile(std::string_view linuxPath) {
    std::string path = "Z:";
    for (char c : linuxPath) path += c == '/' ? '\\' : c;
    return ReadWholeFile(path);
}

}  // namespace kobrant::bench
