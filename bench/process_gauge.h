#pragma once
// The CPU time and peak memory of a running program, as the benchmark reads them.
//
// Under Wine the Win32 answers for another process are not there (Wine 8 gives
// GetProcessTimes of another process without its user time, and GetProcessMemoryInfo
// zeros), so the gauge reads the Linux process behind it through Wine's drive Z:,
// which maps the Linux root: /proc/PID/task/*/schedstat for the CPU time and VmHWM of
// /proc/PID/status for the peak resident size. The same reading covers the
// wineserver, which does much of a Wine program's work. On Windows, where there is no
// /proc, the gauge falls back to GetProcessTimes and PeakWorkingSetSize.
//
//   ProcessGauge gauge = GaugeFor(program.Process(), "kobrant.exe");
//   double before = CpuMilliseconds(gauge);  ... Sleep(10000) ...
//   double used = CpuMilliseconds(gauge) - before;
//   double peak = PeakKib(gauge);

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kobrant::bench {

struct ProcessGauge {
    HANDLE process = nullptr;  // the Win32 handle, for the fallback
    std::string procFolder;    // "Z:\proc\1234" when the Linux process was found, else ""
};

// Whether Linux's /proc can be read from here (running under Wine).
bool ProcReadable();

// The gauge of a program just started from fileName: under Wine its Linux process is
// the newest one whose command name is that file name and whose WINEPREFIX is this
// process's own, so that programs of other Wine sessions on the machine don't count.
ProcessGauge GaugeFor(HANDLE process, std::string_view fileName);

// The wineserver of this process's Wine prefix; nothing on Windows or when none is found.
std::optional<ProcessGauge> WineserverGauge();

// CPU time the process has used so far, kernel and user, in milliseconds; NaN when it
// cannot be read.
double CpuMilliseconds(const ProcessGauge& gauge);

// The process's peak resident size (working set) so far, in KiB; NaN when unknown.
double PeakKib(const ProcessGauge& gauge);

// How the gauge reads, for the table's notes.
std::string GaugeMethod(const ProcessGauge& gauge);

// A small Linux text file such as /proc/loadavg through drive Z: ("" when unreadable).
std::string ReadLinuxFile(std::string_view linuxPath);

}  // namespace kobrant::bench
