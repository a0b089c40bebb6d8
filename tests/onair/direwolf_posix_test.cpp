// The Linux side of the on-air test: Dire Wolf sends each row's WX-DATA.txt as the real
// kobrant.exe wrote it (type_rows_wine_test.cpp, under Wine, in the windows build), and decode_aprs
// reads each packet as a receiver does. Every value must read as what was typed, in
// the report's unit; a missing field reads as missing, and no comment text is left.
//
// Dire Wolf runs without a radio and opens no network port: its configuration is the
// one the README gives ("Sending the report"), with ADEVICE null null, AGWPORT 0 and
// KISSPORT 0, and one PBEACON per row, each due a second after the start and then not
// for an hour, so each is sent once. Dire Wolf prints each frame it sends ("[0L] " and
// the packet in monitor format); once all are there, the test ends it by its process id.
//
// The build names the folders: KOBRANT_ONAIR_ROWS (the rows' WX-DATA.txt files, one
// folder each, as the windows build's onair_typing_tests keeps them) and
// KOBRANT_ONAIR_WORK (Dire Wolf's configuration and output, the packets). Without the
// rows the test skips and says how to make them; tools/test runs the windows preset
// first, so that there they are the rows of the same sources.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "onair/aprs_weather.h"
#include "onair/processes_posix.h"
#include "onair/report_rows.h"

namespace kobrant::onair {
namespace {

// The command that gives Dire Wolf the comment: the second line of the file. The file is
// replaced at each "Enter" and missing for a moment, so it tries again, five times a
// second apart (Dire Wolf strips the line's CR).
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

// The data line of a record: the second of its two CR LF-ended lines.
bool DataLineOf(const std::string& record, std::string& dataLine) {
    const std::size_t first = record.find("\r\n");
    if (first == std::string::npos || record.size() < first + 4 || record.substr(record.size() - 2) != "\r\n") {
        return false;
    }
    dataLine = record.substr(first + 2, record.size() - first - 4);
    return dataLine.find_first_of("\r\n") == std::string::npos;
}

TEST(DireWolf, SendsEachRecordAndDecodeAprsReadsWhatWasTyped) {
    const std::string rows = KOBRANT_ONAIR_ROWS;
    const std::string work = KOBRANT_ONAIR_WORK;
    if (rows.empty() || !std::filesystem::is_directory(rows)) {
        GTEST_SKIP() << "no rows in \"" << rows << "\": kobrant.exe types them under Wine in the windows "
                     << "build (ctest --preset windows -R onair_typing_tests), which tools/test runs first";
    }
    ASSERT_TRUE(OnPath("direwolf") && OnPath("decode_aprs")) << "Dire Wolf is not installed (tools/test installs it)";

    // The records, in the folders Dire Wolf reads them from (work/rows links the rows).
    std::filesystem::create_directories(work);
    const std::string link = work + "/rows";
    unlink(link.c_str());
    ASSERT_EQ(0, symlink(rows.c_str(), link.c_str())) << link;
    std::vector<std::string> dataLines, files;
    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        const std::string file = "rows/" + RowFolder(row) + "/WX-DATA.txt";
        const std::string record = ReadWholeFile(work + "/" + file);
        std::string dataLine;
        ASSERT_TRUE(DataLineOf(record, dataLine))
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
    const std::string wholeRecord = ReadWholeFile(work + "/" + files[1]);
    mkdir(lateFolder.c_str(), 0755);
    ASSERT_TRUE(WriteWholeFile(lateFile, wholeRecord.substr(0, wholeRecord.find("\r\n") + 2)));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, lateFile.c_str(), IN_CLOSE_NOWRITE), 0);
    files.insert(files.begin(), "late/WX-DATA.txt");
    dataLines.insert(dataLines.begin(), dataLines[1]);
    ASSERT_TRUE(WriteWholeFile(work + "/direwolf.conf", Configuration(files)));

    std::string why;
    const std::string outputFile = work + "/direwolf.out";
    RunningProgram direwolf(StartProgram({"direwolf", "-c", "direwolf.conf", "-t", "0"}, work, "", outputFile, why));
    ASSERT_TRUE(direwolf.Started()) << why;
    std::vector<std::string> sent;
    const auto started = std::chrono::steady_clock::now();
    double firstRead = -1, allSent = -1;  // seconds after the start
    while (std::chrono::steady_clock::now() < started + std::chrono::seconds(30)) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        alignas(inotify_event) char events[4096];
        if (firstRead < 0 && read(watch, events, sizeof events) > 0) {
            const std::string whole = lateFile + ".new";  // put in place at once, by a rename
            ASSERT_TRUE(WriteWholeFile(whole, wholeRecord) && std::rename(whole.c_str(), lateFile.c_str()) == 0);
            firstRead = seconds;
        }
        sent = SentPackets(ReadWholeFile(outputFile));
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
    const std::string output = ReadWholeFile(outputFile);
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
    ASSERT_FALSE(HasFailure());

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

}  // namespace
}  // namespace kobrant::onair
