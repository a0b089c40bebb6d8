#pragma once
// kobrant-beacon: the weather record as the information field of an APRS packet, for
// a sender that runs a command for each beacon (Dire Wolf's CBEACON infocmd) and sends
// exactly what it prints, or nothing when it prints nothing.
//
//   kobrant-beacon POSITION [FOLDER] [--max-age MINUTES]
//
// reads FOLDER's WX-DATA.txt (default: the current folder) and answers, for a fresh
// record, "@" DDHHMM "z" POSITION "_" and the data line, without a line end: the
// complete weather report with position and the record's time in UTC. The record's
// time is its timestamp line, which the writer made from its local clock; it is read
// as local time in the running system's time zone.
//
// Exit status, as grep's and test's callers expect it: 0 with the answer on standard
// output; 1 with nothing on standard output and one line on standard error saying why
// (the sender shows it in its log); 2 for a bad argument, with the usage. The texts
// are German and plain ASCII, so that they read alike in any terminal and log.
//
// The examples below are rows of BeaconAnswers.Table.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system/local_clock.h"

namespace kobrant {

inline constexpr int kBeaconAnswered = 0;
inline constexpr int kBeaconNoAnswer = 1;
inline constexpr int kBeaconUsageError = 2;

// The largest record file read: a record is 57 bytes; anything much longer is not one.
inline constexpr std::size_t kRecordFileLimit = 256;

// How the record file was read (ReadRecordFile).
enum class RecordFileRead {
    kRead,        // text holds the whole file
    kMissing,     // no file (or no folder) of the name
    kNotRegular,  // a folder, device, pipe or socket
    kTooLarge,    // longer than the limit
    kHeld,        // another program holds it without sharing (Windows, during "Enter")
    kUnreadable,  // any other failure; systemError says which
};

// The system the beacon runs on: the record file, the time now, the local time zone.
// The program passes the platform's (beacon_system.h); the tests their own.
struct BeaconSystem {
    // Reads up to limit + 1 bytes of the regular file at path into text.
    RecordFileRead (*readRecordFile)(const std::string& path, std::size_t limit, std::string& text,
                                     int& systemError) = nullptr;
    std::int64_t now = 0;  // seconds since 1970-01-01 00:00 UTC
    // The UTC seconds of a local calendar time, false when the zone has none for it.
    bool (*localToUtc)(const ClockReading& local, std::int64_t& utc) = nullptr;
    char folderSeparator = '/';
};

struct BeaconAnswer {
    int exitStatus = kBeaconUsageError;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Whether text is a position as APRS writes it, primary symbol table: "DDMM.mmN/DDDMM.mmE",
// latitude 0-90 degrees N or S, longitude 0-180 degrees E or W, minutes below 60.
//   IsAprsPosition("5231.00N/01324.00E") -> true
//   IsAprsPosition("9000.00S/18000.00W") -> true
//   IsAprsPosition("9000.01N/01324.00E") -> false
//   IsAprsPosition("5260.00N/01324.00E") -> false
//   IsAprsPosition("5231.00N\\01324.00E") -> false  (the alternate table)
bool IsAprsPosition(std::string_view text);

// The beacon's answer for its arguments (without the program's name).
//   RunBeacon({"5231.00N/01324.00E", "/srv/wetter"}, system with the worked example's
//             record of 14:05 local time (UTC+1), now 14:10) ->
//       {0, "@061305z5231.00N/01324.00E_270/011g018t068r000p006P008h65b10132", ""}
//   RunBeacon({"5231.00N/01324.00E", "/srv/wetter", "--max-age", "3"}, the same) ->
//       {1, "", "kobrant-beacon: /srv/wetter/WX-DATA.txt: Bericht von Dec 06 2026 14:05 ist 5
//                Minuten alt, erlaubt sind 3\n"}
//   RunBeacon({"5231.00N"}, ...) ->
//       {2, "", "kobrant-beacon: POSITION \"5231.00N\" ist nicht DDMM.mmN/DDDMM.mmE\nAufruf: ..."}
BeaconAnswer RunBeacon(const std::vector<std::string>& arguments, const BeaconSystem& system);

}  // namespace kobrant
