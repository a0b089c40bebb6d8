#include "host/window_records.h"

#include <atomic>

namespace kobrant {

namespace {

std::atomic_flag gRecordsLock;  // clear at start (C++20)
RecordTable gRecords;

}  // namespace

LockedRecords::LockedRecords() : table(gRecords) {
    // Held only for a few table steps, so waiting means another thread is mid-step.
    while (gRecordsLock.test_and_set(std::memory_order_acquire)) Sleep(0);
}

LockedRecords::~LockedRecords() { gRecordsLock.clear(std::memory_order_release); }

WindowRecord* LockedRecords::Find(HWND window) {
    if (window == nullptr) return nullptr;
    for (WindowRecord& record : table) {
        if (record.window == window) return &record;
    }
    return nullptr;
}

std::size_t WindowRecordCount() {
    LockedRecords records;
    return records.table.size();
}

}  // namespace kobrant
