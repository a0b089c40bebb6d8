// The worked example typed into a packaged kobrant in a terminal (tmux, with the
// terminal tests' session): both files compared byte for byte. tests/release/deb_test.sh
// runs it on the installed program and on the unpacked arm64 and armhf ones, naming the
// program in KOBRANT_PROGRAM and, for ARM, its emulator in KOBRANT_PROGRAM_EMULATOR
// ("qemu-aarch64 -L /usr/aarch64-linux-gnu"). It is no CTest test: tools/test builds
// the packages after the presets.

#include <gtest/gtest.h>

#include "support/terminal_session.h"
#include "support/files.h"
#include "support/worked_example.h"

namespace kobrant {
namespace {

TEST(PackagedProgram, WorkedExampleGivesBothFiles) {
    namespace example = test::worked_example;
    const std::string data = example::kDataLine;
    test::TestDirectory folder, control;
    const ClockReading before = ReadLocalClock();
    {
        test::TerminalSession session(test::ProgramUnderTest(), folder.Path(), control.Path(),
                                      {"LC_ALL=C.UTF-8", "TERM=screen-256color"}, 80, 24);
        ASSERT_TRUE(session.Started()) << session.Why();
        ASSERT_TRUE(session.WaitFor("KOBRANT--V571")) << session.Screen();
        session.TypeFields({example::kTyped.begin(), example::kTyped.end()});
        session.Keys({"Enter"});
        EXPECT_TRUE(session.WaitFor("geschrieben: " + data)) << session.Screen();
        session.Keys({"F10"});
        EXPECT_EQ(session.WaitForExit(), 0) << session.Screen();
    }
    const ClockReading after = ReadLocalClock();
    // A new settings file: the run keeps position 0, 0.
    EXPECT_EQ(test::ReadBytes(folder.Path() + "/kobrant.ctl"), example::kSettingsTexts + "0,0\n");
    const std::string bytes = test::ReadBytes(folder.Path() + "/WX-DATA.txt");
    EXPECT_TRUE(test::IsLinuxRecord(bytes, data, before, after)) << bytes;
}

}  // namespace
}  // namespace kobrant
