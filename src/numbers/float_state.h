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
//
// This is the state of the x87 arithmetic (extended_x87.cpp, float_state_x87.cpp).
// The software arithmetic (extended_software.cpp) needs none: there both functions
// do nothing, and the state always holds (float_state_software.cpp).

namespace kobrant {

// Sets the x87 control word (nearest, 64-bit precision, all exceptions masked) and
// the SSE control register (nearest, all exceptions masked); nothing in software.
void SetFloatingPointState();

// True when the x87 control word and the SSE control register are as
// SetFloatingPointState leaves them (the sticky exception flags are not looked at).
bool FloatingPointStateHolds();

}  // namespace kobrant
