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

EnterOutcome WriteEnterFiles(ProgramValues& values, std::int32_t dialogLeft, std::int32_t dialogTop,
                             const ValueTexts& valueTexts, ClockReader readClock) {
    EnterOutcome outcome;
    values.settingsPath = SettingsPathFor(values.startDirectory);
    const bool settingsOpen = OpenForOutput(values.settingsPath, kSettingsFileNumber, outcome.settings);
    values.settings.dialogLeft = dialogLeft;
    values.settings.dialogTop = dialogTop;
    if (settingsOpen) WriteSettingsLine(kSettingsFileNumber, values.settings, outcome.settings);
    outcome.timestampLine = WriteWeatherRecord(values.recordPath, valueTexts, outcome.record, readClock);
    outcome.dataLine = DataLine(valueTexts);
    return outcome;
}

void CloseEnterFiles(EnterOutcome& outcome) {
    CloseFile(kSettingsFileNumber, outcome.settings);
    CloseFile(kRecordFileNumber, outcome.record);
}

}  // namespace kobrant
