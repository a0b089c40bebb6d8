#include "system/local_clock.h"

namespace kobrant {
namespace {

// Two digits of a clock field; the field is within 0-99 for every reading the clock
// gives, and taken modulo 100 otherwise so that the text keeps its length.
std::string TwoDigits(int value) {
    int field = value % 100;
    if (field < 0) field += 100;
    return {static_cast<char>('0' + field / 10), static_cast<char>('0' + field % 10)};
}

}  // namespace

std::string FormatDateText(const ClockReading& clock) {
    return TwoDigits(clock.month) + "-" + TwoDigits(clock.day) + "-" + TwoDigits(clock.year / 100) +
           TwoDigits(clock.year % 100);
}

std::string FormatTimeText(const ClockReading& clock) {
    return TwoDigits(clock.hour) + ":" + TwoDigits(clock.minute) + ":" + TwoDigits(clock.second);
}

}  // namespace kobrant
