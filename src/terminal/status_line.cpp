#include "terminal/status_line.h"

#include "numbers/number_text.h"

namespace kobrant {
namespace {

std::string FileFailure(const char* name, const FileError& error) {
    return std::string(name) + ": " + FailureText(error) + " (" + std::to_string(error.code) + ")";
}

}  // namespace

std::string FileErrorText(std::uint8_t code) {
    switch (code) {
    case file_error::kBadArgument: return "ung\xFCltiges Argument";
    case file_error::kOutOfMemory: return "kein Speicher";
    case file_error::kNotOpen: return "Datei nicht ge\xF6""ffnet";
    case file_error::kFileNotFound: return "Datei nicht gefunden";
    case file_error::kWrongMode: return "falsche Zugriffsart";
    case file_error::kAlreadyOpen: return "Datei schon ge\xF6""ffnet";
    case file_error::kShortDeviceWrite: return "unvollst\xE4ndig geschrieben";
    case file_error::kDiskFull: return "Datentr\xE4ger voll";
    case file_error::kPastEnd: return "Dateiende";
    case file_error::kBadFileName: return "ung\xFCltiger Dateiname";
    case file_error::kTooManyFiles: return "zu viele offene Dateien";
    case file_error::kDeviceUnavailable: return "Ger\xE4t nicht verf\xFCgbar";
    case file_error::kPermissionDenied: return "Zugriff verweigert";
    case file_error::kDriveNotReady: return "Laufwerk nicht bereit";
    case file_error::kMediaError: return "Datentr\xE4gerfehler";
    case file_error::kDifferentDevice: return "anderes Ger\xE4t";
    case file_error::kPathFileAccess: return "Pfad- oder Dateizugriffsfehler";
    case file_error::kPathNotFound: return "Ordner nicht gefunden";
    case file_error::kInternal:
    case file_error::kInternalSystem: return "interner Fehler";
    default: return "Fehler";
    }
}

std::string FailureText(const FileError& error) {
    switch (error.systemError) {
    case system_error::kForeignLink: return "Verweis eines anderen Benutzers";
    case system_error::kNotAFile: return "keine gew\xF6hnliche Datei";
    case system_error::kTooLong: return "l\xE4nger als 1 MiB";
    case system_error::kStopped: return "abgebrochen";
    case system_error::kFileExists: return "Datei besteht schon";
    default: return FileErrorText(error.code);
    }
}

std::string StatusAtStart(const FileError& settingsUnread) {
    if (settingsUnread.code == 0) return std::string();
    return FileFailure("kobrant.ctl", settingsUnread) + ", die Felder zeigen die Vorgaben";
}

std::string StatusAfterEnter(const EnterOutcome& outcome) {
    const std::string time = MidPart(outcome.timestampLine, 13, 5);  // "Mon DD YYYY HH:MM"
    if (outcome.Written() && (outcome.settings.notYetOnDisk || outcome.record.notYetOnDisk)) {
        return time + " geschrieben, noch nicht sicher auf dem Datentr\xE4ger: " + outcome.dataLine;
    }
    if (outcome.Written()) return time + " geschrieben: " + outcome.dataLine;
    std::string status = time + " nicht geschrieben: ";
    if (outcome.settings.code == outcome.record.code) {
        return status + "kobrant.ctl und " + FileFailure("WX-DATA.txt", outcome.record);
    }
    if (outcome.settings.code != 0) status += FileFailure("kobrant.ctl", outcome.settings);
    if (outcome.settings.code != 0 && outcome.record.code != 0) status += ", ";
    if (outcome.record.code != 0) status += FileFailure("WX-DATA.txt", outcome.record);
    return status;
}

}  // namespace kobrant
