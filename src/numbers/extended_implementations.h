#pragma once
// The two implementations of Extended's operations, each in a namespace of its own so
// that one binary can hold both (the differential test does); extended.cpp makes the
// one that the build chose the program's.
//   x87       the x87 unit itself, on x86 and x86-64 (extended_x87.cpp)
//   software  MPFR at 64 bits with the x87's exponent range, elsewhere
//             (extended_software.cpp)

#include "numbers/extended.h"

namespace kobrant::x87 {
#include "numbers/extended_operations.inc"
}  // namespace kobrant::x87

namespace kobrant::software {
#include "numbers/extended_operations.inc"
}  // namespace kobrant::software
