// kobrant-beacon's entry (beacon.h): the arguments, the running system, the answer.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "beacon/beacon.h"
#include "beacon/beacon_system.h"

int main(int argc, char** argv) {
    using namespace kobrant;
    BeaconSystem system;
    system.readRecordFile = ReadRecordFile;
    system.now = std::chrono::duration_cast<std::chrono::seconds>(
                     std::chrono::system_clock::now().time_since_epoch())
                     .count();
    system.localToUtc = LocalToUtc;
    system.folderSeparator = FolderSeparator();
    const BeaconAnswer answer = RunBeacon(std::vector<std::string>(argv + 1, argv + argc), system);
    std::fwrite(answer.out.data(), 1, answer.out.size(), stdout);
    std::fflush(stdout);
    std::fwrite(answer.err.data(), 1, answer.err.size(), stderr);
    std::fflush(stderr);
    return answer.exitStatus;
}
