// RepaintDialog on a small host dialog, once everything has been painted: the dialog's
// own background is repainted, and with it only the controls whose pixels may change.
// The confirmation flash of "Enter" relies on both halves: the dialog turns green at
// once, and the labels keep their own cyan (no green painted over them and left).

#include <string>

#include "host_test_support.h"

namespace kobrant::test {
namespace {

constexpr int kOpaqueLabel = 101;
constexpr int kClearLabel = 102;  // transparent background: shows the dialog's
constexpr int kEdit = 103;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kEditBackground = RGB(157, 253, 239);

// How often a control asked for its colours (every painting asks once).
std::size_t QueriesFrom(HWND control) {
    std::size_t count = 0;
    for (const SeenMessage& seen : gScript.seen) {
        const bool query = seen.message >= WM_CTLCOLORMSGBOX && seen.message <= WM_CTLCOLORSTATIC;
        count += query && reinterpret_cast<HWND>(seen.lParam) == control ? 1 : 0;
    }
    return count;
}

class DialogRepaint : public HostTest {};

TEST_F(DialogRepaint, RepaintsWhatMayChangeAndKeepsTheRest) {
    struct Case {
        const char* what;
        int target;  // whose colours change before the repaint; 0 for nobody's
        COLORREF background;
        COLORREF dialog, opaqueLabel, clearLabel, edit;  // pixels afterwards
        bool opaqueLabelRepainted;
    };
    const Case cases[] = {
        {"the dialog turns green", kDialogItself, kGreen, kGreen, kCyan, kGreen, kEditBackground, false},
        {"the opaque label turns yellow", kOpaqueLabel, kYellow, kCyan, kYellow, kCyan, kEditBackground, true},
        {"nothing changes", 0, 0, kCyan, kCyan, kCyan, kEditBackground, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gScript = {};
        HWND dialog = Build(40, 30);
        ASSERT_NE(dialog, nullptr);
        AddControl(dialog, kOpaqueLabel, ControlClass::Label, "Grad", 5, 5, 30, 10, 0, 0);
        AddControl(dialog, kClearLabel, ControlClass::Label, "mm", 5, 20, 30, 10, 0, 0);
        AddControl(dialog, kEdit, ControlClass::TextBox, "270", 40, 5, 30, 10, 0, 0);
        SetWindowColors(dialog, kDialogItself, kBlue, kCyan);
        SetWindowColors(dialog, kOpaqueLabel, kBlue, kCyan);
        SetWindowColors(dialog, kClearLabel, kBlue, kTransparent);
        SetWindowColors(dialog, kEdit, RGB(0, 0, 0), kEditBackground);

        HWND opaqueLabel = ControlWindow(dialog, kOpaqueLabel);
        HWND clearLabel = ControlWindow(dialog, kClearLabel);
        std::size_t opaqueQueries = 0, clearQueries = 0;
        COLORREF dialogPixel = CLR_INVALID, opaquePixel = CLR_INVALID, clearPixel = CLR_INVALID,
                 editPixel = CLR_INVALID;
        gScript.react = [&](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
            if (message == WM_INITDIALOG) PostMessageA(d, kStep1, 0, 0);
            if (message == kStep1) {
                RepaintDialog(d);  // everything painted once, as the operator first sees it
                if (c.target != 0) SetWindowColors(d, c.target, kBlue, static_cast<std::int32_t>(c.background));
                const std::size_t opaqueBefore = QueriesFrom(opaqueLabel);
                const std::size_t clearBefore = QueriesFrom(clearLabel);
                RepaintDialog(d);
                opaqueQueries = QueriesFrom(opaqueLabel) - opaqueBefore;
                clearQueries = QueriesFrom(clearLabel) - clearBefore;
                dialogPixel = PixelAt(d, 1, 1);
                opaquePixel = CornerPixel(opaqueLabel);
                clearPixel = CornerPixel(clearLabel);
                editPixel = CornerPixel(ControlWindow(d, kEdit));
                CloseDialog(d, 0);
            }
            return 0;
        };
        EXPECT_EQ(RunWatched(dialog), 0);
        EXPECT_EQ(dialogPixel, c.dialog);
        EXPECT_EQ(opaquePixel, c.opaqueLabel) << "the opaque label";
        EXPECT_EQ(clearPixel, c.clearLabel) << "the transparent label";
        EXPECT_EQ(editPixel, c.edit) << "the edit field";
        EXPECT_EQ(opaqueQueries > 0, c.opaqueLabelRepainted) << "the opaque label asked " << opaqueQueries << " times";
        EXPECT_GE(clearQueries, 1u) << "the transparent label was not repainted";
    }
}

}  // namespace
}  // namespace kobrant::test
