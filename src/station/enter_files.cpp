#include "station/enter_files.h"

#include "station/field_conversion.h"
#include "station/settings_file.h"

namespace kobrant {

ValueTexts ConvertFieldTexts(FieldTexts& fieldTexts) {
    ValueTexts valueTexts;
    for (Field field : kFields) {
        valueTexts[FieldIndex(field)] = ConvertField(field, fieldTexts[FieldIndex(field)]);
    }
    return valueTexts;
}

void WriteEnterFiles(ProgramValues& values, std::int32_t dialogLeft, std::int32_t dialogTop,
                     const ValueTexts& valueTexts, FileError& error, ClockReader readClock) {
    values.settingsPath = SettingsPathFor(values.startDirectory);
    const bool settingsOpen = OpenForOutput(values.settingsPath, kSettingsFileNumber, error);
    values.settings.dialogLeft = dialogLeft;
    values.settings.dialogTop = dialogTop;
    if (settingsOpen) WriteSettingsLine(kSettingsFileNumber, values.settings, error);
    WriteWeatherRecord(values.recordPath, valueTexts, error, readClock);
}

}  // namespace kobrant
