#include "station/settings_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/files.h"

namespace kobrant {
namespace {

using test::ReadBytes;
using test::TestDirectory;
using test::WriteBytes;

std::string Joined(const FieldTexts& texts) {
    std::string joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += "|" + texts[i];
    return joined;
}

Settings Marked() {
    Settings settings;
    settings.fieldTexts.fill("untouched");
    settings.dialogLeft = 77;
    settings.dialogTop = 88;
    return settings;
}

class SettingsFile : public ::testing::Test {
protected:
    void TearDown() override {
        FileError ignored;
        CloseAllFiles(ignored);
    }
    TestDirectory dir;
    const std::string path = dir.File("kobrant.ctl");
};

// Other programs read this file: the default line must stay exactly these 59 bytes
// (58 on Linux, whose line end is LF alone).
TEST_F(SettingsFile, FirstStartWritesTheDefaultLineAndTheNextStartReadsIt) {
    const unsigned char expected[] = {
        0x22, 0x30, 0x30, 0x30, 0x22, 0x2C, 0x22, 0x30, 0x30, 0x30, 0x22, 0x2C, 0x22, 0x30, 0x30,
        0x30, 0x22, 0x2C, 0x22, 0x30, 0x30, 0x22, 0x2C, 0x22, 0x30, 0x30, 0x30, 0x22, 0x2C, 0x22,
        0x30, 0x30, 0x30, 0x22, 0x2C, 0x22, 0x30, 0x30, 0x30, 0x22, 0x2C, 0x22, 0x30, 0x30, 0x30,
        0x22, 0x2C, 0x22, 0x30, 0x30, 0x30, 0x30, 0x22, 0x2C, 0x35, 0x2C, 0x35};
    const std::string defaultLine = std::string(reinterpret_cast<const char*>(expected), sizeof expected) + test::Eol();
    ASSERT_EQ(defaultLine.size(), test::OutputReplacesFile() ? 58u : 59u);

    Settings first = Marked();
    FileError firstError;
    EXPECT_FALSE(LoadOrCreateSettings(path, first, firstError));
    EXPECT_EQ(firstError.code, file_error::kFileNotFound);
    EXPECT_EQ(Joined(first.fieldTexts), Joined(Marked().fieldTexts)) << "settings were changed";
    EXPECT_EQ(first.dialogLeft, 77);
    EXPECT_EQ(ReadBytes(path), defaultLine);

    Settings second = Marked();
    FileError secondError;
    EXPECT_TRUE(LoadOrCreateSettings(path, second, secondError));
    EXPECT_EQ(secondError.code, 0);
    EXPECT_EQ(Joined(second.fieldTexts), Joined(DefaultFieldTexts()));
    EXPECT_EQ(second.dialogLeft, 5);
    EXPECT_EQ(second.dialogTop, 5);
    EXPECT_EQ(ReadBytes(path), defaultLine) << "loading changed the file";
}

TEST_F(SettingsFile, LoadingReadsEveryKindOfContentAndChangesNothing) {
    const std::string nineQuoted = R"("1","2","3","4","5","6","7","8","9")";
    struct Case {
        const char* what;
        std::string bytes;
        std::string texts;  // joined with "|"
        std::int32_t left, top;
    } cases[] = {
        {"0 bytes", "", "||||||||", 0, 0},
        {"texts only", nineQuoted + "\r\n", "1|2|3|4|5|6|7|8|9", 0, 0},
        {"unquoted", "270,5,8,20,0,1.5,2,65,1013.2,5,5\r\n", "270|5|8|20|0|1.5|2|65|1013.2", 5, 5},
        {"blanks", R"( a , b ," c" ,d,e,f,g,h,i , 5 , 6)" "\r\n", "a |b | c|d|e|f|g|h|i ", 5, 6},
        {"quote inside a text", R"("a"b","c","d","e","f","g","h","i","j",1,2)", "a|b\"|c|d|e|f|g|h|i", 0, 1},
        {"fractions", nineQuoted + ",2.5,3.5\r\n", "1|2|3|4|5|6|7|8|9", 2, 4},
        {"exponent and -1", nineQuoted + ",1E+2,-1\r\n", "1|2|3|4|5|6|7|8|9", 100, -1},
        {"out of range, no number", nineQuoted + ",1E+10,abc\r\n", "1|2|3|4|5|6|7|8|9", -2147483647 - 1, 0},
        {"lone LF", nineQuoted + ",5,6\n", "1|2|3|4|5|6|7|8|9", 5, 6},
        {"no line end", nineQuoted + ",5,6", "1|2|3|4|5|6|7|8|9", 5, 6},
        {"more items and lines", nineQuoted + ",5,6,7,\"x\"\r\nnext\r\n", "1|2|3|4|5|6|7|8|9", 5, 6},
        {"tab before a quote", "\t\"a\",b,c,d,e,f,g,h,i,3,4", "\"a\"|b|c|d|e|f|g|h|i", 3, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        Settings settings = Marked();
        FileError error;
        EXPECT_TRUE(LoadOrCreateSettings(path, settings, error));
        EXPECT_EQ(Joined(settings.fieldTexts), c.texts);
        EXPECT_EQ(settings.dialogLeft, c.left);
        EXPECT_EQ(settings.dialogTop, c.top);
        EXPECT_EQ(ReadBytes(path), c.bytes);
    }
}

TEST_F(SettingsFile, DialogLineIsWrittenAsItemsAndReadsBack) {
    struct Case {
        FieldTexts texts;
        std::int32_t left, top;
        std::string bytes;  // and the line end
    } cases[] = {
        {{"270", "5", "8", "20", "0", "1.5", "2", "65", "1013.2"}, 5, 5,
         "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",5,5"},
        {{"", "", "", "", "", "", "", "", ""}, -1, 0, "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",-1,0"},
        {{" 1", "2 ", "a,b", "\xB0", "", "", "", "", "9"}, 2147483647, -2147483647 - 1,
         "\" 1\",\"2 \",\"a,b\",\"\xB0\",\"\",\"\",\"\",\"\",\"9\",2147483647,-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Settings written;
        written.fieldTexts = c.texts;
        written.dialogLeft = c.left;
        written.dialogTop = c.top;
        FileError error;
        OpenForOutput(path, kSettingsFileNumber, error);
        WriteSettingsLine(kSettingsFileNumber, written, error);
        CloseFile(kSettingsFileNumber, error);
        EXPECT_EQ(error.code, 0);
        EXPECT_EQ(ReadBytes(path), c.bytes + test::Eol());

        OpenForInput(path, kSettingsFileNumber, error);
        const Settings read = ReadSettingsLine(kSettingsFileNumber, error);
        CloseFile(kSettingsFileNumber, error);
        EXPECT_EQ(error.code, 0);
        EXPECT_EQ(Joined(read.fieldTexts), Joined(c.texts));
        EXPECT_EQ(read.dialogLeft, c.left);
        EXPECT_EQ(read.dialogTop, c.top);
    }
}

// When the file can be neither read nor written, start-up goes on with its own values,
// the failure stays visible in the code and no file is touched.
TEST_F(SettingsFile, UnusableFileLeavesSettingsAndFilesAlone) {
    WriteBytes(path, "\"kept\"\r\n");
    std::optional<test::OtherOpener> other(path);
    ASSERT_TRUE(other->holds());
    const std::string inMissingFolder = FileInFolder(dir.File("missing"), "kobrant.ctl");
    struct Case {
        const char* what;
        std::string name;
        std::uint8_t code;
    } cases[] = {
        {"held by another program", path, file_error::kPermissionDenied},
        {"in a missing folder", inMissingFolder, file_error::kPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings settings = Marked();
        FileError error;
        EXPECT_FALSE(LoadOrCreateSettings(c.name, settings, error));
        EXPECT_EQ(error.code, c.code);
        EXPECT_EQ(Joined(settings.fieldTexts), Joined(Marked().fieldTexts));
    }
    EXPECT_EQ(ReadBytes(inMissingFolder), "<missing>");
    other.reset();
    EXPECT_EQ(ReadBytes(path), "\"kept\"\r\n");
}

// The create step writes only into the file it opened: if the settings file number is
// still open for another file, that file gets nothing and stays open.
TEST_F(SettingsFile, CreateNeverWritesIntoAnotherOpenFile) {
    const std::string other = dir.File("other.txt");
    FileError setup;
    OpenForOutput(other, kSettingsFileNumber, setup);
    ASSERT_EQ(setup.code, 0);
    Settings settings = Marked();
    FileError error;
    EXPECT_FALSE(LoadOrCreateSettings(path, settings, error));
    EXPECT_EQ(error.code, file_error::kAlreadyOpen);
    WriteText(kSettingsFileNumber, "mine", setup);
    CloseFile(kSettingsFileNumber, setup);
    EXPECT_EQ(setup.code, 0) << "the other file was closed";
    EXPECT_EQ(ReadBytes(other), "mine");
    EXPECT_EQ(ReadBytes(path), "<missing>");
}

TEST_F(SettingsFile, WritingToAFileThatIsNotOpenIsReported) {
    FileError error;
    WriteSettingsLine(kSettingsFileNumber, Marked(), error);
    EXPECT_EQ(error.code, file_error::kNotOpen);
}

}  // namespace
}  // namespace kobrant
