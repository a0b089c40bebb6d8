// The Linux side of the on-air test: Dire Wolf sends each row's WX-DATA.txt, and
// decode_aprs reads each packet as a receiver does. Every value must read as what was
// typed, in the report's unit; a missing field reads as missing, and no comment text is
// left. The records come from both programs: as the real kobrant.exe wrote them
// (type_rows_wine_test.cpp, under Wine, in the windows build; lines end with CR LF), and
// as the real Linux kobrant writes them here, typed in a terminal (lines end with LF).
// Xastir's bridge script for such weather files then serves the Linux program's record
// as the one line Xastir's weather parser reads.
//
// Dire Wolf runs without a radio and opens no network port (ADEVICE null null, AGWPORT 0
// and KISSPORT 0). To see every record's values on the air, whatever its age, the rows
// go out as the comment of a PBEACON that reads the data line itself, one per row, each
// due a second after the start and then not for an hour, so each is sent once; the
// README's CBEACON with kobrant-beacon, which sends a record only while it is fresh, has
// its own test below. Dire Wolf prints each frame it sends ("[0L] " and
// the packet in monitor format); once all are there, the test ends it by its process id.
//
// The build names the folders: KOBRANT_ONAIR_ROWS (the rows' WX-DATA.txt files, one
// folder each, as the windows build's onair_typing_tests keeps them) and
// KOBRANT_ONAIR_WORK (Dire Wolf's configuration and output, the packets; the Linux
// program's rows in its folder "linux"). Without the windows rows that test skips and
// says how to make them; tools/test runs the windows preset first, so that there they
// are the rows of the same sources. CTest names the Linux program in KOBRANT_PROGRAM.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "onair/aprs_weather.h"
#include "support/processes_posix.h"
#include "onair/report_rows.h"
#include "station/record_check.h"
#include "station/weather_record.h"
#include "support/files.h"
#include "support/terminal_session.h"

