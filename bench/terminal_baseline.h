#pragma once
// The terminal program's same-form baseline: Debian's dialog with a form of the same
// nine rows (the captions, the field texts, fields of 7 cells taking 5 characters, 6
// for the pressure, and the units beside them as texts that can't be edited), the same
// title, the header line with the record's path as its back title and the buttons named
// "Enter" and "CLEAR". The texts are in UTF-8 for a UTF-8 locale. Portable.
//
//   DialogFormArguments("/w", texts) -> {"--backtitle", "Die WX-Daten befinden sich in: /w/WX-DATA.txt",
//       "--title", "KOBRANT--V571", "--ok-label", "Enter", "--cancel-label", "CLEAR", "--form", "", "15",
//       "46", "9", "Windrichtung", "1", "6", "270", "1", "21", "7", "5", "Grad", "1", "31", "", "1", "31",
//       "0", "0", ... (18 entries in all)}
//   Utf8Of("B\xF6" "en") -> "B\xC3\xB6" "en"
//   SettingsLine(texts)  -> "\"270\",\"5\",...,\"1013.2\",5,5\n" (kobrant.ctl for these texts)

#include <string>
#include <vector>

#include "station/fields.h"

namespace kobrant::bench {

// The arguments after "dialog".
std::vector<std::string> DialogFormArguments(const std::string& folder, const FieldTexts& texts);

// Windows-1252 text in UTF-8.
std::string Utf8Of(const std::string& windows1252);

// The settings file that opens the terminal program with these texts.
std::string SettingsLine(const FieldTexts& texts);

}  // namespace kobrant::bench
