#include "app/startup.h"

#include <vector>

namespace kobrant {
namespace {

constexpr std::string_view kRecordName = "\\WX-DATA.txt";
constexpr std::string_view kSettingsName = "\\kobrant.ctl";

// The directory can change between asking for its size and reading it; it would have
// to change on every attempt to use them all up.
constexpr int kDirectoryAttempts = 8;

}  // namespace

std::string RecordPathFor(std::string_view startDirectory) {
    return std::string(startDirectory) + std::string(kRecordName);
}

std::string SettingsPathFor(std::string_view startDirectory) {
    return std::string(startDirectory) + std::string(kSettingsName);
}

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

ProgramValues StartValues(std::string_view startDirectory) {
    ProgramValues values;
    values.startDirectory = std::string(startDirectory);
    values.recordPath = RecordPathFor(startDirectory);
    values.settingsPath = SettingsPathFor(startDirectory);
    values.settings.fieldTexts = DefaultFieldTexts();
    values.settings.dialogLeft = 0;
    values.settings.dialogTop = 0;
    return values;
}

void LoadStartSettings(ProgramValues& values, FileError& error) {
    LoadOrCreateSettings(values.settingsPath, values.settings, error);
}

}  // namespace kobrant
