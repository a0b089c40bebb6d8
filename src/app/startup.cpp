#include "app/startup.h"

#include <vector>

namespace kobrant {
namespace {

// The directory can change between asking for its size and reading it; it would have
// to change on every attempt to use them all up.
constexpr int kDirectoryAttempts = 8;

}  // namespace

std::string CurrentDirectoryFrom(DirectoryReader read) {
    std::uint32_t needed = read(nullptr, 0);
    for (int attempt = 0; attempt < kDirectoryAttempts && needed != 0; ++attempt) {
        std::vector<char> buffer(needed);
        const std::uint32_t length = read(buffer.data(), needed);
        if (length == 0) break;
        if (length < needed) return std::string(buffer.data(), length);
        needed = length;  // it grew since the size was asked
    }
    return std::string(kUnreadableDirectory);
}

ProgramValues LoadStartValues(std::string_view startDirectory) {
    ProgramValues values = StartValues(startDirectory);
    FileError error;
    if (!LoadOrCreateSettings(values.settingsPath, values.settings, error) && error.code != file_error::kFileNotFound) {
        values.settingsUnread = error;
    }
    return values;
}

}  // namespace kobrant
