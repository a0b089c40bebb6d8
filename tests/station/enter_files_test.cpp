#include "station/enter_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/files.h"
#include "numbers/float_state.h"
#include "support/worked_example.h"

namespace kobrant {
namespace {

ClockReading ExampleClock() { return {2026, 12, 6, 14, 5, 33}; }

using test::worked_example::kCleaned;
using test::worked_example::kTyped;
using test::worked_example::kValues;
const std::string kSettingsLine = test::worked_example::kSettingsTexts + "5,5" + test::Eol();
const std::string kRecord = "Dec 06 2026 14:05" + test::Eol() + test::worked_example::kDataLine + test::Eol();

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
    EnterOutcome outcome = WriteEnterFiles(values, 5, 5, kValues, ExampleClock);
    EXPECT_TRUE(outcome.Written());
    EXPECT_EQ(outcome.timestampLine, "Dec 06 2026 14:05");
    EXPECT_EQ(outcome.dataLine, test::worked_example::kDataLine);
    CloseEnterFiles(outcome);
    EXPECT_TRUE(outcome.Written());
    EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")), kSettingsLine);
    EXPECT_EQ(test::ReadBytes(dir.File("WX-DATA.txt")), kRecord);
}

// Both files stay open, and so held, until the caller closes them after its flash (on
// Linux the old files stay in place meanwhile, and the close puts the new ones there);
// the settings path is built again from the start directory; the position goes into
// values.
TEST_F(EnterFiles, BothFilesStayOpenAndValuesTakeThePosition) {
    ProgramValues values = Typed();
    values.settingsPath = dir.File("elsewhere.ctl");
    const ValueTexts valueTexts = ConvertFieldTexts(values.settings.fieldTexts);
    test::WriteBytes(dir.File("WX-DATA.txt"), "earlier");
    EnterOutcome outcome = WriteEnterFiles(values, -7, 300, valueTexts, ExampleClock);
    EXPECT_TRUE(outcome.Written());
    EXPECT_EQ(values.settingsPath, dir.File("kobrant.ctl"));
    EXPECT_EQ(values.settings.dialogLeft, -7);
    EXPECT_EQ(values.settings.dialogTop, 300);
    if (test::OutputReplacesFile()) {
        EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")), "<missing>");
        EXPECT_EQ(test::ReadBytes(dir.File("WX-DATA.txt")), "earlier");
    }
    for (const char* name : {"kobrant.ctl", "WX-DATA.txt"}) {
        FileError probe;
        OpenForInput(dir.File(name), 3, probe);
        const bool missingMeanwhile = test::OutputReplacesFile() && std::string(name) == "kobrant.ctl";
        EXPECT_EQ(probe.code, missingMeanwhile ? file_error::kFileNotFound : file_error::kPermissionDenied)
            << name << " is not held";
        CloseFile(3, probe);
    }
    CloseEnterFiles(outcome);
    EXPECT_TRUE(outcome.Written());
    EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")),
              "\"270\",\"5\",\"8\",\"20\",\"0\",\"1.5\",\"2\",\"65\",\"1013.2\",-7,300" + test::Eol());
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
        const std::string earlier = "earlier bytes\r\n";  // carried over from Windows
        test::WriteBytes(dir.File("WX-DATA.txt"), earlier);
        test::WriteBytes(dir.File("kobrant.ctl"), earlier);
        ProgramValues values = Typed();
        values.settings.fieldTexts = kCleaned;
        EnterOutcome outcome;
        {
            std::unique_ptr<test::OtherOpener> holder;
            if (c.held != nullptr) {
                holder = std::make_unique<test::OtherOpener>(dir.File(c.held));
                ASSERT_TRUE(holder->holds());
            }
            outcome = WriteEnterFiles(values, 5, 5, kValues, ExampleClock);
            CloseEnterFiles(outcome);
        }
        const bool settingsHeld = c.held != nullptr && std::string(c.held) == "kobrant.ctl";
        const bool recordHeld = c.held != nullptr && std::string(c.held) == "WX-DATA.txt";
        EXPECT_EQ(outcome.settings.code, settingsHeld ? file_error::kPermissionDenied : 0);
        EXPECT_EQ(outcome.record.code, recordHeld ? file_error::kPermissionDenied : 0);
        EXPECT_EQ(outcome.Written(), c.held == nullptr);
        EXPECT_EQ(test::ReadBytes(dir.File("kobrant.ctl")), settingsHeld ? earlier : kSettingsLine);
        EXPECT_EQ(test::ReadBytes(dir.File("WX-DATA.txt")), recordHeld ? earlier : kRecord);
    }
}

}  // namespace
}  // namespace kobrant
