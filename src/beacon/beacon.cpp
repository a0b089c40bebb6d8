#include "beacon/beacon.h"

#include "station/record_check.h"
#include "station/weather_record.h"

namespace kobrant {
namespace {

constexpr std::string_view kRecordName = "WX-DATA.txt";
constexpr int kDefaultMaxAge = 60;      // minutes
constexpr int kLargestMaxAge = 1440;    // a day
constexpr std::int64_t kFutureLeeway = 5 * 60;  // seconds a writer's clock may be ahead

constexpr char kUsage[] =
    "Aufruf: kobrant-beacon POSITION [ORDNER] [--max-age MINUTEN]\n"
    "Gibt den Wetterbericht ORDNER/WX-DATA.txt (Vorgabe: der aktuelle Ordner) als\n"
    "APRS-Wetterpaket mit Position und Zeit aus, fuer Dire Wolfs CBEACON infocmd=...\n"
    "Nichts (Status 1), wenn der Bericht fehlt, unvollstaendig ist, keinen Wert hat,\n"
    "aelter als MINUTEN (Vorgabe 60, 1 bis 1440) ist oder in der Zukunft liegt.\n"
    "  POSITION   wie APRS sie schreibt: DDMM.mmN/DDDMM.mmE, z.B. 5231.00N/01324.00E\n"
    "  --help     diese Hilfe\n"
    "  --version  die Version\n";

struct BeaconOptions {
    std::string position;
    std::string folder;  // empty: the current folder
    int maxAge = kDefaultMaxAge;
};

BeaconAnswer Answer(int exitStatus, std::string out, std::string err) {
    return {exitStatus, std::move(out), std::move(err)};
}

BeaconAnswer UsageError(const std::string& why) {
    return Answer(kBeaconUsageError, "", "kobrant-beacon: " + why + "\n" + kUsage);
}

// "DDMM.mm" + hemisphere (degrees of `degreeDigits`), at most `largest` degrees.
bool IsCoordinate(std::string_view text, std::size_t degreeDigits, int largest, std::string_view hemispheres) {
    if (text.size() != degreeDigits + 6 || text[degreeDigits + 2] != '.' ||
        hemispheres.find(text.back()) == std::string_view::npos) {
        return false;
    }
    const int degrees = DigitsAt(text, 0, degreeDigits);
    const int minutes = DigitsAt(text, degreeDigits, 2), hundredths = DigitsAt(text, degreeDigits + 3, 2);
    if (degrees < 0 || minutes < 0 || hundredths < 0 || minutes > 59) return false;
    return degrees < largest || (degrees == largest && minutes == 0 && hundredths == 0);
}

// The options, or the reason they are refused.
bool ReadOptions(const std::vector<std::string>& arguments, BeaconOptions& options, std::string& why) {
    std::vector<std::string> operands;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnd || argument.empty() || argument[0] != '-' || argument == "-") {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--max-age" || argument.rfind("--max-age=", 0) == 0) {
            std::string minutes;
            if (argument == "--max-age") {
                if (++i == arguments.size()) return why = "--max-age ohne MINUTEN", false;
                minutes = arguments[i];
            } else {
                minutes = argument.substr(10);
            }
            const int value = minutes.size() >= 1 && minutes.size() <= 4
                                  ? DigitsAt(minutes, 0, minutes.size())
                                  : -1;
            if (value < 1 || value > kLargestMaxAge) {
                return why = "--max-age \"" + minutes + "\": MINUTEN von 1 bis 1440", false;
            }
            options.maxAge = value;
        } else {
            return why = "unbekannte Option \"" + argument + "\"", false;
        }
    }
    if (operands.empty()) return why = "POSITION fehlt", false;
    if (operands.size() > 2) return why = "zu viele Argumente (\"" + operands[2] + "\")", false;
    if (!IsAprsPosition(operands[0])) {
        return why = "POSITION \"" + operands[0] + "\" ist nicht DDMM.mmN/DDDMM.mmE", false;
    }
    options.position = operands[0];
    if (operands.size() == 2) options.folder = operands[1];
    return true;
}

std::string RecordPath(const std::string& folder, char separator) {
    if (folder.empty()) return std::string(kRecordName);
    const char last = folder.back();
    return (last == '/' || last == separator ? folder : folder + separator) + std::string(kRecordName);
}

