#pragma once
// Helpers of the record file's tests.

#include <string>

#include "beacon/beacon_system.h"
#include "support/files.h"

namespace kobrant {

// WX-DATA.txt in the folder, as the beacon builds the path.
inline std::string RecordPathIn(const test::TestDirectory& dir) {
    return dir.Path() + FolderSeparator() + "WX-DATA.txt";
}

}  // namespace kobrant
