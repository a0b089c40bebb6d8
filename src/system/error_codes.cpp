#include "system/error_codes.h"

#include "system/sequential_files.h"

namespace kobrant {
namespace {

// The codes of the system errors 1 to 39; index 0 is success.
constexpr std::uint8_t kBelow40[40] = {
    0,                                  // 0  success
    file_error::kPathFileAccess,        // 1  invalid function
    file_error::kFileNotFound,          // 2  file not found
    file_error::kPathNotFound,          // 3  path not found
    file_error::kTooManyFiles,          // 4  too many open files
    file_error::kPermissionDenied,      // 5  access denied
    file_error::kInternal,              // 6  invalid handle
    file_error::kInternalSystem,        // 7  arena trashed
    file_error::kOutOfMemory,           // 8  not enough memory
    file_error::kInternalSystem,        // 9  invalid block
    file_error::kInternalSystem,        // 10 bad environment
    file_error::kInternal,              // 11 bad format
    file_error::kInternal,              // 12 invalid access
    file_error::kInternal,              // 13 invalid data
    file_error::kOutOfMemory,           // 14 out of memory
    file_error::kDeviceUnavailable,     // 15 invalid drive
    file_error::kPathFileAccess,        // 16 current directory
    file_error::kDifferentDevice,       // 17 not same device
    file_error::kFileNotFound,          // 18 no more files
    file_error::kPermissionDenied,      // 19 write protect
    file_error::kDeviceUnavailable,     // 20 bad unit
    file_error::kDriveNotReady,         // 21 not ready
    file_error::kInternal,              // 22 bad command
    file_error::kMediaError,            // 23 CRC
    file_error::kInternal,              // 24 bad length
    file_error::kMediaError,            // 25 seek
    file_error::kMediaError,            // 26 not DOS disk
    file_error::kMediaError,            // 27 sector not found
    file_error::kMediaError,            // 28 out of paper
    file_error::kMediaError,            // 29 write fault
    file_error::kMediaError,            // 30 read fault
    file_error::kMediaError,            // 31 general failure
    file_error::kPermissionDenied,      // 32 sharing violation
    file_error::kPermissionDenied,      // 33 lock violation
    file_error::kMediaError,            // 34 wrong disk
    file_error::kMediaError,            // 35 (reserved)
    file_error::kPermissionDenied,      // 36 sharing buffer exceeded
    file_error::kPathFileAccess,        // 37 (reserved)
    file_error::kPastEnd,               // 38 handle EOF
    file_error::kDiskFull,              // 39 handle disk full
};

constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kDiskFull = 112;

}  // namespace

std::uint8_t FileErrorFromSystemError(std::uint32_t systemError) {
    if (systemError < 40) return kBelow40[systemError];
    if (systemError == kInvalidParameter) return file_error::kBadArgument;
    if (systemError == kDiskFull) return file_error::kDiskFull;
    return file_error::kPathFileAccess;
}

}  // namespace kobrant