namespace kobrant::onair {
namespace {

// The command that gives Dire Wolf the comment: the second line of the file. The Windows
// program replaces the file at each "Enter" and it is missing for a moment, so it tries
// again, five times a second apart (Dire Wolf strips the line's CR).
std::string ReaderCommand(const std::string& file) {
    return "for try in 1 2 3 4 5; do sed -n 2p " + file + " 2>/dev/null | grep . && break; sleep 1; done";
}

std::string BeaconLine(const std::string& file) {
    return "PBEACON delay=0:01 every=60 symbol=\"/_\" lat=" + std::string(kBeaconLatitude) +
           " long=" + std::string(kBeaconLongitude) + " commentcmd=\"" + ReaderCommand(file) + "\"\n";
}

std::string Configuration(const std::vector<std::string>& files) {
    std::string text = "ADEVICE null null\nMYCALL " + std::string(kCallsign) + "\nAGWPORT 0\nKISSPORT 0\n";
    for (const std::string& file : files) text += BeaconLine(file);
    return text;
}

// The packets Dire Wolf printed as sent: "[0L] " (channel 0, low priority) and the packet.
std::vector<std::string> SentPackets(const std::string& output) {
    std::vector<std::string> packets;
    for (const std::string_view line : OutputLines(output)) {
        if (line.rfind("[0L] ", 0) == 0) packets.emplace_back(line.substr(5));
    }
    return packets;
}

// The data line of a record: the second of its two lines, each ended by lineEnd.
bool DataLineOf(const std::string& record, const std::string& lineEnd, std::string& dataLine) {
    const std::size_t first = record.find(lineEnd), end = lineEnd.size();
    if (first == std::string::npos || record.size() < first + 2 * end ||
        record.substr(record.size() - end) != lineEnd) {
        return false;
    }
    dataLine = record.substr(first + end, record.size() - first - 2 * end);
    return dataLine.find_first_of("\r\n") == std::string::npos;
}

// Dire Wolf sends the record of each row (rows/NN/WX-DATA.txt, lines ended by lineEnd)
// once, and decode_aprs must read each value as typed.
void SendEachRecordAndDecode(const std::string& rows, const std::string& work, const std::string& lineEnd) {
    ASSERT_TRUE(test::OnPath("direwolf") && test::OnPath("decode_aprs")) << "Dire Wolf is not installed (tools/test installs it)";

    // The records, in the folders Dire Wolf reads them from (work/rows links the rows).
    std::filesystem::create_directories(work);
    const std::string link = work + "/rows";
    unlink(link.c_str());
    ASSERT_EQ(0, symlink(rows.c_str(), link.c_str())) << link;
    std::vector<std::string> dataLines, files;
    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        const std::string file = "rows/" + RowFolder(row) + "/WX-DATA.txt";
        const std::string record = test::ReadBytes(work + "/" + file);
        std::string dataLine;
        ASSERT_TRUE(DataLineOf(record, lineEnd, dataLine))
            << kReportRows[row].name << ": " << file << " holds \"" << record << "\"";
        dataLines.push_back(dataLine);
        files.push_back(file);
    }
    // One more beacon, the first, reads a record caught while "Enter" writes it: only its
    // timestamp line is there. Once Dire Wolf's reader has read it (the file is closed
    // after reading), the test puts the whole record in place (the worked example's), and
    // the reader must try again and send its data line.
    const std::string lateFolder = work + "/late";
    const std::string lateFile = lateFolder + "/WX-DATA.txt";
    const std::string wholeRecord = test::ReadBytes(work + "/" + files[1]);
    mkdir(lateFolder.c_str(), 0755);
    ASSERT_TRUE(test::WriteBytes(lateFile, wholeRecord.substr(0, wholeRecord.find(lineEnd) + lineEnd.size())));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, lateFile.c_str(), IN_CLOSE_NOWRITE), 0);
    files.insert(files.begin(), "late/WX-DATA.txt");
    dataLines.insert(dataLines.begin(), dataLines[1]);
    ASSERT_TRUE(test::WriteBytes(work + "/direwolf.conf", Configuration(files)));

    std::string why;
    const std::string outputFile = work + "/direwolf.out";
    test::RunningProgram direwolf(test::StartProgram({"direwolf", "-c", "direwolf.conf", "-t", "0"}, work, "", outputFile, why));
    ASSERT_TRUE(direwolf.Started()) << why;
    std::vector<std::string> sent;
    const auto started = std::chrono::steady_clock::now();
    double firstRead = -1, allSent = -1;  // seconds after the start
    while (std::chrono::steady_clock::now() < started + std::chrono::seconds(30)) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        alignas(inotify_event) char events[4096];
        if (firstRead < 0 && read(watch, events, sizeof events) > 0) {
            const std::string whole = lateFile + ".new";  // put in place at once, by a rename
            ASSERT_TRUE(test::WriteBytes(whole, wholeRecord) && std::rename(whole.c_str(), lateFile.c_str()) == 0);
            firstRead = seconds;
        }
        sent = SentPackets(test::ReadBytes(outputFile));
        if (sent.size() >= files.size()) {
            allSent = seconds;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    close(watch);
    std::printf("Dire Wolf read the partly written record %.1f s after its start and sent all %zu packets "
                "after %.1f s\n",
                firstRead, files.size(), allSent);
    EXPECT_GE(firstRead, 0) << "Dire Wolf never read " << lateFile;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // nothing more comes
    direwolf.End();
    const std::string output = test::ReadBytes(outputFile);
    sent = SentPackets(output);
    ASSERT_EQ(files.size(), sent.size()) << "Dire Wolf's output:\n" << output;
    EXPECT_NE(output.find("Disabled AGW network client port."), std::string::npos) << output;
    EXPECT_NE(output.find("Disabled KISS network client port."), std::string::npos) << output;

    // Each record's packet: the data line whole, behind the beacon's position and symbol.
    std::vector<std::string> packets;
    std::vector<bool> taken(sent.size(), false);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string expected = Packet(dataLines[i]);
        bool found = false;
        for (std::size_t k = 0; k < sent.size() && !found; ++k) {
            if (!taken[k] && sent[k] == expected) taken[k] = found = true;
        }
        EXPECT_TRUE(found) << files[i] << ": no packet " << expected << " among what Dire Wolf sent:\n" << output;
        if (i > 0) packets.push_back(expected);  // the rows'
    }
    dataLines.erase(dataLines.begin());
    ASSERT_FALSE(::testing::Test::HasFailure());

    std::string decoded;
    ASSERT_TRUE(RunDecodeAprs(packets, work, decoded, why)) << why << "\n" << decoded;
    const std::vector<Reading> readings = ReadDecodeAprsOutput(decoded, packets);
    std::printf("%-38s | %-37s | %s\n", "row", "data line sent", "decode_aprs reads");
    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        const ReportRow& r = kReportRows[row];
        std::array<std::string, kFieldCount> typed;
        for (std::size_t f = 0; f < kFieldCount; ++f) typed[f] = std::string(r.texts[f]);
        const Comparison comparison = Compare(typed, readings[row]);
        std::printf("%-38s | %-37s | %s\n", std::string(r.name).c_str(), dataLines[row].c_str(),
                    readings[row].weatherLine.c_str());
        for (const std::string& mismatch : comparison.mismatches) ADD_FAILURE() << r.name << ": " << mismatch;
        EXPECT_FALSE(comparison.directionHidden) << r.name << ": a row whose direction decode_aprs cannot show";
    }
}

