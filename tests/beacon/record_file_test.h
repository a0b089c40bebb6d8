#pragma once
// Helpers of the record file's tests.

#include <string>

#include "beacon/beacon_system.h"
#include "station/weather_record.h"
#include "support/files.h"
#include "system/sequential_files.h"

namespace kobrant {

// WX-DATA.txt in the folder, as the beacon builds the path.
inline std::string RecordPathIn(const test::TestDirectory& dir) {
    return dir.Path() + FolderSeparator() + "WX-DATA.txt";
}

// Starts writing a record into the folder as "Enter" does, at 15:00 on 6 December 2026:
// the file stays open (and so held on Windows) until CloseAllFiles. false when the
// write failed.
inline bool StartWritingRecord(const test::TestDirectory& dir, FileError& error) {
    WriteWeatherRecord(dir.File("WX-DATA.txt"), {"000", "000", "000", "032", "000", "000", "000", "50", "10000"},
                       error, [] { return ClockReading{2026, 12, 6, 15, 0, 0}; });
    return error.code == 0;
}

}  // namespace kobrant
