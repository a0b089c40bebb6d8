#include "station/program_values.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "support/files.h"

namespace kobrant {
namespace {

std::string Joined(const FieldTexts& texts) {
    std::string joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += "|" + texts[i];
    return joined;
}

// The Windows form of a path; on Linux the "\\" that joins the name is a "/" (a "\\" of
// the directory stays a letter of it).
std::string OnThisSystem(std::string_view windowsPath, std::string_view directory) {
    std::string path(windowsPath);
    if (test::FolderSeparator() == "/") path[directory.size()] = '/';
    return path;
}

TEST(ProgramValues, CommentExamples) {
    EXPECT_EQ(OnThisSystem("C:\\Station\\WX-DATA.txt", "C:\\Station"), RecordPathFor("C:\\Station"));
    EXPECT_EQ(OnThisSystem("C:\\Station\\kobrant.ctl", "C:\\Station"), SettingsPathFor("C:\\Station"));
    EXPECT_EQ(OnThisSystem("C:\\\\WX-DATA.txt", "C:\\"), RecordPathFor("C:\\"));
    EXPECT_EQ(OnThisSystem(".\\WX-DATA.txt", "."), RecordPathFor("."));
    if (test::FolderSeparator() == "/") {
        EXPECT_EQ("/srv/a\\b/WX-DATA.txt", RecordPathFor("/srv/a\\b"));
    }
}

TEST(ProgramValues, StartValuesHoldTheDefaultsAtZeroZero) {
    struct Case {
        std::string_view directory, recordPath, settingsPath;
    };
    const Case cases[] = {
        {"C:\\Station", "C:\\Station\\WX-DATA.txt", "C:\\Station\\kobrant.ctl"},
        {"C:\\", "C:\\\\WX-DATA.txt", "C:\\\\kobrant.ctl"},
        {"\\\\server\\share", "\\\\server\\share\\WX-DATA.txt", "\\\\server\\share\\kobrant.ctl"},
        {".", ".\\WX-DATA.txt", ".\\kobrant.ctl"},
    };
    for (const Case& c : cases) {
        const ProgramValues values = StartValues(c.directory);
        EXPECT_EQ(c.directory, values.startDirectory);
        EXPECT_EQ(OnThisSystem(c.recordPath, c.directory), values.recordPath) << "directory=" << c.directory;
        EXPECT_EQ(OnThisSystem(c.settingsPath, c.directory), values.settingsPath) << "directory=" << c.directory;
        EXPECT_EQ(Joined(DefaultFieldTexts()), Joined(values.settings.fieldTexts));
        EXPECT_EQ(0, values.settings.dialogLeft);
        EXPECT_EQ(0, values.settings.dialogTop);
    }
}

class StartSettings : public ::testing::Test {
protected:
    void TearDown() override {
        FileError ignored;
        CloseAllFiles(ignored);
    }
    // One start in the test's folder: the values the dialog would open with.
    ProgramValues Start() {
        ProgramValues values = StartValues(dir.Path());
        FileError error;
        LoadOrCreateSettings(values.settingsPath, values.settings, error);
        return values;
    }
    test::TestDirectory dir;
    const std::string path = dir.File("kobrant.ctl");
    const std::string defaultLine = "\"000\",\"000\",\"000\",\"00\",\"000\",\"000\",\"000\",\"000\",\"0000\",5,5" + test::Eol();
};

// A new settings file says 5, 5, but the run that wrote it keeps 0, 0.
TEST_F(StartSettings, FirstStartWritesDefaultsAndKeepsZeroZeroSecondReadsFiveFive) {
    const ProgramValues first = Start();
    EXPECT_EQ(Joined(DefaultFieldTexts()), Joined(first.settings.fieldTexts));
    EXPECT_EQ(0, first.settings.dialogLeft);
    EXPECT_EQ(0, first.settings.dialogTop);
    EXPECT_EQ(defaultLine, test::ReadBytes(path));

    const ProgramValues second = Start();
    EXPECT_EQ(Joined(DefaultFieldTexts()), Joined(second.settings.fieldTexts));
    EXPECT_EQ(5, second.settings.dialogLeft);
    EXPECT_EQ(5, second.settings.dialogTop);
    EXPECT_EQ(defaultLine, test::ReadBytes(path));
}

TEST_F(StartSettings, ExistingFileIsReadNotRewritten) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string texts;
        int left, top;
    };
    const Case cases[] = {
        {"0 bytes", "", "||||||||", 0, 0},
        {"the operator's line", "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",-1,40\r\n",
         "270|5|8|20|0|1.5|2|65|1013.2", -1, 40},
        {"texts only", "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"\r\n", "1|2|3|4|5|6|7|8|9", 0, 0},
    };
    for (const Case& c : cases) {
        test::WriteBytes(path, c.bytes);
        const ProgramValues values = Start();
        EXPECT_EQ(c.texts, Joined(values.settings.fieldTexts)) << c.what;
        EXPECT_EQ(c.left, values.settings.dialogLeft) << c.what;
        EXPECT_EQ(c.top, values.settings.dialogTop) << c.what;
        EXPECT_EQ(c.bytes, test::ReadBytes(path)) << c.what;
    }
}

// A settings file that stands but can't be read now is never replaced by the defaults
// at start: the defaults are shown, the reason is kept for the status line, and the
// file stays until the operator's own "Enter". (The Windows program empties what it
// can open for output, as it always has; only the held file is common to both.)
TEST_F(StartSettings, UnreadableFileGivesDefaultsAndStaysAsItWas) {
    enum class Why { kHeld, kTooLong, kForeignLink };
    struct Case {
        const char* what;
        Why why;
        std::uint8_t code;
        std::uint32_t systemError;
        bool linuxOnly;
    } cases[] = {
        {"held by another program", Why::kHeld, file_error::kPermissionDenied, 32, false},  // sharing violation
        {"over 1 MiB", Why::kTooLong, file_error::kPathFileAccess, system_error::kTooLong, true},
        {"another user's link", Why::kForeignLink, file_error::kPathFileAccess, system_error::kForeignLink, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.linuxOnly && !test::OutputReplacesFile()) continue;
        test::TestDirectory start, elsewhere;
        const std::string settings = start.File("kobrant.ctl"), target = elsewhere.File("saved.ctl");
        const std::string line = c.why == Why::kTooLong
                                     ? "\"" + std::string(1024 * 1024, '1') + "\",\"2\",7,7\r\n"
                                     : "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",7,7\r\n";
        test::WriteBytes(c.why == Why::kForeignLink ? target : settings, line);
        if (c.why == Why::kForeignLink && !test::MakeForeignLink(target, settings)) {
            std::printf("not run, only root can give a link to another user: %s\n", c.what);
            continue;
        }
        ProgramValues values = StartValues(start.Path());
        FileError error;
        bool loaded;
        {
            std::optional<test::OtherOpener> holder;
            if (c.why == Why::kHeld) holder.emplace(settings);
            loaded = LoadOrCreateSettings(values.settingsPath, values.settings, error);
        }
        EXPECT_FALSE(loaded);
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(error.systemError, c.systemError);
        EXPECT_EQ(Joined(DefaultFieldTexts()), Joined(values.settings.fieldTexts));
        EXPECT_EQ(0, values.settings.dialogLeft);
        EXPECT_EQ(line, test::ReadBytes(c.why == Why::kForeignLink ? target : settings)) << "defaults written over it";
    }
}

}  // namespace
}  // namespace kobrant
