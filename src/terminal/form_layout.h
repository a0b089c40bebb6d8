#pragma once
// The terminal form's texts (Windows-1252, German, the dialog's own) and where each
// part stands. The dialog's labels are drawn without their trailing blanks, each
// caption right-aligned against its field as the dialog aligns them.
//
//    Die WX-Daten befinden sich in: /srv/wetter/WX-DATA.txt
//    +- KOBRANT--V571 ----------------------------+
//    |                                            |
//    |       Windrichtung  [270    ]  Grad        |
//    |                ...                         |
//    |          Luftdruck  [1013.2 ]  Millibar    |
//    |                                            |
//    |     [ CLEAR ]           [   Enter   ]      |
//    |                                            |
//    +--------------------------------------------+
//    14:05 geschrieben: 270/011g018t068r000p006P008h65b10132
//    Tab/Return weiter  Umschalt+Tab zur\xFCck  Leertaste Knopf  F10 Ende
//
// The header takes a second line when the path does not fit beside its caption, so the
// form needs kMinimumColumns x kMinimumLines; a smaller window shows kTooSmall alone.

#include "station/fields.h"

namespace kobrant {

struct FieldRow {
    const char* caption;
    const char* unit;
};

// In field order.
inline constexpr FieldRow kFieldRows[kFieldCount] = {
    {"Windrichtung", "Grad"},
    {"Gechwindigkeit", "m/sec."},
    {"B\xF6" "en-st\xE4" "rke", "m/sec."},
    {"Temperatur", "Celsius"},
    {"Regen  Stunde", "mm"},
    {"Regen 24 Std", "mm"},
    {"Regen heute", "mm"},
    {"Rel. Luftfeuchte.", "%"},
    {"Luftdruck", "Millibar"},
};

inline constexpr char kFormTitle[] = "KOBRANT--V571";
inline constexpr char kRecordPathHeader[] = "Die WX-Daten befinden sich in:";
inline constexpr char kClearButton[] = "[ CLEAR ]";
inline constexpr char kEnterButton[] = "[   Enter   ]";
inline constexpr char kTooSmall[] = "Fenster zu klein (mind. 46 x 19)";

// The keys, the longest line that fits the window.
inline constexpr const char* kKeyLines[] = {
    "Tab/Return weiter  Umschalt+Tab zur\xFC" "ck  Leertaste Knopf  F10 Ende",
    "Tab weiter  Umschalt+Tab zur\xFC" "ck  F10 Ende",
    "Tab weiter  F10 Ende",
};

// Columns and lines, the box's own counted from its top left corner.
inline constexpr int kMinimumColumns = 46;
inline constexpr int kMinimumLines = 19;
inline constexpr int kBoxLeft = 1;
inline constexpr int kBoxWidth = 44;
inline constexpr int kBoxHeight = 15;
inline constexpr int kCaptionEnd = 19;   // a caption ends just before this column
inline constexpr int kFieldLeft = 21;    // the "[" of a field; its cells follow
inline constexpr int kFieldCells = 7;    // six characters and the cursor behind them
inline constexpr int kUnitLeft = 32;
inline constexpr int kFirstFieldLine = 2;
inline constexpr int kButtonLine = 12;
inline constexpr int kClearLeft = 6;
inline constexpr int kEnterLeft = 26;

}  // namespace kobrant
