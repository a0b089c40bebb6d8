#include "numbers/float_state.h"

#include <cstdint>

namespace kobrant {
namespace {

// x87 control word: bits 0-5 mask the six exceptions, bits 8-9 = 11 select the 64-bit
// mantissa, bits 10-11 = 00 round to nearest (ties to even). Bit 6 is reserved as 1.
constexpr std::uint16_t kX87ControlWord = 0x037F;
// SSE MXCSR: bits 7-12 mask the six exceptions, bits 13-14 = 00 round to nearest,
// no flush-to-zero and no denormals-are-zero.
constexpr std::uint32_t kMxcsr = 0x1F80;
constexpr std::uint32_t kMxcsrControlBits = 0xFFC0;  // everything but the sticky flags

}  // namespace

void SetFloatingPointState() {
    std::uint16_t controlWord = kX87ControlWord;
    std::uint32_t mxcsr = kMxcsr;
    __asm__ volatile("fclex\n\tfldcw %0" : : "m"(controlWord));
    __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
}

bool FloatingPointStateHolds() {
    std::uint16_t controlWord = 0;
    std::uint32_t mxcsr = 0;
    __asm__ volatile("fnstcw %0" : "=m"(controlWord));
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
    return (controlWord & 0x1F3F) == (kX87ControlWord & 0x1F3F) &&
           (mxcsr & kMxcsrControlBits) == kMxcsr;
}

}  // namespace kobrant
