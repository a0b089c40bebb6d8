#pragma once
// Which implementation the program's Extended operations use in the differential
// test (extended_switch.cpp): the x87 one until told otherwise.

#include "numbers/extended_implementations.h"

namespace kobrant {

enum class ExtendedImplementation { X87, Software };

void UseExtendedImplementation(ExtendedImplementation implementation);

}  // namespace kobrant
