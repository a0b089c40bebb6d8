#include "system/local_clock.h"

#include <windows.h>

#include "numbers/float_state.h"

namespace kobrant {

ClockReading ReadLocalClock() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SetFloatingPointState();
    ClockReading clock;
    clock.year = now.wYear;
    clock.month = now.wMonth;
    clock.day = now.wDay;
    clock.hour = now.wHour;
    clock.minute = now.wMinute;
    clock.second = now.wSecond;
    return clock;
}

}  // namespace kobrant
