#include "beacon/beacon_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace kobrant {

RecordFileRead ReadRecordFile(const std::string& path, std::size_t limit, std::string& text, int& systemError) {
    // O_NONBLOCK: opening a FIFO planted in the record's place must not wait for a writer.
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file < 0) {
        systemError = errno;
        return errno == ENOENT || errno == ENOTDIR ? RecordFileRead::kMissing : RecordFileRead::kUnreadable;
    }
    struct stat status {};
    RecordFileRead read = RecordFileRead::kRead;
    if (fstat(file, &status) != 0) {
        systemError = errno;
        read = RecordFileRead::kUnreadable;
    } else if (!S_ISREG(status.st_mode)) {
        read = RecordFileRead::kNotRegular;
    } else {
        text.assign(limit + 1, '\0');
        std::size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = ::read(file, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                systemError = errno;
                read = RecordFileRead::kUnreadable;
                break;
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        text.resize(got);
    }
    close(file);
    return read;
}

bool LocalToUtc(const ClockReading& local, std::int64_t& utc) {
    std::tm time{};
    time.tm_year = local.year - 1900;
    time.tm_mon = local.month - 1;
    time.tm_mday = local.day;
    time.tm_hour = local.hour;
    time.tm_min = local.minute;
    time.tm_sec = local.second;
    time.tm_isdst = -1;  // the zone decides whether summer time was in force
    const std::time_t seconds = std::mktime(&time);
    if (seconds == static_cast<std::time_t>(-1)) return false;
    utc = seconds;
    return true;
}

char FolderSeparator() { return '/'; }

}  // namespace kobrant
