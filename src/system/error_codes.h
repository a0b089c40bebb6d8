#pragma once
// How a system error number becomes the file layer's error code.
//
// System error numbers are those of Windows (GetLastError); the POSIX side of the
// system-call seam translates errno into them first, so one table serves both.
//
//   FileErrorFromSystemError(0)   -> 0    success
//   FileErrorFromSystemError(2)   -> 53   file not found
//   FileErrorFromSystemError(3)   -> 76   path not found
//   FileErrorFromSystemError(5)   -> 70   access denied
//   FileErrorFromSystemError(32)  -> 70   sharing violation
//   FileErrorFromSystemError(87)  -> 5    invalid parameter
//   FileErrorFromSystemError(112) -> 61   disk full
//   FileErrorFromSystemError(206) -> 75   every other number of 40 or more

#include <cstdint>

namespace kobrant {

std::uint8_t FileErrorFromSystemError(std::uint32_t systemError);

}  // namespace kobrant
