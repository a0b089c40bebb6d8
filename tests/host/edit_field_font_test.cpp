// The small tilde "˜" (Windows-1252 0x98, U+02DC) in an edit field that gets its font
// by WM_SETFONT, as each field of the entry dialog gets the dialog font. A child program
// (edit_field_font_case.cpp) does it, so that a crash ends the child, not the test, and
// the child's exit code tells what happened.
//
// Wine is not Windows: Wine 8.0 crashes (an access violation) while it shapes that one
// character with an OpenType font that positions it as a mark, such as the host's
// DejaVu Sans; and a Wine prefix without Wine's own fonts gives the dialog font "MS Sans
// Serif" exactly that font, found through fontconfig. The test prefix has Wine's own
// fonts (tools/wine/prefix), in which "MS Sans Serif" is a bitmap font, as on Windows.
// The DejaVu Sans row keeps the crash in sight: it fails once Wine no longer crashes,
// and the note in docs/development.md goes with its Wine branch.

#include <gtest/gtest.h>

#include <string>

#include "driver/driver.h"
#include "driver/wine.h"
#include "edit_field_font.h"

namespace kobrant::test {
namespace {

// The face that the font gets from the system, after substitutes and fallbacks.
std::string FaceOf(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ before = SelectObject(screen, font);
    char face[LF_FACESIZE] = "";
    GetTextFaceA(screen, LF_FACESIZE, face);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return face;
}

// Runs the child (edit_field_font_case.exe, beside this program) with this face; false,
// with the reason in `why`, when it did not start or did not end in time.
bool RunChild(const char* face, DWORD& exitCode, std::string& why) {
    char self[MAX_PATH] = "", folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string child = self;
    child.replace(child.find_last_of('\\') + 1, std::string::npos, "edit_field_font_case.exe");
    SetEnvironmentVariableA(kFaceVariable, face);
    driver::Program program;
    const bool started = driver::StartProgram(child, folder, program, why);
    SetEnvironmentVariableA(kFaceVariable, nullptr);
    if (!started) return false;
    if (driver::WaitForExit(program, driver::kExitTimeoutMs, exitCode)) return true;
    why = "the child did not end within " + std::to_string(driver::kExitTimeoutMs) + " ms";
    return false;
}

TEST(EditFieldFont, SmallTildeKeepsItsFieldOrWineCrashesWithAHostFont) {
    struct Row {
        const char* face;
        bool hostFontUnderWine;  // Wine finds it on the host, through fontconfig
    };
    const Row rows[] = {
        {"MS Sans Serif", false},  // the dialog font
        {"DejaVu Sans", true},     // what a prefix without Wine's own fonts gives for it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.face);
        // Each row's font must be the one it names; DejaVu Sans is no Windows font.
        if (RunningUnderWine() || !row.hostFontUnderWine) {
            HFONT font = MakeDialogFont(row.face);
            EXPECT_EQ(FaceOf(font), row.face)
                << "the font is not there (under Wine: Wine's own fonts, linked into the prefix by "
                   "tools/wine/prefix from fonts-wine; DejaVu Sans from fonts-dejavu-core)";
            DeleteObject(font);
        }
        DWORD exitCode = 0;
        std::string why;
        ASSERT_TRUE(RunChild(row.face, exitCode, why)) << why;
        if (RunningUnderWine() && row.hostFontUnderWine) {
            // Wine, not Windows: the crash in Wine's shaping of the tilde as a mark.
            EXPECT_EQ(exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION))
                << "Wine no longer crashes here: drop this Wine branch and its note in docs/development.md";
        } else {
            EXPECT_EQ(exitCode, static_cast<DWORD>(kFieldHoldsTheTilde)) << "exit code 0x" << std::hex << exitCode;
        }
    }
}

}  // namespace
}  // namespace kobrant::test
