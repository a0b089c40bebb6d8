#include "host/dialog_units.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kobrant {
namespace {

TEST(DialogUnitsFromPixels, HeaderExamples) {
    EXPECT_EQ(DialogUnitsFromPixels(9, 1536), 6);
    EXPECT_EQ(DialogUnitsFromPixels(1, 2048), 1);
    EXPECT_EQ(DialogUnitsFromPixels(1, 2049), 0);
    EXPECT_EQ(DialogUnitsFromPixels(-1, 1536), -1);
    EXPECT_EQ(DialogUnitsFromPixels(5, 0), 0);
}

// 1536 pixels per 1024 units is 6 pixels per 4 units (a font 6 pixels wide); 2048 is
// 8 pixels per 4 units, where odd pixel counts fall exactly on half a unit.
TEST(DialogUnitsFromPixels, HalvesUpNegativesDown) {
    struct Case {
        std::int32_t pixels;
        std::int32_t per1024;
        std::int32_t expected;
    };
    const Case cases[] = {
        {0, 1536, 0},
        {6, 1536, 4},       // exact
        {7, 1536, 5},       // 4.67 rounds to nearest
        {8, 1536, 5},       // 5.33
        {96, 1536, 64},
        {3, 2048, 2},       // 1.5: halves go up
        {5, 2048, 3},       // 2.5
        {2, 2048, 1},
        {-2, 2048, -1},     // exact negatives stay
        {-3, 2048, -2},     // -1.5 goes down
        {-7, 1536, -5},     // -4.67 goes down to -5
        {-8, 1536, -6},     // -5.33 goes down too, not to nearest
        {-6, 1536, -4},
        {1023, 1024, 1023}, // one pixel per unit
        {2000000, 1536, 1333333},          // far away: no overflow
        {-2000000, 1536, -1333334},
        {5, -1536, 0},      // no usable scale
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogUnitsFromPixels(c.pixels, c.per1024), c.expected)
            << "pixels=" << c.pixels << " per1024=" << c.per1024;
    }
}

}  // namespace
}  // namespace kobrant
