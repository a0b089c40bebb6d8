// The real kobrant.exe, started by the driver in a folder of its own for each case, as
// an operator would start it: the message box must show where the record lies, be
// answered, and the program must then load or create the settings file, show the
// entry dialog and, once the dialog is closed with its close box, end with exit code 0.
// What the dialog itself does is entry_dialog_test.cpp's. The path of kobrant.exe comes from CTest (KOBRANT_EXE).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/driver.h"
#include "support/files.h"

namespace kobrant {
namespace {

using driver::kExitTimeoutMs;
using driver::kWindowTimeoutMs;

const std::string kDefaultLine = "\"000\",\"000\",\"000\",\"00\",\"000\",\"000\",\"000\",\"000\",\"0000\",5,5\r\n";

std::string ProgramPath() {
    const char* path = std::getenv("KOBRANT_EXE");
    return path == nullptr ? std::string() : WindowsPath(path);
}

// What one start of the program showed and did.
struct ProgramRun {
    bool boxShown = false;
    std::string boxText;
    bool dialogShown = false;  // the entry dialog after the box
    std::string settingsWhileBoxShown;  // the settings file's bytes while the box was up
    bool ended = false;
    DWORD exitCode = 0xFFFFFFFF;
};

// Starts the program in folder, answers its message box with OK and waits for its end.
ProgramRun StartAndAnswer(const std::string& folder) {
    ProgramRun run;
    const std::string exe = ProgramPath();
    if (exe.empty()) {
        ADD_FAILURE() << "KOBRANT_EXE is not set: run program_tests through ctest, or set it to kobrant.exe";
        return run;
    }
    driver::Program program;
    std::string why;
    if (!driver::StartProgram(exe, folder, program, why)) {
        ADD_FAILURE() << why;
        return run;
    }
    HWND box = driver::WaitForProcessWindow(program, driver::kDialogClass, kRecordPathCaption, kWindowTimeoutMs);
    run.boxShown = box != nullptr;
    if (box != nullptr) {
        run.boxText = driver::MessageBoxText(box);
        run.settingsWhileBoxShown = test::ReadBytes(folder + "\\kobrant.ctl");
        EXPECT_TRUE(driver::PressButton(box, IDOK)) << "the box has no OK button";
        // Then the entry dialog, which the operator closes with its close box.
        HWND dialog = driver::WaitForProcessWindow(program, driver::kDialogClass, kEntryDialogCaption, kWindowTimeoutMs);
        run.dialogShown = dialog != nullptr;
        if (dialog != nullptr) {
            EXPECT_TRUE(driver::PressCloseBox(dialog));
        }
    }
    run.ended = driver::WaitForExit(program, kExitTimeoutMs, run.exitCode);
    return run;
}

// A run that went through: box shown with the record path, answered, exit code 0.
void ExpectCompleteRun(const ProgramRun& run, const std::string& folder) {
    EXPECT_TRUE(run.boxShown) << "no message box captioned \"" << kRecordPathCaption << "\" in " << folder;
    EXPECT_EQ(folder + "\\WX-DATA.txt", run.boxText);
    EXPECT_TRUE(run.dialogShown) << "no dialog \"" << kEntryDialogCaption << "\" after the box";
    EXPECT_TRUE(run.ended) << "still running " << kExitTimeoutMs << " ms after the dialog was closed";
    EXPECT_EQ(0u, run.exitCode);
}

std::uint64_t LastWriteTime(const std::string& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Dates the file back to 1 January 2001, so that any write to it shows.
void DateBack(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    SYSTEMTIME old{2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME stamp{};
    SystemTimeToFileTime(&old, &stamp);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
    CloseHandle(file);
}

// The files in a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder) { return driver::FolderEntries(folder + "\\*"); }

std::string Listed(const std::vector<std::string>& names) {
    std::string listed;
    for (const std::string& name : names) listed += (listed.empty() ? "" : ", ") + name;
    return "[" + listed + "]";
}

TEST(Program, FirstStartShowsTheRecordPathThenWritesTheDefaultSettings) {
    test::TestDirectory dir;
    const ProgramRun run = StartAndAnswer(dir.Path());
    ExpectCompleteRun(run, dir.Path());
    EXPECT_EQ("<missing>", run.settingsWhileBoxShown) << "the settings file was touched before the box was answered";
    EXPECT_EQ(kDefaultLine, test::ReadBytes(dir.File("kobrant.ctl")));
    EXPECT_EQ(59u, test::FileSize(dir.File("kobrant.ctl")));
    EXPECT_EQ("[kobrant.ctl]", Listed(FilesIn(dir.Path())));
}

// A settings file that can be opened is only read at start, whatever it holds.
TEST(Program, ExistingSettingsFileIsReadNotRewritten) {
    struct Case {
        const char* what;
        bool firstStartWritesIt;
        std::string bytes;
    };
    const Case cases[] = {
        {"the file of the first start", true, ""},
        {"0 bytes", false, ""},
        {"the operator's line", false, "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",-1,40\r\n"},
        {"not a settings line at all", false, "\x1A garbage \"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestDirectory dir;
        const std::string settings = dir.File("kobrant.ctl");
        if (c.firstStartWritesIt) {
            ExpectCompleteRun(StartAndAnswer(dir.Path()), dir.Path());
        } else {
            test::WriteBytes(settings, c.bytes);
        }
        const std::string before = test::ReadBytes(settings);
        ASSERT_NE("<missing>", before);
        DateBack(settings);
        const std::uint64_t stamp = LastWriteTime(settings);

        ExpectCompleteRun(StartAndAnswer(dir.Path()), dir.Path());
        EXPECT_EQ(before, test::ReadBytes(settings));
        EXPECT_EQ(stamp, LastWriteTime(settings)) << "the file was written to";
    }
}

TEST(Program, SettingsFileHeldByAnotherProgramIsLeftAlone) {
    test::TestDirectory dir;
    const std::string settings = dir.File("kobrant.ctl");
    const std::string line = "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",7,7\r\n";
    test::WriteBytes(settings, line);
    // Held without sharing, as the program itself holds its files.
    HANDLE held = CreateFileA(settings.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE) << GetLastError();
    const ProgramRun run = StartAndAnswer(dir.Path());
    CloseHandle(held);
    ExpectCompleteRun(run, dir.Path());
    EXPECT_EQ(line, test::ReadBytes(settings));
    EXPECT_EQ("[kobrant.ctl]", Listed(FilesIn(dir.Path())));
}

// CTest prepares the folder (unwritable_folder.sh): under Wine as root, Windows rights
// alone would not stop anything.
TEST(Program, FolderWhereNothingCanBeWrittenStillRunsToItsEnd) {
    const char* folder = std::getenv("KOBRANT_UNWRITABLE_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "KOBRANT_UNWRITABLE_FOLDER unset: run through ctest";
    const std::string path = WindowsPath(folder);
    ASSERT_EQ("[]", Listed(FilesIn(path))) << path;
    // The folder must really refuse: otherwise this test would prove nothing.
    HANDLE probe = CreateFileA((path + "\\probe.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        DeleteFileA((path + "\\probe.txt").c_str());
        FAIL() << path << " takes new files";
    }
    ExpectCompleteRun(StartAndAnswer(path), path);
    EXPECT_EQ("[]", Listed(FilesIn(path)));
}


// A drive's root: the system's directory text already ends in "\", so both paths hold
// two in a row, and the system takes them so. CTest maps a fresh folder as a drive
// (drive_root.sh; on Windows, "subst K: FOLDER" does the same).
TEST(Program, DriveRootGivesTwoBackslashesInARow) {
    const char* root = std::getenv("KOBRANT_DRIVE_ROOT");
    if (root == nullptr) GTEST_SKIP() << "KOBRANT_DRIVE_ROOT unset: run through ctest";
    ASSERT_EQ("[]", Listed(FilesIn(root))) << root;
    const ProgramRun run = StartAndAnswer(root);
    EXPECT_TRUE(run.boxShown);
    EXPECT_EQ(std::string(root) + "\\WX-DATA.txt", run.boxText) << "two backslashes in a row";
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(kDefaultLine, test::ReadBytes(std::string(root) + "kobrant.ctl"));
}

// The longest folder a program can be started in (248 characters less the name's
// NUL): the box shows the whole path and the 259-character paths go to the system
// whole. The directory is read without a limit of its own (Startup tests); Windows
// and Wine do not start a program in a longer one (CreateProcessA: 123, bad name).
TEST(Program, LongestFolderIsShownAndUsedWhole) {
    test::TestDirectory dir;
    const std::size_t longest = 247;
    ASSERT_LT(dir.Path().size() + 2, longest);
    const std::string folder = dir.Path() + "\\" + std::string(longest - dir.Path().size() - 1, 'L');
    ASSERT_EQ(longest, folder.size());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    const ProgramRun run = StartAndAnswer(folder);
    ExpectCompleteRun(run, folder);
    EXPECT_EQ(259u, run.boxText.size());
    EXPECT_EQ(kDefaultLine, test::ReadBytes(folder + "\\kobrant.ctl"));
}

}  // namespace
}  // namespace kobrant
