#include "bench/process_gauge.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>
#include <vector>

#include "bench/figures.h"

namespace kobrant::bench {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMillisecondsPerTick = 10;  // USER_HZ is 100 on every Linux

// The names in the folder that are numbers: the processes of /proc, the threads of a task/.
std::vector<std::string> NumberedEntries(const std::string& folder) {
    std::vector<std::string> numbers;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) numbers.push_back(name);
    }
    return numbers;
}

}  // namespace

std::string NewestProcess(const std::string& procRoot, const std::function<bool(std::string_view)>& nameMatches,
                          const std::optional<std::string>& winePrefix) {
    std::string newest;
    std::uint64_t newestStart = 0;
    for (const std::string& process : NumberedEntries(procRoot)) {
        const std::string folder = procRoot + "/" + process;
        const std::string comm = ReadTextFile(folder + "/comm");
        if (!nameMatches(comm.substr(0, comm.find('\n')))) continue;
        if (EnvironmentValue(ReadTextFile(folder + "/environ"), "WINEPREFIX") != winePrefix) continue;
        const std::optional<std::uint64_t> start = StartTicksFromStat(ReadTextFile(folder + "/stat"));
        if (start && (newest.empty() || *start >= newestStart)) {
            newest = folder;
            newestStart = *start;
        }
    }
    return newest;
}

double CpuMilliseconds(const std::string& processFolder) {
    const std::vector<std::string> threads = NumberedEntries(processFolder + "/task");
    double total = 0;
    bool complete = !threads.empty();  // every thread read
    for (const std::string& thread : threads) {
        const auto nanoseconds = NanosecondsFromSchedstat(ReadTextFile(processFolder + "/task/" + thread + "/schedstat"));
        complete = complete && nanoseconds.has_value();
        if (!complete) break;
        total += static_cast<double>(*nanoseconds) / 1e6;
    }
    if (complete) return total;
    const auto ticks = CpuTicksFromStat(ReadTextFile(processFolder + "/stat"));
    return ticks ? static_cast<double>(*ticks) * kMillisecondsPerTick : kNaN;
}

double PeakKib(const std::string& processFolder) {
    const auto kib = KibFromStatus(ReadTextFile(processFolder + "/status"), "VmHWM");
    return kib ? static_cast<double>(*kib) : kNaN;
}

std::string ReadTextFile(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    // Until nothing comes: the size of a /proc file says nothing.
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

}  // namespace kobrant::bench
