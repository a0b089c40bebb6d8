// The Windows side of the on-air test: the real kobrant.exe, driven as an operator
// would, gets each row of report_rows.h and "Enter"; each row's WX-DATA.txt is kept in
// the rows folder (KOBRANT_ONAIR_ROWS, from CTest), where Dire Wolf then sends it
// (direwolf_posix_test.cpp, on Linux). One program run: the first row is what the
// settings file holds at the start, then the texts are put into the fields, or "CLEAR"
// pressed.
// Each record must carry the data line that the conversion makes of the row's texts,
// and the fields keep what was typed. kobrant-beacon.exe then runs on each kept record
// as Dire Wolf for Windows would run it, and its exit status and standard output are
// kept beside it (beacon.status, beacon.out), for the Linux kobrant-beacon to print the
// same for the same record (direwolf_posix_test.cpp).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/driver.h"
#include "onair/report_rows.h"
#include "support/files.h"

namespace kobrant::onair {
namespace {

using driver::kExitTimeoutMs;
using driver::kWindowTimeoutMs;

// The arguments kobrant-beacon gets on both systems, after the position and before the
// folder: a day's age, so that the Linux run a little later still sees the records fresh.
constexpr char kBeaconArguments[] = "5231.00N/01324.00E --max-age 1440";

// Runs kobrant-beacon.exe on the record in folder, as a console program whose standard
// output and error go to files there; keeps its exit status in beacon.status.
void RunBeaconExe(const std::string& beacon, const std::string& folder) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE out = CreateFileA((folder + "\\beacon.out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = CreateFileA((folder + "\\beacon.err").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_TRUE(out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) << folder;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string commandLine = "\"" + beacon + "\" " + kBeaconArguments + " \"" + folder + "\"";
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(beacon.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process) != FALSE;
    CloseHandle(out);
    CloseHandle(err);
    ASSERT_TRUE(started) << commandLine << ": " << GetLastError();
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << commandLine;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    test::WriteBytes(folder + "\\beacon.status", std::to_string(exitCode));
}

std::string SettingsLine(const ReportRow& row) {
    std::string line;
    for (std::string_view text : row.texts) line += "\"" + std::string(text) + "\",";
    return line + "5,5\r\n";
}

TEST(OnAirRows, EachRowIsEnteredAndItsRecordKept) {
    const char* exe = std::getenv("KOBRANT_EXE");
    const char* rowsFolder = std::getenv("KOBRANT_ONAIR_ROWS");
    const char* beacon = std::getenv("KOBRANT_BEACON_EXE");
    ASSERT_TRUE(exe != nullptr && rowsFolder != nullptr && beacon != nullptr)
        << "KOBRANT_EXE, KOBRANT_BEACON_EXE and KOBRANT_ONAIR_ROWS are not set: run through ctest";
    const std::string rows = WindowsPath(rowsFolder);
    ASSERT_EQ(kReportRows[0].input, RowInput::kSettingsFile) << "the settings file's row comes first";
    test::MakeDirectory(rows.substr(0, rows.rfind('\\')));
    test::MakeDirectory(rows);
    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        test::MakeDirectory(rows + "\\" + RowFolder(row));
        DeleteFileA((rows + "\\" + RowFolder(row) + "\\WX-DATA.txt").c_str());  // none left from an earlier run
    }

    test::TestDirectory dir;
    test::WriteBytes(dir.File("kobrant.ctl"), SettingsLine(kReportRows[0]));
    driver::Program program;
    std::string why;
    ASSERT_TRUE(driver::StartProgram(WindowsPath(exe), dir.Path(), program, why)) << why;
    HWND box = driver::WaitForProcessWindow(program, driver::kDialogClass, kRecordPathCaption, kWindowTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box";
    ASSERT_TRUE(driver::PressButton(box, IDOK));
    HWND dialog = driver::WaitForProcessWindow(program, driver::kDialogClass, kEntryDialogCaption, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "no dialog after the box";
    HWND clear = GetDlgItem(dialog, kClearButtonId);
    ASSERT_TRUE(driver::Settle(clear));

    for (std::size_t row = 0; row < kReportRows.size(); ++row) {
        const ReportRow& r = kReportRows[row];
        SCOPED_TRACE(std::string(r.name));
        if (r.input == RowInput::kTyped) {
            for (Field field : kFields) {
                HWND edit = GetDlgItem(dialog, kFirstEditFieldId + static_cast<int>(FieldIndex(field)));
                ASSERT_TRUE(driver::SetText(edit, r.texts[FieldIndex(field)]));
            }
        } else if (r.input == RowInput::kClear) {
            ASSERT_TRUE(driver::PressButton(dialog, kClearButtonId) && driver::Settle(clear));
        }
        test::WriteBytes(dir.File("WX-DATA.txt"), "");  // not the last row's record
        ASSERT_TRUE(driver::PressButton(dialog, kEnterButtonId) && driver::Settle(clear));

        const std::string record = test::ReadBytes(dir.File("WX-DATA.txt"));
        const std::string dataLine = ConvertedDataLine(r);
        ASSERT_EQ(record.size(), 17 + 2 + dataLine.size() + 2) << record;
        EXPECT_EQ(record.substr(19), dataLine + "\r\n");
        for (Field field : kFields) {
            HWND edit = GetDlgItem(dialog, kFirstEditFieldId + static_cast<int>(FieldIndex(field)));
            EXPECT_EQ(driver::WindowText(edit), r.texts[FieldIndex(field)]) << "the field keeps what was typed";
        }
        const std::string kept = rows + "\\" + RowFolder(row) + "\\WX-DATA.txt";
        ASSERT_TRUE(CopyFileA(dir.File("WX-DATA.txt").c_str(), kept.c_str(), FALSE)) << kept;
        RunBeaconExe(WindowsPath(beacon), rows + "\\" + RowFolder(row));
    }

    EXPECT_TRUE(driver::PressCloseBox(dialog));
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(driver::WaitForExit(program, kExitTimeoutMs, exitCode)) << "still running after the close box";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace kobrant::onair