TEST(DireWolf, SendsEachRecordAndDecodeAprsReadsWhatWasTyped) {
    const std::string rows = KOBRANT_ONAIR_ROWS;
    if (rows.empty() || !std::filesystem::is_directory(rows)) {
        GTEST_SKIP() << "no rows in \"" << rows << "\": kobrant.exe types them under Wine in the windows "
                     << "build (ctest --preset windows -R onair_typing_tests), which tools/test runs first";
    }
    SendEachRecordAndDecode(rows, KOBRANT_ONAIR_WORK, "\r\n");
}

// Types the rows (indices into kReportRows) into the real Linux kobrant, started in a
// fresh folder, in a terminal of tmux's, and keeps each row's WX-DATA.txt in
// rowsFolder/NN. The settings file's row, if any, comes first: its texts are in
// kobrant.ctl at the start. Each record must carry the data line that the conversion
// makes of the row's texts, after its timestamp line, each line ended by LF.
void TypeRowsIntoTheLinuxProgram(const std::vector<std::size_t>& rows, const std::string& rowsFolder) {
    test::TestDirectory folder, control;
    const auto file = [&folder](const char* name) { return folder.Path() + "/" + name; };
    std::filesystem::remove_all(rowsFolder);
    if (kReportRows[rows.front()].input == RowInput::kSettingsFile) {
        std::string line;
        for (std::string_view text : kReportRows[rows.front()].texts) line += "\"" + std::string(text) + "\",";
        ASSERT_TRUE(test::WriteBytes(file("kobrant.ctl"), line + "5,5\n"));
    }
    test::TerminalSession session(test::ProgramUnderTest(), folder.Path(), control.Path(),
                                  {"LC_ALL=C.UTF-8", "TERM=screen-256color"}, 80, 24);
    ASSERT_TRUE(session.Started() && session.WaitFor("KOBRANT--V571")) << session.Why() << session.Screen();
    bool onEnterButton = false;  // else on the first field, as at the start
    for (const std::size_t row : rows) {
        const ReportRow& r = kReportRows[row];
        SCOPED_TRACE(std::string(r.name));
        if (r.input == RowInput::kSettingsFile) {
            session.Keys({"Up", "Up"});  // to "Enter", backwards over "CLEAR"
        } else if (r.input == RowInput::kClear) {
            session.Keys(onEnterButton ? std::vector<std::string>{"Tab", "Enter", "BTab"}
                                       : std::vector<std::string>{"Up", "Enter", "Up"});
        } else {
            if (onEnterButton) session.Keys({"Tab", "Tab"});  // over "CLEAR" to the first field
            session.TypeFields(std::vector<std::string>(r.texts.begin(), r.texts.end()));
        }
        std::filesystem::remove(file("WX-DATA.txt"));  // not the last row's record
        session.Keys({"Enter"});
        onEnterButton = true;
        const std::string dataLine = ConvertedDataLine(r);
        ASSERT_TRUE(session.WaitFor("geschrieben: " + dataLine)) << session.Screen();
        std::string record = test::ReadBytes(file("WX-DATA.txt"));
        for (int wait = 0; wait < 500 && record == "<missing>"; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            record = test::ReadBytes(file("WX-DATA.txt"));
        }
        ASSERT_EQ(record.size(), 17 + 1 + dataLine.size() + 1) << record;
        EXPECT_EQ(record.substr(17), "\n" + dataLine + "\n");
        std::filesystem::create_directories(rowsFolder + "/" + RowFolder(row));
        ASSERT_TRUE(test::WriteBytes(rowsFolder + "/" + RowFolder(row) + "/WX-DATA.txt", record));
    }
    session.Keys({"F10"});
    EXPECT_EQ(session.WaitForExit(), 0);
}

