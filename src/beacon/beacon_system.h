#pragma once
// The platform under kobrant-beacon (beacon.h's BeaconSystem): beacon_system_posix.cpp
// and beacon_system_win.cpp.

#include <cstddef>
#include <cstdint>
#include <string>

#include "beacon/beacon.h"
#include "system/local_clock.h"

namespace kobrant {

// Reads the record file as a reader that trusts nothing it finds in the folder: only a
// regular file, and at most limit + 1 bytes of it (kTooLarge beyond the limit). Linux:
// opened with O_NONBLOCK (a FIFO can't stop the beacon), following a link, then fstat
// before reading. Windows: CreateFileA with read and write sharing allowed; while the
// writer holds the file without sharing the open fails (kHeld).
RecordFileRead ReadRecordFile(const std::string& path, std::size_t limit, std::string& text, int& systemError);

// The UTC seconds of a local calendar time in the system's time zone. Linux: mktime,
// with the zone deciding summer time (TZ where set). Windows: the zone set in the
// system, TzSpecificLocalTimeToSystemTime. A time that occurs twice when summer time
// ends is taken as the zone's library takes it.
bool LocalToUtc(const ClockReading& local, std::int64_t& utc);

// The folder separator of paths the beacon builds: "/" on Linux, "\" on Windows.
char FolderSeparator();

}  // namespace kobrant
