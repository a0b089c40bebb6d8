#pragma once
// The worked example, written out once: what the operator types into the nine fields,
// what the settings file keeps of it (the cleaned texts: a decimal comma made a point),
// the value texts of the report, its data line and the settings line's nine texts.
// Rows that change one field spell out their own texts.

#include <string>

#include "station/fields.h"

namespace kobrant::test::worked_example {

inline const FieldTexts kTyped = {"270", "5", "8", "20", "0", "1,5", "2", "65", "1013,2"};
inline const FieldTexts kCleaned = {"270", "5", "8", "20", "0", "1.5", "2", "65", "1013.2"};
inline const ValueTexts kValues = {"270", "011", "018", "068", "000", "006", "008", "65", "10132"};
inline const std::string kDataLine = "270/011g018t068r000p006P008h65b10132";
// The settings line up to the position, which follows it: "...",-1,40 and the line end.
inline const std::string kSettingsTexts = R"("270","5","8","20","0","1.5","2","65","1013.2",)";

}  // namespace kobrant::test::worked_example
