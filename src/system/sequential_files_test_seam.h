#pragma once
// For the file tests only: what the file layer counts that no program needs.

#include <cstdint>

namespace kobrant {

// Writes handed to the system since the process began (the counts of
// sequential_files.h), so that tests can see that nothing is buffered or split.
std::uint64_t SystemWriteCount();

// The bytes written so far to the output file open under fileNumber (0 if none).
std::uint64_t BytesWrittenTo(int fileNumber);

// Linux: whether new files are made under an unpredictable name even where the file
// system could make them without one (O_TMPFILE), so that tests run both ways. Does
// nothing on Windows.
void UseNamedReplacementFiles(bool named);

}  // namespace kobrant
