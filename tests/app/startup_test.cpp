#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "textio/file_test_support.h"

namespace kobrant {
namespace {

// A current directory that the test scripts call by call, read with the system's rules
// (see DirectoryReader). The last entry holds for every later call; "" fails.
std::vector<std::string> gDirectory;
std::vector<std::uint32_t> gSizesAsked;

std::uint32_t ScriptedDirectory(char* buffer, std::uint32_t size) {
    const std::size_t call = gSizesAsked.size();
    gSizesAsked.push_back(size);
    const std::string& now = gDirectory[call < gDirectory.size() ? call : gDirectory.size() - 1];
    if (now.empty()) return 0;
    const auto length = static_cast<std::uint32_t>(now.size());
    if (size < length + 1) return length + 1;
    std::memcpy(buffer, now.c_str(), length + 1);
    return length;
}

std::string Joined(const FieldTexts& texts) {
    std::string joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += "|" + texts[i];
    return joined;
}

TEST(Startup, CommentExamples) {
    EXPECT_EQ("C:\\Station\\WX-DATA.txt", RecordPathFor("C:\\Station"));
    EXPECT_EQ("C:\\Station\\kobrant.ctl", SettingsPathFor("C:\\Station"));
    EXPECT_EQ("C:\\\\WX-DATA.txt", RecordPathFor("C:\\"));
    EXPECT_EQ(".\\WX-DATA.txt", RecordPathFor("."));

    gSizesAsked.clear();
    gDirectory = {"C:\\Station"};
    EXPECT_EQ("C:\\Station", CurrentDirectoryFrom(ScriptedDirectory));
    gSizesAsked.clear();
    gDirectory = {std::string(600, 'd')};
    EXPECT_EQ(std::string(600, 'd'), CurrentDirectoryFrom(ScriptedDirectory));
    gSizesAsked.clear();
    gDirectory = {""};
    EXPECT_EQ(".", CurrentDirectoryFrom(ScriptedDirectory));
}

// The directory is read whole, however long: a fixed buffer of 260 used to cut it.
TEST(Startup, CurrentDirectoryIsReadWhole) {
    const std::string deep = "C:\\" + std::string(300, 'a') + "\\" + std::string(300, 'b');
    struct Case {
        const char* what;
        std::vector<std::string> script;
        std::string expected;
        std::size_t calls;
    };
    const Case cases[] = {
        {"short", {"C:\\Station"}, "C:\\Station", 2},
        {"a drive's root, as the system spells it", {"C:\\"}, "C:\\", 2},
        {"259 characters, the most the old buffer held", {std::string(259, 'x')}, std::string(259, 'x'), 2},
        {"260 characters", {std::string(260, 'x')}, std::string(260, 'x'), 2},
        {"longer than a path used to be", {deep}, deep, 2},
        {"grows between asking and reading", {"C:\\a", deep, deep}, deep, 3},
        {"shrinks between asking and reading", {deep, "C:\\a"}, "C:\\a", 2},
        {"can't be read", {""}, ".", 1},
        {"can't be read any more after its size", {"C:\\a", ""}, ".", 2},
        {"keeps growing", {"a", "aa", "aaa", "aaaa", "aaaaa", "aaaaaa", "aaaaaaa", "aaaaaaaa", "aaaaaaaaa", "aaaaaaaaaa"},
         ".", 9},
    };
    for (const Case& c : cases) {
        gDirectory = c.script;
        gSizesAsked.clear();
        EXPECT_EQ(c.expected, CurrentDirectoryFrom(ScriptedDirectory)) << c.what;
        EXPECT_EQ(c.calls, gSizesAsked.size()) << c.what;
        EXPECT_EQ(0u, gSizesAsked.empty() ? 1u : gSizesAsked[0]) << c.what << ": the size is asked first";
    }
}

TEST(Startup, StartValuesHoldTheDefaultsAtZeroZero) {
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
        EXPECT_EQ(c.recordPath, values.recordPath) << "directory=" << c.directory;
        EXPECT_EQ(c.settingsPath, values.settingsPath) << "directory=" << c.directory;
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
        LoadStartSettings(values, error);
        return values;
    }
    test::TestDirectory dir;
    const std::string path = dir.File("kobrant.ctl");
    const std::string defaultLine = "\"000\",\"000\",\"000\",\"00\",\"000\",\"000\",\"000\",\"000\",\"0000\",5,5\r\n";
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

TEST_F(StartSettings, FileHeldByAnotherProgramGivesDefaultsAndStaysAsItWas) {
    const std::string line = "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",7,7\r\n";
    test::WriteBytes(path, line);
    ProgramValues values;
    {
        test::OtherOpener holder(path);
        ASSERT_TRUE(holder.holds());
        values = Start();
    }
    EXPECT_EQ(Joined(DefaultFieldTexts()), Joined(values.settings.fieldTexts));
    EXPECT_EQ(0, values.settings.dialogLeft);
    EXPECT_EQ(0, values.settings.dialogTop);
    EXPECT_EQ(line, test::ReadBytes(path));
}

}  // namespace
}  // namespace kobrant
