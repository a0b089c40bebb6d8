#pragma once
// Screen pixels back to dialog units, the way the dialog's position is saved.
//
// The pixel count of 1024 dialog units (what MapDialogRect makes of a 1024-unit
// rectangle) is the scale, so the result is exact to the pixel. Halves go up; any
// negative remainder goes down to the next whole unit, so a position left of or above
// the screen's origin is never pulled towards it:
//
//   DialogUnitsFromPixels(9, 1536)  -> 6     exact (6 pixels for 4 units)
//   DialogUnitsFromPixels(1, 2048)  -> 1     half a unit goes up
//   DialogUnitsFromPixels(1, 2049)  -> 0     just under half stays down
//   DialogUnitsFromPixels(-1, 1536) -> -1    negative goes down
//   DialogUnitsFromPixels(5, 0)     -> 0     no scale, no position

#include <cstdint>

namespace kobrant {

constexpr std::int32_t DialogUnitsFromPixels(std::int32_t pixels, std::int32_t pixelsPer1024Units) {
    if (pixelsPer1024Units <= 0) return 0;
    const std::int64_t scaled = std::int64_t{pixels} * 1024;
    std::int64_t units = scaled / pixelsPer1024Units;
    const std::int64_t remainder = scaled % pixelsPer1024Units;
    if (remainder > 0 && 2 * remainder >= pixelsPer1024Units) ++units;
    if (remainder < 0) --units;
    return static_cast<std::int32_t>(units);
}

}  // namespace kobrant
