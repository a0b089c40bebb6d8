#include "station/enter_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "textio/file_test_support.h"
#include "textio/float_state.h"

namespace kobrant {
namespace {

ClockReading ExampleClock() { return {2026, 12, 6, 14, 5, 33}; }

const FieldTexts kTyped = {"270", "5", "8", "20", "0", "1,5", "2", "65", "1013,2"};
const FieldTexts kCleaned = {"270", "5", "8", "20", "0", "1.5", "2", "65", "1013.2"};
const ValueTexts kValues = {"270", "011", "018", "068", "000", "006", "008", "65", "10132"};
const std::string kSettingsLine = "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",5,5\r\n";
const std::string kRecord = "Dec 06 2026 14:05\r\n270/011g018t068r000p006P008h65b10132\r\n";

class EnterFiles : public ::testing::Test {
protected:
    void SetUp() override { SetFloatingPointState(); }
    void TearDown() override {
        FileError ignored;
        CloseAllFiles(ignored);
    }
    // The program values of a start in dir, with the example typed into the fields.
    ProgramValues Typed() const {
        ProgramValues values = StartValues(dir.Path());
        values.settings.fieldTexts = kTyped;
        return values;
    }
    test::TestDirectory dir;
};

TEST_F(EnterFiles, CommentExamples) {
    FieldTexts texts = kTyped;
    EXPECT_EQ(ConvertFieldTexts(texts), kValues);
    EXPECT_EQ(texts, kCleaned);

    ProgramValues values = Typed();
    values.settings.fieldTexts = kCleaned;
    FileError error;
    WriteEnterFiles(values, 5, 5, kValues, error, ExampleClock);
    EXPECT_EQ(error.code, 0);
    CloseAllFiles(error);
    EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")), kSettingsLine);
    EXPECT_EQ(test::ReadBytes(dir.File("WX-DATA.txt")), kRecord);
}

// Both files stay open, and so held, until the caller closes them after its flash; the
// settings path is built again from the start directory; the position goes into values.
TEST_F(EnterFiles, BothFilesStayOpenAndValuesTakeThePosition) {
    ProgramValues values = Typed();
    values.settingsPath = dir.File("elsewhere.ctl");
    FieldTexts texts = values.settings.fieldTexts;
    const ValueTexts valueTexts = ConvertFieldTexts(values.settings.fieldTexts);
    FileError error;
    WriteEnterFiles(values, -7, 300, valueTexts, error, ExampleClock);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(values.settingsPath, dir.File("kobrant.ctl"));
    EXPECT_EQ(values.settings.dialogLeft, -7);
    EXPECT_EQ(values.settings.dialogTop, 300);
    for (const char* name : {"kobrant.ctl", "WX-DATA.txt"}) {
        FileError probe;
        OpenForInput(dir.File(name), 3, probe);
        EXPECT_EQ(probe.code, file_error::kPermissionDenied) << name << " is not held";
        CloseFile(3, probe);
    }
    CloseAllFiles(error);
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")),
              "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",-7,300\r\n");
    EXPECT_EQ(test::ReadBytes(dir.File("elsewhere.ctl")), "<missing>") << "written elsewhere";
}

// A file that another program holds is left as it is and the failure is reported; the
// other file is written all the same. The "Enter" handling flashes red on the report.
TEST_F(EnterFiles, HeldFileIsReportedAndTheOtherStillWritten) {
    struct Case {
        const char* what;
        const char* held;  // nullptr: none
    };
    const Case cases[] = {{"none held", nullptr}, {"record held", "WX-DATA.txt"}, {"settings held", "kobrant.ctl"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string earlier = "earlier bytes\r\n";
        test::WriteBytes(dir.File("WX-DATA.txt"), earlier);
        test::WriteBytes(dir.File("kobrant.ctl"), earlier);
        ProgramValues values = Typed();
        values.settings.fieldTexts = kCleaned;
        FileError error;
        {
            std::unique_ptr<test::OtherOpener> holder;
            if (c.held != nullptr) {
                holder = std::make_unique<test::OtherOpener>(dir.File(c.held));
                ASSERT_TRUE(holder->holds());
            }
            WriteEnterFiles(values, 5, 5, kValues, error, ExampleClock);
            CloseAllFiles(error);
        }
        const bool settingsHeld = c.held != nullptr && std::string(c.held) == "kobrant.ctl";
        const bool recordHeld = c.held != nullptr && std::string(c.held) == "WX-DATA.txt";
        EXPECT_EQ(error.code, c.held ? file_error::kPermissionDenied : 0);
        EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")), settingsHeld ? earlier : kSettingsLine);
        EXPECT_EQ(test::ReadBytes(dir.File("WX-DATA.txt")), recordHeld ? earlier : kRecord);
    }
}

}  // namespace
}  // namespace kobrant
