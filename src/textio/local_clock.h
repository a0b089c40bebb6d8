#pragma once
// The local clock, the one platform service of the number and text rules.
// local_clock_win.cpp reads GetLocalTime; local_clock_posix.cpp reads localtime_r.

#include "textio/number_text.h"

namespace kobrant {

ClockReading ReadLocalClock();

}  // namespace kobrant
