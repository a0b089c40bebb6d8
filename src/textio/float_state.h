#pragma once
// The floating-point state that every number rule of the program is written for.
//
// All arithmetic is x87 80-bit extended (64-bit mantissa), rounding to nearest with
// ties to even, every exception masked (an invalid operation, an overflow or a division
// by zero gives the masked result: NaN, an infinity, ...). Values kept between steps
// are single precision or 32-bit integers; each store into a single rounds once.
// Other code may leave the x87 unit in another state (Windows gives new threads 53-bit
// precision, and some system DLLs change it), so start-up sets it and every call into
// the operating system made by the file layer sets it again afterwards.

#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type (GCC on x86 or x86-64)");
static_assert(std::numeric_limits<long double>::max_exponent == 16384,
              "long double must have the 15-bit exponent of the x87 extended type");

namespace kobrant {

// Sets the x87 control word (nearest, 64-bit precision, all exceptions masked) and
// the SSE control register (nearest, all exceptions masked).
void SetFloatingPointState();

// True when the x87 control word and the SSE control register are as
// SetFloatingPointState leaves them (the sticky exception flags are not looked at).
bool FloatingPointStateHolds();

}  // namespace kobrant