std::vector<std::size_t> AllRows() {
    std::vector<std::size_t> rows(kReportRows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = row;
    return rows;
}

TEST(DireWolf, SendsWhatTheLinuxProgramWroteAndDecodeAprsReadsWhatWasTyped) {
    const std::string work = std::string(KOBRANT_ONAIR_WORK) + "/linux";
    TypeRowsIntoTheLinuxProgram(AllRows(), work + "/typed");
    ASSERT_FALSE(HasFatalFailure());
    SendEachRecordAndDecode(work + "/typed", work, "\n");
}

// The README's beacon: a CBEACON whose infocmd runs kobrant-beacon, which prints the
// complete weather report with the record's time in UTC, or nothing, and then Dire Wolf
// sends nothing. One Dire Wolf run, one beacon per row, each due a second after the
// start and then not for an hour: the worked example typed into the real Linux kobrant
// just now gives one packet "@DDHHMMz" + position + "_" + data line, whose DDHHMM is a
// UTC minute of the typing and whose values decode_aprs reads as typed; a record older
// than --max-age, no record (before the first "Enter") and a record caught with its
// first line only give none. Dire Wolf's log, with kobrant-beacon's reasons, stays in
// onair/direwolf/beacon/direwolf.out.
// kobrant-beacon as the build made it, beside kobrant (KOBRANT_PROGRAM), with what runs
// it where the build is for another processor (qemu for arm64).
std::vector<std::string> BeaconUnderTest() {
    std::vector<std::string> command = test::ProgramUnderTest();
    command.back() = (std::filesystem::path(command.back()).parent_path() / "kobrant-beacon").string();
    return command;
}

std::string UtcMinute(std::time_t when) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[8];
    std::strftime(text, sizeof text, "%d%H%M", &utc);
    return text;
}

// The record's timestamp line at a local time `ago` seconds before now.
std::string TimestampLineAgo(std::time_t ago) {
    const std::time_t when = std::time(nullptr) - ago;
    std::tm local{};
    localtime_r(&when, &local);
    const ClockReading clock = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                local.tm_hour,        local.tm_min,     local.tm_sec};
    return TimestampLine(FormatDateText(clock), FormatTimeText(clock));
}

