#include "station/settings_file.h"

#include "numbers/number_text.h"

namespace kobrant {
namespace {

// A new settings file places the dialog at 5, 5 from the next start on.
constexpr std::int32_t kDefaultPosition = 5;

}  // namespace

FieldTexts DefaultFieldTexts() {
    return {"000", "000", "000", "00", "000", "000", "000", "000", "0000"};
}

Settings ReadSettingsLine(int fileNumber, FileError& error) {
    Settings settings;
    for (std::string& text : settings.fieldTexts) text = ReadTextItem(fileNumber, error);
    settings.dialogLeft = RoundToInteger(ReadNumberItem(fileNumber, error));
    settings.dialogTop = RoundToInteger(ReadNumberItem(fileNumber, error));
    return settings;
}

void WriteSettingsLine(int fileNumber, const Settings& settings, FileError& error) {
    for (const std::string& text : settings.fieldTexts) {
        WriteQuotedText(fileNumber, text, error);
        WriteSeparator(fileNumber, error);
    }
    WriteNumber(fileNumber, FromInteger(settings.dialogLeft), error);
    WriteSeparator(fileNumber, error);
    WriteNumber(fileNumber, FromInteger(settings.dialogTop), error);
    EndLine(fileNumber, error);
}

bool LoadOrCreateSettings(std::string_view settingsPath, Settings& settings, FileError& error) {
    if (OpenForInput(settingsPath, kSettingsFileNumber, error)) {
        settings = ReadSettingsLine(kSettingsFileNumber, error);
        CloseFile(kSettingsFileNumber, error);
        return true;
    }

    Settings defaults;
    defaults.fieldTexts = DefaultFieldTexts();
    defaults.dialogLeft = kDefaultPosition;
    defaults.dialogTop = kDefaultPosition;
    // A file that stands but could not be read is never replaced by the defaults where
    // output replaces files (Linux); Windows empties it as before. After a failed open
    // the number may still name another open file (55), which must not get the line or
    // be closed; and the read's code stays the one reported when the file stands.
    const FileError reading = error;
    if (!OpenForNewOutput(settingsPath, kSettingsFileNumber, error)) {
        if (reading.code != file_error::kFileNotFound) error = reading;
        return false;
    }
    WriteSettingsLine(kSettingsFileNumber, defaults, error);
    CloseFile(kSettingsFileNumber, error);
    return false;
}

}  // namespace kobrant
