#pragma once
// The program-wide values: made by start-up, read by the entry dialog, replaced in
// part by each "Enter".

#include <string>

#include "app/settings_file.h"

namespace kobrant {

struct ProgramValues {
    std::string startDirectory;  // the current directory at start, as the system gave it
    std::string recordPath;      // startDirectory + "\WX-DATA.txt"
    std::string settingsPath;    // startDirectory + "\kobrant.ctl"
    Settings settings;           // the nine field texts and the dialog's position
};

}  // namespace kobrant
