// The x87 arithmetic's floating-point state (built where the x87 arithmetic is the program's).

#include <gtest/gtest.h>

#include <cstdint>

#include "numbers/float_state.h"
#include "system/sequential_files.h"

namespace kobrant {
namespace {

TEST(FloatState, HoldsAfterSetting) {
    SetFloatingPointState();
    EXPECT_TRUE(FloatingPointStateHolds());
}

TEST(FloatState, ExtendedArithmeticKeepsSixtyFourBits) {
    SetFloatingPointState();
    // 2^63 + 1 needs a 64-bit mantissa: with 53-bit precision the sum would round to 2^63.
    volatile long double big = 9223372036854775808.0L;
    volatile long double one = 1.0L;
    long double sum = big + one;
    EXPECT_EQ(sum - big, 1.0L);
}

TEST(FloatState, TiesRoundToEven) {
    SetFloatingPointState();
    // 1 + 2^-64 lies halfway between 1 and its successor 1 + 2^-63: ties go to the even 1.
    volatile long double one = 1.0L;
    volatile long double half_ulp = 0x1p-64L;
    EXPECT_EQ(one + half_ulp, 1.0L);
    volatile long double three_half_ulps = 0x3p-64L;
    EXPECT_EQ(one + three_half_ulps, 1.0L + 0x1p-62L);
}

TEST(FloatState, ExceptionsAreMasked) {
    SetFloatingPointState();
    volatile long double zero = 0.0L;
    volatile long double one = 1.0L;
    EXPECT_TRUE(one / zero > 0.0L);  // an infinity, not a trap
    EXPECT_TRUE(FloatingPointStateHolds());
}

// System DLLs and libraries may change the x87 control word; every file call sets the
// program's floating-point state again.
TEST(FloatState, FileCallsSetItAgain) {
    const std::uint16_t doublePrecision = 0x027F;
    __asm__ volatile("fldcw %0" : : "m"(doublePrecision));
    ASSERT_FALSE(FloatingPointStateHolds());
    FileError error;
    OpenForInput("kobrant-missing-file.txt", 1, error);
    EXPECT_TRUE(FloatingPointStateHolds());
}

}  // namespace
}  // namespace kobrant
