#include "station/program_values.h"

namespace kobrant {
namespace {

constexpr std::string_view kRecordName = "WX-DATA.txt";
constexpr std::string_view kSettingsName = "kobrant.ctl";

}  // namespace

std::string RecordPathFor(std::string_view startDirectory) {
    return FileInFolder(startDirectory, kRecordName);
}

std::string SettingsPathFor(std::string_view startDirectory) {
    return FileInFolder(startDirectory, kSettingsName);
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

}  // namespace kobrant
