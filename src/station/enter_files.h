#pragma once
// What one press of "Enter" does with the files, apart from the window: the nine field
// texts cleaned and converted, then the settings line with the dialog's position and
// the weather record written, in this order. The event handler (event_handler.h) reads
// the fields and the position from the dialog, calls these, flashes the dialog and then
// closes both files with CloseAllFiles.
//
// The examples below are replayed by EnterFiles.CommentExamples.

#include <cstdint>
#include <string>

#include "station/program_values.h"
#include "station/weather_record.h"
#include "system/sequential_files.h"

namespace kobrant {

// Cleans each field text in place (ConvertField) and gives the nine value texts, in
// field order.
//   ConvertFieldTexts({"270","5","8","20","0","1,5","2","65","1013,2"})
//       -> {"270","011","018","068","000","006","008","65","10132"},
//          the texts now {"270","5","8","20","0","1.5","2","65","1013.2"}
ValueTexts ConvertFieldTexts(FieldTexts& fieldTexts);

// What one "Enter" did with the files: each file's own error state, so that a front
// end can tell which file failed, and the report's two lines.
struct EnterOutcome {
    FileError settings;         // kobrant.ctl
    FileError record;           // WX-DATA.txt
    std::string timestampLine;  // of the report written, e.g. "Dec 06 2026 14:05"
    std::string dataLine;       // "270/011g018t068r000p006P008h65b10132"
    bool Written() const { return settings.code == 0 && record.code == 0; }
};

// Steps of "Enter" over the file layer, in order: settingsPath built again from
// startDirectory; the settings file opened for output as file number 1; the dialog's
// position (dialog units) taken into values; the settings line written (the field
// texts as they are in values, then left and top); the weather record written to
// recordPath as file number 2. Both files are left open: the caller closes them with
// CloseAllFiles once the operator has seen the outcome, or first with CloseEnterFiles
// where the close is what puts them in place (Linux). Every failure is left in the
// outcome, and no step is skipped for an earlier one's failure, except that nothing is
// written to a settings file that could not be opened.
//   WriteEnterFiles(values of the worked example, 5, 5, its value texts)
//       -> kobrant.ctl: "270","5","8","20","0","1.5","2","65","1013.2",5,5 CR LF
//          WX-DATA.txt: Dec 06 2026 14:05 CR LF 270/011g018t068r000p006P008h65b10132 CR LF
//          Written(); on Linux each line ends with LF alone
//   WriteEnterFiles(..., WX-DATA.txt held by another program, ..)
//       -> kobrant.ctl written as above, WX-DATA.txt unchanged, record.code 70
EnterOutcome WriteEnterFiles(ProgramValues& values, std::int32_t dialogLeft, std::int32_t dialogTop,
                             const ValueTexts& valueTexts, ClockReader readClock = ReadLocalClock);

// Closes the settings file into outcome.settings and the record into outcome.record.
void CloseEnterFiles(EnterOutcome& outcome);

}  // namespace kobrant
