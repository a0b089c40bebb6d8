#pragma once
// The baseline program's captions, which the benchmark driver looks for: the least a
// program of this kind does (a message box, then an empty modal dialog of the entry
// dialog's size and style, run by the same polling loop as kobrant.exe's dialog host).

namespace kobrant::bench {

inline constexpr char kBaselineBoxCaption[] = "Baseline";
inline constexpr char kBaselineDialogCaption[] = "Baseline dialog";

}  // namespace kobrant::bench
