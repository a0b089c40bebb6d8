// The entry dialog built from its layout (entry_layout.h): its window, the 30 controls
// in creation order, their colours and the two bold fonts (bold_font.h). What the
// controls do is the event handler's (event_handler.h).

#include "entry/entry_dialog.h"

#include "entry/event_handler.h"

namespace kobrant {
namespace {

static_assert(kEntryDialogStyle == (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                                    WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK));
static_assert(kEntryDialogExtendedStyle == WS_EX_CONTROLPARENT);
static_assert(kLayoutBlue == RGB(0, 0, 255) && kLayoutCyan == RGB(0, 255, 255));

void AddControls(HWND dialog, const FieldTexts& fieldTexts) {
    for (const ControlRow& row : kEntryControls) {
        const std::string_view text =
            row.text != nullptr ? std::string_view(row.text)
                                : std::string_view(fieldTexts[static_cast<std::size_t>(row.id - kFirstEditFieldId)]);
        AddControl(dialog, row.id, ClassOf(row.kind), text, row.x, row.y, row.width, row.height, 0, 0);
        if (row.colors != ColorSet::None) {
            const ColorPair colors = ColorsOf(row.colors);
            SetWindowColors(dialog, row.id, static_cast<std::int32_t>(colors.text),
                            static_cast<std::int32_t>(colors.background));
        }
    }
}

}  // namespace

INT_PTR ShowEntryDialog(HWND owner, ProgramValues& values) {
    HWND dialog = BuildDialog(owner, kEntryDialogCaption, values.settings.dialogLeft, values.settings.dialogTop,
                              kEntryDialogWidth, kEntryDialogHeight, kEntryDialogStyle, kEntryDialogExtendedStyle);
    SetWindowColors(dialog, kDialogItself, static_cast<std::int32_t>(kEntryDialogColors.text),
                    static_cast<std::int32_t>(kEntryDialogColors.background));
    AddControls(dialog, values.settings.fieldTexts);

    HFONT buttonFont = MakeBoldFont(kEnterButtonFontPoints);
    HFONT webAddressFont = MakeBoldFont(kWebAddressFontPoints);
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

}  // namespace kobrant
