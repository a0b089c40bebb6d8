#pragma once
// For the file tests only: what the file layer counts that no program needs.

#include <cstdint>

namespace kobrant {

// Writes handed to the system since the process began (the counts of
// sequential_files.h), so that tests can see that nothing is buffered or split.
std::uint64_t SystemWriteCount();

// The bytes written so far to the output file open under fileNumber (0 if none).
std::uint64_t BytesWrittenTo(int fileNumber);

}  // namespace kobrant
