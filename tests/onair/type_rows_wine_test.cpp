// The Windows side of the on-air test: the real kobrant.exe, driven as an operator
// would, gets each row of report_rows.h and "Enter"; each row's WX-DATA.txt is kept in
// the rows folder (KOBRANT_ONAIR_ROWS, from CTest), where Dire Wolf then sends it
// (direwolf_posix_test.cpp, on Linux). One program run: the first row is what the
// settings file holds at the start, then the texts are put into the fields, or "CLEAR"
// pressed.
// Each record must carry the data line that the conversion makes of the row's texts,
// and the fields keep what was typed.

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

std::string SettingsLine(const ReportRow& row) {
    std::string line;
    for (std::string_view text : row.texts) line += "\"" + std::string(text) + "\",";
    return line + "5,5\r\n";
}

TEST(OnAirRows, EachRowIsEnteredAndItsRecordKept) {
    const char* exe = std::getenv("KOBRANT_EXE");
    const char* rowsFolder = std::getenv("KOBRANT_ONAIR_ROWS");
    ASSERT_TRUE(exe != nullptr && rowsFolder != nullptr)
        << "KOBRANT_EXE and KOBRANT_ONAIR_ROWS are not set: run through ctest";
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
    }

    EXPECT_TRUE(driver::PressCloseBox(dialog));
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(driver::WaitForExit(program, kExitTimeoutMs, exitCode)) << "still running after the close box";
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace kobrant::onair