std::string ReadFailure(RecordFileRead read, int systemError) {
    switch (read) {
        case RecordFileRead::kRead:
            break;
        case RecordFileRead::kMissing:
            return "nicht da (noch kein \"Enter\"?)";
        case RecordFileRead::kNotRegular:
            return "keine gewoehnliche Datei";
        case RecordFileRead::kTooLarge:
            return "mehr als " + std::to_string(kRecordFileLimit) + " Bytes, kein Bericht";
        case RecordFileRead::kHeld:
            return "gesperrt (wird gerade geschrieben)";
        case RecordFileRead::kUnreadable:
            return "nicht lesbar (Fehler " + std::to_string(systemError) + ")";
    }
    return "";
}

std::string RecordFailure(RecordFault fault) {
    switch (fault) {
        case RecordFault::kNone:
            break;
        case RecordFault::kEmpty:
            return "leer";
        case RecordFault::kFirstLineOnly:
            return "nur die Zeitzeile (wird gerade geschrieben?)";
        case RecordFault::kNotTwoLines:
            return "nicht genau zwei Zeilen";
        case RecordFault::kBadTimestamp:
            return "Zeile 1 ist keine Zeitzeile wie \"Dec 06 2026 14:05\"";
        case RecordFault::kBadDataLine:
            return "Zeile 2 ist keine Datenzeile wie \"270/011g018t068r000p006P008h65b10132\"";
        case RecordFault::kNoValue:
            return "kein einziger Wert (alle Felder leer)";
    }
    return "";
}

std::string TwoDigits(int number) {
    return {static_cast<char>('0' + number / 10 % 10), static_cast<char>('0' + number % 10)};
}

// The record's time as its first line gives it.
std::string StampText(const ClockReading& t) { return TimestampLine(FormatDateText(t), FormatTimeText(t)); }

}  // namespace

bool IsAprsPosition(std::string_view text) {
    return text.size() == 18 && text[8] == '/' && IsCoordinate(text.substr(0, 8), 2, 90, "NS") &&
           IsCoordinate(text.substr(9), 3, 180, "EW");
}

BeaconAnswer RunBeacon(const std::vector<std::string>& arguments, const BeaconSystem& system) {
    if (arguments.size() == 1 && arguments[0] == "--help") return Answer(kBeaconAnswered, kUsage, "");
    if (arguments.size() == 1 && arguments[0] == "--version") {
        return Answer(kBeaconAnswered, "kobrant-beacon " KOBRANT_VERSION "\n", "");
    }
    BeaconOptions options;
    std::string why;
    if (!ReadOptions(arguments, options, why)) return UsageError(why);

    const std::string path = RecordPath(options.folder, system.folderSeparator);
    const auto refuse = [&path](const std::string& reason) {
        return Answer(kBeaconNoAnswer, "", "kobrant-beacon: " + path + ": " + reason + "\n");
    };
    std::string text;
    int systemError = 0;
    const RecordFileRead read = system.readRecordFile(path, kRecordFileLimit, text, systemError);
    if (read != RecordFileRead::kRead) return refuse(ReadFailure(read, systemError));
    if (text.size() > kRecordFileLimit) return refuse(ReadFailure(RecordFileRead::kTooLarge, 0));
    const CheckedRecord record = CheckRecord(text);
    if (record.fault != RecordFault::kNone) return refuse(RecordFailure(record.fault));

    std::int64_t utc = 0;
    if (!system.localToUtc(record.time, utc)) {
        return refuse("Zeit " + StampText(record.time) + " gibt es in der Zeitzone nicht");
    }
    // In whole minutes, as the record's time is given: a record of 14:05 is 60 minutes
    // old until 15:05:59.
    const std::int64_t age = system.now - utc;
    if (age >= 0 && age / 60 > options.maxAge) {
        return refuse("Bericht von " + StampText(record.time) + " ist " + std::to_string(age / 60) +
                      " Minuten alt, erlaubt sind " + std::to_string(options.maxAge));
    }
    if (-age > kFutureLeeway) {
        return refuse("Bericht von " + StampText(record.time) + " liegt " + std::to_string(-age / 60) +
                      " Minuten in der Zukunft (Uhr falsch gestellt?)");
    }
    const ClockReading sent = CalendarTime(utc);
    return Answer(kBeaconAnswered,
                  "@" + TwoDigits(sent.day) + TwoDigits(sent.hour) + TwoDigits(sent.minute) + "z" +
                      options.position + "_" + record.dataLine,
                  "");
}

}  // namespace kobrant
