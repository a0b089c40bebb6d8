#pragma once
// The status line under the form, in German (Windows-1252): what the last "Enter" did.
//
// The examples below are replayed by StatusLine.CommentExamples.
//   StatusAfterEnter(both files written at "Dec 06 2026 14:05")
//       -> "14:05 geschrieben: 270/011g018t068r000p006P008h65b10132"
//   StatusAfterEnter(WX-DATA.txt refused with 70)
//       -> "14:05 nicht geschrieben: WX-DATA.txt: Zugriff verweigert (70)"
//   StatusAfterEnter(both refused with 70)
//       -> "14:05 nicht geschrieben: kobrant.ctl und WX-DATA.txt: Zugriff verweigert (70)"
//   StatusAfterEnter(both refused, 70 and 76)
//       -> "14:05 nicht geschrieben: kobrant.ctl: Zugriff verweigert (70), WX-DATA.txt: Ordner nicht gefunden (76)"
//   StatusAfterEnter(both in place, a folder flush failed)
//       -> "14:05 geschrieben, noch nicht sicher auf dem Datentr\xE4ger: 270/011g018t068r000p006P008h65b10132"
//   StatusAtStart(70)  -> "kobrant.ctl: Zugriff verweigert (70), die Felder zeigen die Vorgaben"
//   StatusAtStart(75, another user's link)
//       -> "kobrant.ctl: Verweis eines anderen Benutzers (75), die Felder zeigen die Vorgaben"
//   StatusAtStart(0)   -> ""
//   FileErrorText(61) -> "Datentr\xE4ger voll"      FileErrorText(200) -> "Fehler"

#include <cstdint>
#include <string>

#include "station/enter_files.h"

namespace kobrant {

std::string StatusAfterEnter(const EnterOutcome& outcome);

// Why the settings file that stands was not read at start, or "" when it was.
std::string StatusAtStart(const FileError& settingsUnread);

// What failed, in a few words: the system's own reason where the file layer's code is
// too general to say it (another user's link, no regular file, too long).
std::string FailureText(const FileError& error);

// What an error code of the file layer means, in a few words.
std::string FileErrorText(std::uint8_t code);

}  // namespace kobrant
