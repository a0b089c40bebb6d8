#pragma once
// The CPU time and peak memory of a running program from Linux's /proc, where a native
// program is found and, under Wine, the Linux process behind a Windows program and the
// wineserver that does much of its work (Wine 8 answers GetProcessTimes of another
// process without its user time, GetProcessMemoryInfo with zeros). A Windows program
// reads /proc through Wine's drive Z:. Portable.
//
//   NewestProcess(WindowsPath("/proc"), same name, prefix) -> "Z:\proc/4342"
//   CpuMilliseconds("/proc/self")   -> 21.3  (every thread's time on a CPU so far)
//   PeakKib("/proc/self")           -> 8632  (VmHWM)
//   ReadTextFile("/proc/loadavg")   -> "0.52 0.61 0.70 1/123 4567\n"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kobrant::bench {

// The folder under procRoot of the newest process whose command name passes
// nameMatches and whose WINEPREFIX is winePrefix (none for none), so that the programs
// of other Wine sessions on the machine don't count; "" when there is none.
std::string NewestProcess(const std::string& procRoot, const std::function<bool(std::string_view)>& nameMatches,
                          const std::optional<std::string>& winePrefix);

// The process's CPU time so far, kernel and user, in ms: each thread's count of the
// scheduler (else the process's 10 ms ticks); NaN when it cannot be read.
double CpuMilliseconds(const std::string& processFolder);

// The process's peak resident size so far, in KiB; NaN when unknown.
double PeakKib(const std::string& processFolder);

// The bytes of a small file such as those of /proc (which report a size of 0); "" when
// it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace kobrant::bench
