#pragma once
// What the edit-field font test (edit_field_font_test.cpp) and its child program
// (edit_field_font_case.cpp) share.

#include "host/win32.h"

namespace kobrant::test {

inline constexpr char kSmallTilde[] = "\x98";  // Windows-1252's small tilde, U+02DC
inline constexpr char kFaceVariable[] = "KOBRANT_EDIT_FIELD_FACE";  // names the face to the child
inline constexpr int kFieldHoldsTheTilde = 0;  // the child's exit codes
inline constexpr int kFieldLostTheTilde = 1;

// The font that a dialog template's font record of 8 points and this face gives the
// dialog's controls, made as the dialog manager makes it: MakeDialogFont("MS Sans
// Serif") is the entry dialog's font.
inline HFONT MakeDialogFont(const char* face) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       PROOF_QUALITY, FF_DONTCARE, face);
}

}  // namespace kobrant::test
