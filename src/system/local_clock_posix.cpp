#include "system/local_clock.h"

#include <ctime>

namespace kobrant {

ClockReading ReadLocalClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    if (localtime_r(&now.tv_sec, &local) == nullptr) return {};
    ClockReading clock;
    clock.year = local.tm_year + 1900;
    clock.month = local.tm_mon + 1;
    clock.day = local.tm_mday;
    clock.hour = local.tm_hour;
    clock.minute = local.tm_min;
    clock.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
    return clock;
}

}  // namespace kobrant
