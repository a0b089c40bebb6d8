#pragma once
// The names and numbers by which the program's two windows are found: the message box
// at start and the entry dialog with its controls. The program uses them, and so do
// the test driver, the benchmark and tools/run, which reads the captions with sed: keep
// each caption on one line of the form  inline constexpr char kName[] = "...";

namespace kobrant {

// The message box at start, which shows where the weather record lies.
inline constexpr char kRecordPathCaption[] = "Die WX-Daten befinden sich in:";

// The entry dialog.
inline constexpr char kEntryDialogCaption[] = "KOBRANT--V571";

// The ids of its 30 controls run from 1001 to 1030 in creation (and tab) order: nine
// caption labels, the nine edit fields in field order, nine unit labels, "Enter", the
// web-address label and "CLEAR".
inline constexpr int kFirstCaptionLabelId = 1001;
inline constexpr int kFirstEditFieldId = 1010;  // 1010 to 1018, in field order
inline constexpr int kFirstUnitLabelId = 1019;
inline constexpr int kEnterButtonId = 1028;
inline constexpr int kWebAddressLabelId = 1029;
inline constexpr int kClearButtonId = 1030;

}  // namespace kobrant
