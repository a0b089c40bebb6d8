// The entry dialog's layout: its window, the 30 controls in creation order, their
// colours and the two bold fonts. What the controls do is the event handler's
// (event_handler.h).

#include "entry/entry_dialog.h"

#include <cstring>

#include "entry/event_handler.h"

namespace kobrant {
namespace {

constexpr int kWidth = 119;   // dialog units
constexpr int kHeight = 144;

// A small fixed dialog with a close box and a minimize box, no maximize box, no
// sizing border; the host takes WS_VISIBLE out and shows it when it runs.
constexpr DWORD kStyle = 0x94CA00D4;
static_assert(kStyle == (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                         DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK));
constexpr DWORD kExtendedStyle = WS_EX_CONTROLPARENT;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);

// The author's address, two blanks ahead, in a domain that is reserved for examples.
constexpr char kWebAddress[] = "  kobrantwx.example";
static_assert(sizeof kWebAddress - 1 == 19);

enum class ColorSet { None, Label, Edit, Web };

struct ColorPair {
    COLORREF text;
    COLORREF background;
};

ColorPair ColorsOf(ColorSet set) {
    switch (set) {
    case ColorSet::Label: return {kBlue, kCyan};
    case ColorSet::Edit: return {RGB(0, 0, 0), RGB(157, 253, 239)};
    case ColorSet::Web: return {RGB(0, 221, 221), kCyan};
    case ColorSet::None: break;
    }
    return {0, 0};
}

// One control; an edit field (text nullptr) shows its field's text. The labels keep
// their trailing blanks.
struct ControlRow {
    int id;
    ControlClass controlClass;
    const char* text;
    int x, y, width, height;  // dialog units
    ColorSet colors;
};

constexpr ControlClass kLabel = ControlClass::Label;
constexpr ControlClass kEdit = ControlClass::TextBox;
constexpr ControlClass kButton = ControlClass::PushButton;

// Creation order is the z-order and the tab order: the edit fields come before the
// two buttons, "CLEAR" last although it stands left of "Enter".
constexpr ControlRow kControls[] = {
    {1001, kLabel, "Windrichtung   ", 15, 5, 45, 10, ColorSet::Label},
    {1002, kLabel, "Gechwindigkeit   ", 10, 15, 50, 10, ColorSet::Label},
    {1003, kLabel, "B\xF6" "en-st\xE4" "rke     ", 20, 25, 40, 10, ColorSet::Label},
    {1004, kLabel, "Temperatur    ", 20, 35, 40, 10, ColorSet::Label},
    {1005, kLabel, "Regen  Stunde ", 10, 45, 50, 10, ColorSet::Label},
    {1006, kLabel, "Regen 24 Std  ", 15, 55, 45, 10, ColorSet::Label},
    {1007, kLabel, "Regen heute", 15, 65, 45, 10, ColorSet::Label},
    {1008, kLabel, "Rel. Luftfeuchte.    ", 5, 75, 55, 10, ColorSet::Label},
    {1009, kLabel, "Luftdruck          ", 25, 85, 35, 10, ColorSet::Label},
    {1010, kEdit, nullptr, 60, 5, 30, 10, ColorSet::Edit},
    {1011, kEdit, nullptr, 60, 15, 30, 10, ColorSet::Edit},
    {1012, kEdit, nullptr, 60, 25, 30, 10, ColorSet::Edit},
    {1013, kEdit, nullptr, 60, 35, 30, 10, ColorSet::Edit},
    {1014, kEdit, nullptr, 60, 45, 30, 10, ColorSet::Edit},
    {1015, kEdit, nullptr, 60, 55, 30, 10, ColorSet::Edit},
    {1016, kEdit, nullptr, 60, 65, 30, 10, ColorSet::Edit},
    {1017, kEdit, nullptr, 60, 75, 30, 10, ColorSet::Edit},
    {1018, kEdit, nullptr, 60, 85, 30, 10, ColorSet::Edit},
    {1019, kLabel, "Grad", 90, 5, 20, 10, ColorSet::Label},
    {1020, kLabel, "m/sec.", 90, 15, 25, 10, ColorSet::Label},
    {1021, kLabel, "m/sec.", 90, 25, 25, 10, ColorSet::Label},
    {1022, kLabel, "Celsius", 90, 35, 25, 10, ColorSet::Label},
    {1023, kLabel, "mm", 90, 45, 15, 10, ColorSet::Label},
    {1024, kLabel, "mm", 90, 55, 15, 10, ColorSet::Label},
    {1025, kLabel, "mm", 90, 65, 15, 10, ColorSet::Label},
    {1026, kLabel, "%", 95, 75, 10, 10, ColorSet::Label},
    {1027, kLabel, "Millibar", 90, 85, 25, 10, ColorSet::Label},
    {kEnterButtonId, kButton, "Enter", 40, 100, 70, 20, ColorSet::None},
    {kWebAddressLabelId, kLabel, kWebAddress, 0, 125, 115, 15, ColorSet::Web},
    {kClearButtonId, kButton, "CLEAR", 5, 100, 30, 20, ColorSet::None},
};
static_assert(sizeof kControls / sizeof kControls[0] == 30);

void AddControls(HWND dialog, const FieldTexts& fieldTexts) {
    for (const ControlRow& row : kControls) {
        const std::string_view text =
            row.text != nullptr ? std::string_view(row.text)
                                : std::string_view(fieldTexts[static_cast<std::size_t>(row.id - kFirstEditFieldId)]);
        AddControl(dialog, row.id, row.controlClass, text, row.x, row.y, row.width, row.height, 0, 0);
        if (row.colors != ColorSet::None) {
            const ColorPair colors = ColorsOf(row.colors);
            SetWindowColors(dialog, row.id, static_cast<std::int32_t>(colors.text),
                            static_cast<std::int32_t>(colors.background));
        }
    }
}

}  // namespace

INT_PTR ShowEntryDialog(HWND owner, ProgramValues& values) {
    HWND dialog = BuildDialog(owner, kEntryDialogCaption, values.settings.dialogLeft, values.settings.dialogTop, kWidth,
                              kHeight, kStyle, kExtendedStyle);
    SetWindowColors(dialog, kDialogItself, static_cast<std::int32_t>(kBlue), static_cast<std::int32_t>(kCyan));
    AddControls(dialog, values.settings.fieldTexts);

    HFONT buttonFont = MakeBoldFont(14);
    HFONT webAddressFont = MakeBoldFont(12);
    // Redraw 0: the dialog is still hidden and is painted whole when it is shown.
    SendToControl(ControlWindow(dialog, kEnterButtonId), WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), 0);
    SendToControl(ControlWindow(dialog, kWebAddressLabelId), WM_SETFONT, reinterpret_cast<WPARAM>(webAddressFont), 0);

    EntryDialogData data{&values};
    const INT_PTR result = RunModal(dialog, HandleEntryDialog, &data);

    // The controls that used them are gone with the dialog.
    if (buttonFont != nullptr) DeleteObject(buttonFont);
    if (webAddressFont != nullptr) DeleteObject(webAddressFont);
    return result;
}

HFONT MakeBoldFont(int points) {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    LOGFONTA font{};
    font.lfHeight = BoldFontHeight(pixelsPerInch, points);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = ANSI_CHARSET;
    std::strncpy(font.lfFaceName, "MS Sans Serif", sizeof font.lfFaceName - 1);
    return CreateFontIndirectA(&font);
}

}  // namespace kobrant
