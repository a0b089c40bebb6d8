#pragma once
// The entry dialog's layout as plain data: the dialog's size, style and colours, its 30
// controls in creation order, the colours of each and the two bold fonts. No Windows
// header: the entry dialog (entry_dialog_win.cpp) builds its dialog from this through
// the dialog host, and the benchmark's same-UI program (bench/same_ui_win.cpp) builds
// the same dialog from it as a template for the system's dialog manager, so that the
// two cannot drift apart. What the controls do is the event handler's
// (event_handler.h).
//
//   ControlRowOf(1018)->y              -> 85          the pressure field
//   ControlRowOf(1031)                 -> nullptr     no control has that id
//   ColorsOf(ColorSet::Web).text       -> 0xDDDD00    RGB(0, 221, 221)
//   ColorsOf(ColorSet::None)           -> {0, 0}      the buttons keep the system's
//   TypingLimit(1017)                  -> 5
//   TypingLimit(1018)                  -> 6           the pressure, "1013.2"
//   BoldFontHeight(96, 14)             -> -18

#include <cstddef>
#include <cstdint>

#include "entry/window_names.h"

namespace kobrant {

// A colour as a Windows COLORREF: red in bits 0 to 7, green 8 to 15, blue 16 to 23.
constexpr std::uint32_t LayoutColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

// The dialog: 119 by 144 dialog units of the template font, 8 points "MS Sans Serif".
inline constexpr int kEntryDialogWidth = 119;
inline constexpr int kEntryDialogHeight = 144;

// A small fixed dialog with a close box and a minimize box, no maximize box, no sizing
// border: WS_POPUP, WS_VISIBLE, WS_CLIPSIBLINGS, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX,
// DS_MODALFRAME, DS_SETFONT, DS_NOFAILCREATE and DS_3DLOOK (entry_dialog_win.cpp checks
// the value against the Windows names). The host takes WS_VISIBLE out and shows the
// dialog when it runs.
inline constexpr std::uint32_t kEntryDialogStyle = 0x94CA00D4;
inline constexpr std::uint32_t kEntryDialogExtendedStyle = 0x00010000;  // WS_EX_CONTROLPARENT

inline constexpr std::uint32_t kLayoutBlue = LayoutColor(0, 0, 255);
inline constexpr std::uint32_t kLayoutCyan = LayoutColor(0, 255, 255);

struct ColorPair {
    std::uint32_t text;
    std::uint32_t background;
};

// The dialog's own colours: blue text on cyan.
inline constexpr ColorPair kEntryDialogColors = {kLayoutBlue, kLayoutCyan};

// The colours of a control: the caption and unit labels, the edit fields, the web
// address; the buttons keep the system's colours.
enum class ColorSet { None, Label, Edit, Web };

constexpr ColorPair ColorsOf(ColorSet set) {
    switch (set) {
    case ColorSet::Label: return {kLayoutBlue, kLayoutCyan};
    case ColorSet::Edit: return {LayoutColor(0, 0, 0), LayoutColor(157, 253, 239)};
    case ColorSet::Web: return {LayoutColor(0, 221, 221), kLayoutCyan};
    case ColorSet::None: break;
    }
    return {0, 0};
}

// The three kinds of control: STATIC, EDIT and BUTTON, each with the dialog host's
// default style for it (dialog_host.h).
enum class ControlKind { Label, Edit, Button };

// The author's address, two blanks ahead, in a domain that is reserved for examples.
inline constexpr char kWebAddress[] = "  kobrantwx.example";
static_assert(sizeof kWebAddress - 1 == 19);

// One control; an edit field (text nullptr) shows its field's text. The labels keep
// their trailing blanks.
struct ControlRow {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;  // dialog units
    ColorSet colors;
};

// Creation order is the z-order and the tab order: the edit fields come before the
// two buttons, "CLEAR" last although it stands left of "Enter".
inline constexpr ControlRow kEntryControls[] = {
    {1001, ControlKind::Label, "Windrichtung   ", 15, 5, 45, 10, ColorSet::Label},
    {1002, ControlKind::Label, "Gechwindigkeit   ", 10, 15, 50, 10, ColorSet::Label},
    {1003, ControlKind::Label, "B\xF6" "en-st\xE4" "rke     ", 20, 25, 40, 10, ColorSet::Label},
    {1004, ControlKind::Label, "Temperatur    ", 20, 35, 40, 10, ColorSet::Label},
    {1005, ControlKind::Label, "Regen  Stunde ", 10, 45, 50, 10, ColorSet::Label},
    {1006, ControlKind::Label, "Regen 24 Std  ", 15, 55, 45, 10, ColorSet::Label},
    {1007, ControlKind::Label, "Regen heute", 15, 65, 45, 10, ColorSet::Label},
    {1008, ControlKind::Label, "Rel. Luftfeuchte.    ", 5, 75, 55, 10, ColorSet::Label},
    {1009, ControlKind::Label, "Luftdruck          ", 25, 85, 35, 10, ColorSet::Label},
    {1010, ControlKind::Edit, nullptr, 60, 5, 30, 10, ColorSet::Edit},
    {1011, ControlKind::Edit, nullptr, 60, 15, 30, 10, ColorSet::Edit},
    {1012, ControlKind::Edit, nullptr, 60, 25, 30, 10, ColorSet::Edit},
    {1013, ControlKind::Edit, nullptr, 60, 35, 30, 10, ColorSet::Edit},
    {1014, ControlKind::Edit, nullptr, 60, 45, 30, 10, ColorSet::Edit},
    {1015, ControlKind::Edit, nullptr, 60, 55, 30, 10, ColorSet::Edit},
    {1016, ControlKind::Edit, nullptr, 60, 65, 30, 10, ColorSet::Edit},
    {1017, ControlKind::Edit, nullptr, 60, 75, 30, 10, ColorSet::Edit},
    {1018, ControlKind::Edit, nullptr, 60, 85, 30, 10, ColorSet::Edit},
    {1019, ControlKind::Label, "Grad", 90, 5, 20, 10, ColorSet::Label},
    {1020, ControlKind::Label, "m/sec.", 90, 15, 25, 10, ColorSet::Label},
    {1021, ControlKind::Label, "m/sec.", 90, 25, 25, 10, ColorSet::Label},
    {1022, ControlKind::Label, "Celsius", 90, 35, 25, 10, ColorSet::Label},
    {1023, ControlKind::Label, "mm", 90, 45, 15, 10, ColorSet::Label},
    {1024, ControlKind::Label, "mm", 90, 55, 15, 10, ColorSet::Label},
    {1025, ControlKind::Label, "mm", 90, 65, 15, 10, ColorSet::Label},
    {1026, ControlKind::Label, "%", 95, 75, 10, 10, ColorSet::Label},
    {1027, ControlKind::Label, "Millibar", 90, 85, 25, 10, ColorSet::Label},
    {kEnterButtonId, ControlKind::Button, "Enter", 40, 100, 70, 20, ColorSet::None},
    {kWebAddressLabelId, ControlKind::Label, kWebAddress, 0, 125, 115, 15, ColorSet::Web},
    {kClearButtonId, ControlKind::Button, "CLEAR", 5, 100, 30, 20, ColorSet::None},
};
inline constexpr std::size_t kEntryControlCount = sizeof kEntryControls / sizeof kEntryControls[0];
static_assert(kEntryControlCount == 30);

// The ids run from 1001 to 1030 in creation order, so a control's row is found by its id.
constexpr bool IdsRunInCreationOrder() {
    for (std::size_t i = 0; i < kEntryControlCount; ++i) {
        if (kEntryControls[i].id != kFirstCaptionLabelId + static_cast<int>(i)) return false;
    }
    return true;
}
static_assert(IdsRunInCreationOrder());

// The row of a control id; nullptr for an id that is none of the 30.
constexpr const ControlRow* ControlRowOf(int id) {
    const int index = id - kFirstCaptionLabelId;
    if (index < 0 || index >= static_cast<int>(kEntryControlCount)) return nullptr;
    return &kEntryControls[index];
}

// The two larger fonts, set on their controls once the dialog exists: a bold "MS Sans
// Serif" of these point sizes on the screen.
inline constexpr int kEnterButtonFontPoints = 14;
inline constexpr int kWebAddressFontPoints = 12;
inline constexpr int kBoldFontWeight = 700;  // FW_BOLD
inline constexpr char kBoldFontFace[] = "MS Sans Serif";

// The character height of a bold font, as a negative LOGFONT lfHeight:
// -(LOGPIXELSY x points) / 72 pixels, the division truncated.
constexpr int BoldFontHeight(int pixelsPerInch, int points) { return -(pixelsPerInch * points) / 72; }

// The most characters the operator can type into an edit field (a longer text already
// there stays whole): five, six for the pressure, the last field ("1013.2").
inline constexpr int kTypingLimit = 5;
inline constexpr int kPressureTypingLimit = 6;
inline constexpr int kPressureEditFieldId = kFirstEditFieldId + 8;
constexpr int TypingLimit(int editFieldId) {
    return editFieldId == kPressureEditFieldId ? kPressureTypingLimit : kTypingLimit;
}

}  // namespace kobrant