TEST(DireWolf, SendsTheBeaconCommandsFreshRecordOnlyAndDecodeAprsReadsIt) {
    ASSERT_TRUE(test::OnPath("direwolf") && test::OnPath("decode_aprs")) << "Dire Wolf is not installed (tools/test installs it)";
    std::string beacon;
    for (const std::string& word : BeaconUnderTest()) beacon += (beacon.empty() ? "" : " ") + word;
    const std::string work = std::string(KOBRANT_ONAIR_WORK) + "/beacon";
    const std::string dataLine = ConvertedDataLine(kReportRows[1]);  // the worked example

    const std::time_t typingStarted = std::time(nullptr);
    TypeRowsIntoTheLinuxProgram({1}, work + "/typed");
    ASSERT_FALSE(HasFatalFailure());
    const std::time_t typingEnded = std::time(nullptr);

    struct Row {
        std::string name;
        std::string folder;  // under work
        std::optional<std::string> record;  // none: no WX-DATA.txt
        bool sent;
    };
    const Row rows[] = {
        {"fresh", "typed/01", test::ReadBytes(work + "/typed/01/WX-DATA.txt"), true},
        {"older than --max-age", "old", TimestampLineAgo(61 * 60) + "\n" + dataLine + "\n", false},
        {"no record", "none", std::nullopt, false},
        {"first line only", "half", TimestampLineAgo(0) + "\n", false},
    };
    std::string configuration = "ADEVICE null null\nMYCALL " + std::string(kCallsign) + "\nAGWPORT 0\nKISSPORT 0\n";
    for (const Row& row : rows) {
        const std::string folder = work + "/" + row.folder;
        std::filesystem::create_directories(folder);
        std::filesystem::remove(folder + "/WX-DATA.txt");
        if (row.record) {
            ASSERT_TRUE(test::WriteBytes(folder + "/WX-DATA.txt", *row.record));
        }
        configuration += "CBEACON delay=0:01 every=60 via=WIDE2-1 infocmd=\"" + beacon + " " +
                         std::string(kAprsPosition) + " " + folder + " --max-age 60\"\n";
    }
    ASSERT_TRUE(test::WriteBytes(work + "/direwolf.conf", configuration));

    std::string why;
    const std::string outputFile = work + "/direwolf.out";
    test::RunningProgram direwolf(test::StartProgram({"direwolf", "-c", "direwolf.conf", "-t", "0"}, work, "", outputFile, why));
    ASSERT_TRUE(direwolf.Started()) << why;
    const auto started = std::chrono::steady_clock::now();
    std::string output;
    while (std::chrono::steady_clock::now() < started + std::chrono::seconds(20)) {
        output = test::ReadBytes(outputFile);
        std::size_t failures = 0;
        for (std::size_t at = output.find("INFOCMD failure"); at != std::string::npos;
             at = output.find("INFOCMD failure", at + 1)) {
            ++failures;
        }
        if (failures == 3 && !SentPackets(output).empty()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // nothing more comes
    direwolf.End();
    output = test::ReadBytes(outputFile);

    const std::vector<std::string> sent = SentPackets(output);
    ASSERT_EQ(sent.size(), 1u) << "Dire Wolf's output:\n" << output;
    const std::string before = std::string(kCallsign) + ">APDW16,WIDE2-1:@";
    const std::string after = "z" + std::string(kAprsPosition) + "_" + dataLine;
    ASSERT_EQ(sent[0].size(), before.size() + 6 + after.size()) << sent[0];
    EXPECT_EQ(sent[0].substr(0, before.size()), before) << sent[0];
    EXPECT_EQ(sent[0].substr(before.size() + 6), after) << sent[0];
    const std::string minute = sent[0].substr(before.size(), 6);
    bool duringTyping = false;
    for (std::time_t when = typingStarted - typingStarted % 60; when <= typingEnded; when += 60) {
        duringTyping = duringTyping || minute == UtcMinute(when);
    }
    EXPECT_TRUE(duringTyping) << minute << " is no UTC minute from " << UtcMinute(typingStarted) << " to "
                              << UtcMinute(typingEnded);
    for (const Row& row : rows) {
        if (!row.sent) {
            EXPECT_NE(output.find(row.folder + "/WX-DATA.txt: "), std::string::npos)
                << row.name << ": kobrant-beacon's reason is not in Dire Wolf's log:\n" << output;
        }
    }
    // The timestamp line keeps the minute only: once the clock passes into the next minute
    // before kobrant-beacon reads the record, it is 62 minutes old.
    EXPECT_TRUE(output.find("ist 61 Minuten alt, erlaubt sind 60") != std::string::npos ||
                output.find("ist 62 Minuten alt, erlaubt sind 60") != std::string::npos)
        << output;

    std::string decoded;
    ASSERT_TRUE(RunDecodeAprs(sent, work, decoded, why)) << why << "\n" << decoded;
    const std::vector<Reading> readings = ReadDecodeAprsOutput(decoded, sent);
    std::array<std::string, kFieldCount> typed;
    for (std::size_t f = 0; f < kFieldCount; ++f) typed[f] = std::string(kReportRows[1].texts[f]);
    for (const std::string& mismatch : Compare(typed, readings[0]).mismatches) ADD_FAILURE() << mismatch;
    std::printf("Dire Wolf sent %s\ndecode_aprs reads %s\n", sent[0].c_str(), readings[0].weatherLine.c_str());
}

// kobrant-beacon.exe under Wine and the Linux kobrant-beacon print the same for the same
// record with CR LF: each row's record as kobrant.exe wrote it, with what
// kobrant-beacon.exe printed for it and its exit status (type_rows_wine_test.cpp keeps
// them beside it, with the same arguments: the position, --max-age 1440, the folder).
TEST(KobrantBeacon, PrintsWhatKobrantBeaconExePrintsForTheWindowsRecords) {
    const std::string rows = KOBRANT_ONAIR_ROWS;
    if (rows.empty() || !std::filesystem::is_regular_file(rows + "/01/beacon.status")) {
        GTEST_SKIP() << "no rows with kobrant-beacon.exe's answers in \"" << rows << "\": the windows build "
                     << "keeps them (ctest --preset windows -R onair_typing_tests), which tools/test runs first";
    }
    const std::string work = std::string(KOBRANT_ONAIR_WORK) + "/beacon-rows";
    std::filesystem::create_directories(work);
    std::size_t answered = 0;
    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        const std::string folder = rows + "/" + RowFolder(row);
        SCOPED_TRACE(std::string(kReportRows[row].name) + " (" + folder + ")");
        ASSERT_NE(test::ReadBytes(folder + "/WX-DATA.txt").find("\r\n"), std::string::npos) << "a record with CR LF";
        const std::string out = work + "/" + RowFolder(row) + ".out";
        std::string why;
        std::vector<std::string> command = BeaconUnderTest();
        command.insert(command.end(), {std::string(kAprsPosition), "--max-age", "1440", folder});
        const int process = test::StartProgram(command, work, "", out, why);
        ASSERT_GT(process, 0) << why;
        int status = -1;
        ASSERT_TRUE(test::WaitForEnd(process, 10000, status));
        const std::string windowsStatus = test::ReadBytes(folder + "/beacon.status");
        const std::string windowsOut = test::ReadBytes(folder + "/beacon.out");
        EXPECT_EQ(std::to_string(status), windowsStatus) << "Linux: " << test::ReadBytes(out)
                                                         << "\nWindows: " << test::ReadBytes(folder + "/beacon.err");
        // A row is answered when its data line has a value.
        EXPECT_EQ(status, AllValuesMissing(ConvertedDataLine(kReportRows[row])) ? 1 : 0);
        if (status == 0) {
            EXPECT_EQ(test::ReadBytes(out), windowsOut);  // standard error is empty then
            ++answered;
        } else {
            EXPECT_EQ(windowsOut, "") << "kobrant-beacon.exe printed something and said no";
        }
    }
    EXPECT_GT(answered, 0u);
}

// What Xastir's bridge script for weather files (wxnowsrv.pl, Debian's xastir-data)
// serves for this file: the script polls the file every two seconds and sends each
// client that connects the line it made of the file's second line. It listens on every
// interface, on a port the test asks the system for just before; the test connects on
// the loopback, takes the first line that is not empty (a client that came before the
// first poll gets an empty one) and ends the script by its process id.
std::string ServedByTheBridgeScript(const std::string& file, const std::string& folder, std::string& why) {
    const std::string script = "/usr/share/xastir/scripts/wxnowsrv.pl";
    if (access(script.c_str(), R_OK) != 0) {
        why = script + " is not there (tools/test installs xastir-data)";
        return "";
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    const std::string port = std::to_string(ntohs(address.sin_port));
    test::RunningProgram bridge(test::StartProgram({"perl", script, file, "2", port}, folder, "", folder + "/wxnowsrv.out", why));
    if (!bridge.Started()) return "";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval timeout{5, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        std::string line;
        if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            char byte = 0;
            while (recv(client, &byte, 1, 0) == 1 && byte != '\n') line += byte;
        }
        close(client);
        if (!line.empty()) return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    why = "wxnowsrv.pl served no line in 15 s: " + test::ReadBytes(folder + "/wxnowsrv.out");
    return "";
}

// The Linux program's record (LF) gives the line Xastir's parser expects; the same
// record with CR LF, as the Windows program writes it, would not: the script strips
// only the LF, and Xastir ends the line at the CR, before the station's tag "xDvs".
TEST(XastirBridge, ServesTheLinuxProgramsRecordAsTheLineXastirReads) {
    const std::string work = std::string(KOBRANT_ONAIR_WORK) + "/xastir";
    TypeRowsIntoTheLinuxProgram({1}, work + "/typed");  // the worked example
    ASSERT_FALSE(HasFatalFailure());
    const std::string record = test::ReadBytes(work + "/typed/01/WX-DATA.txt");
    const std::string crLf = record.substr(0, 17) + "\r\n" + record.substr(18, record.size() - 19) + "\r\n";
    const struct {
        const char* name;
        std::string record;
        std::string served;
    } cases[] = {
        {"lf", record, "c270s011g018t068r000p006P008h65b10132xDvs"},  // the Linux program's record
        {"crlf", crLf, "c270s011g018t068r000p006P008h65b10132\rxDvs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = work + "/" + c.name;
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(test::WriteBytes(folder + "/WX-DATA.txt", c.record));
        std::string why;
        EXPECT_EQ(ServedByTheBridgeScript(folder + "/WX-DATA.txt", folder, why), c.served) << why;
    }
}

}  // namespace
}  // namespace kobrant::onair
