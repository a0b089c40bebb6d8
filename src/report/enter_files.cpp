#include "report/enter_files.h"

#include "app/settings_file.h"
#include "app/startup.h"

namespace kobrant {

ValueTexts ConvertFieldTexts(FieldTexts& fieldTexts) {
    ValueTexts valueTexts;
    for (Field field : kFields) {
        const auto i = static_cast<std::size_t>(field);
        valueTexts[i] = ConvertField(field, fieldTexts[i]);
    }
    return valueTexts;
}

void WriteEnterFiles(ProgramValues& values, std::int32_t dialogLeft, std::int32_t dialogTop,
                     const ValueTexts& valueTexts, FileError& error, ClockReader readClock) {
    values.settingsPath = SettingsPathFor(values.startDirectory);
    // Judged by its own result: after a failed open the number may still name another
    // open file, which must not get the line.
    FileError openError;
    OpenForOutput(values.settingsPath, kSettingsFileNumber, openError);
    values.settings.dialogLeft = dialogLeft;
    values.settings.dialogTop = dialogTop;
    if (openError.code == 0) {
        WriteSettingsLine(kSettingsFileNumber, values.settings, error);
    } else {
        error.code = openError.code;
    }
    WriteWeatherRecord(values.recordPath, valueTexts, error, readClock);
}

}  // namespace kobrant
