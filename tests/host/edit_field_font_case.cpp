// The child program of EditFieldFont (edit_field_font_test.cpp): one edit field holding
// the small tilde, given by WM_SETFONT the dialog font of the face that
// KOBRANT_EDIT_FIELD_FACE names, as the entry dialog gives its fields their font. Exit
// code kFieldHoldsTheTilde when the field still holds exactly that byte afterwards,
// kFieldLostTheTilde when not; a crash ends it at once with the exception's code
// (0xC0000005 for an access violation), with no debugger and no error box.

#include <string_view>

#include "edit_field_font.h"

namespace {

LONG WINAPI EndWithTheExceptionCode(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

int main() {
    using namespace kobrant::test;
    SetUnhandledExceptionFilter(EndWithTheExceptionCode);
    char face[LF_FACESIZE] = "";
    GetEnvironmentVariableA(kFaceVariable, face, sizeof face);
    HWND field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", kSmallTilde, WS_POPUP | ES_AUTOHSCROLL, 0, 0,
                                 60, 20, nullptr, nullptr, nullptr, nullptr);
    HFONT font = MakeDialogFont(face);
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    char text[8] = "";
    GetWindowTextA(field, text, sizeof text);
    DestroyWindow(field);
    DeleteObject(font);
    return std::string_view(text) == kSmallTilde ? kFieldHoldsTheTilde : kFieldLostTheTilde;
}
