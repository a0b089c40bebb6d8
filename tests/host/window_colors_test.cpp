// Window colours on a small host dialog: which brush and which device-context colours
// each colour query gets, and how the shared brushes come and go.

#include "host_test_support.h"
#include "host/window_records.h"

namespace kobrant::test {
namespace {

constexpr int kLabel1 = 101;
constexpr int kLabel2 = 102;
constexpr int kEdit = 110;
constexpr int kButton = 120;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kEditBackground = RGB(157, 253, 239);

// A memory device context, fresh for each query so that nothing carries over.
class DeviceContext {
public:
    DeviceContext() : dc_(CreateCompatibleDC(nullptr)) {}
    ~DeviceContext() { DeleteDC(dc_); }
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class WindowColors : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dialog_ = Build(40, 30);
        ASSERT_NE(dialog_, nullptr);
        AddControl(dialog_, kLabel1, ControlClass::Label, "Grad", 5, 5, 30, 10, 0, 0);
        AddControl(dialog_, kLabel2, ControlClass::Label, "mm", 5, 15, 30, 10, 0, 0);
        AddControl(dialog_, kEdit, ControlClass::TextBox, "270", 40, 5, 30, 10, 0, 0);
        AddControl(dialog_, kButton, ControlClass::PushButton, "Enter", 40, 20, 40, 14, 0, 0);
    }
    HWND Control(int id) const { return ControlWindow(dialog_, id); }
    static HBRUSH Answer(UINT query, HWND window) {
        DeviceContext dc;
        return ColorAnswer(query, dc.get(), window);
    }
    // The entry dialog's colouring: blue on cyan for the dialog and its labels.
    void ColourLikeTheEntryDialog() {
        SetWindowColors(dialog_, kDialogItself, kBlue, kCyan);
        SetWindowColors(dialog_, kLabel1, kBlue, kCyan);
        SetWindowColors(dialog_, kLabel2, kBlue, kCyan);
        SetWindowColors(dialog_, kEdit, RGB(0, 0, 0), kEditBackground);
    }

    HWND dialog_ = nullptr;
};

// The flash after "Enter": the dialog turns green and back while its labels stay cyan.
TEST_F(WindowColors, BrushesAreSharedByColour) {
    ColourLikeTheEntryDialog();
    EXPECT_EQ(BrushCount(), 2u) << "one for cyan, one for the edit fields";
    HBRUSH cyan = Answer(WM_CTLCOLORDLG, dialog_);
    ASSERT_NE(cyan, nullptr);
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, Control(kLabel1)), cyan);
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, Control(kLabel2)), cyan);
    HBRUSH edit = Answer(WM_CTLCOLOREDIT, Control(kEdit));
    EXPECT_NE(edit, nullptr);
    EXPECT_NE(edit, cyan);

    SetWindowColors(dialog_, kDialogItself, kSystemColor, kGreen);
    EXPECT_EQ(BrushCount(), 3u);
    HBRUSH green = Answer(WM_CTLCOLORDLG, dialog_);
    EXPECT_NE(green, cyan);
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, Control(kLabel1)), cyan) << "the labels keep cyan";
    EXPECT_EQ(GetObjectType(cyan), static_cast<DWORD>(OBJ_BRUSH));

    SetWindowColors(dialog_, kDialogItself, kSystemColor, kCyan);
    EXPECT_EQ(BrushCount(), 2u);
    EXPECT_EQ(Answer(WM_CTLCOLORDLG, dialog_), cyan) << "back to the labels' brush";
    EXPECT_EQ(GetObjectType(green), 0u) << "the green brush should be deleted";

    // The same answer comes through the dialog procedure, as the system asks for it.
    DeviceContext dc;
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(dialog_, WM_CTLCOLORSTATIC,
                                                    reinterpret_cast<WPARAM>(dc.get()),
                                                    reinterpret_cast<LPARAM>(Control(kLabel2)))),
              cyan);

    DestroyWindow(dialog_);
    EXPECT_EQ(BrushCount(), 0u);
    EXPECT_EQ(GetObjectType(cyan), 0u);
    EXPECT_EQ(GetObjectType(edit), 0u);
}

TEST_F(WindowColors, BrushesOutliveOneOfTwoDialogs) {
    HWND other = Build(200, 150);
    ASSERT_NE(other, nullptr);
    SetWindowColors(dialog_, kDialogItself, kBlue, kCyan);
    SetWindowColors(other, kDialogItself, kBlue, kCyan);
    EXPECT_EQ(BrushCount(), 1u);
    HBRUSH cyan = Answer(WM_CTLCOLORDLG, other);
    EXPECT_EQ(Answer(WM_CTLCOLORDLG, dialog_), cyan);
    DestroyWindow(dialog_);
    EXPECT_EQ(BrushCount(), 1u);
    EXPECT_EQ(GetObjectType(cyan), static_cast<DWORD>(OBJ_BRUSH)) << "the other dialog still uses it";
    DestroyWindow(other);
    EXPECT_EQ(BrushCount(), 0u);
}

TEST_F(WindowColors, UnknownTargetsChangeNothing) {
    ColourLikeTheEntryDialog();
    // A child window that the host did not add has no record.
    HWND stranger = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 5, 5, dialog_,
                                    reinterpret_cast<HMENU>(130), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(stranger, nullptr);
    HWND otherDialogLabel = nullptr;
    HWND other = Build(200, 150);
    ASSERT_NE(other, nullptr);
    otherDialogLabel = AddControl(other, 140, ControlClass::Label, "y", 5, 5, 10, 10, 0, 0);
    struct Case {
        const char* what;
        HWND dialog;
        int id;
    };
    const Case cases[] = {
        {"an id that names no control", dialog_, 999},
        {"a child without record", dialog_, 130},
        {"another dialog's control id", dialog_, 140},
        {"no dialog", nullptr, kDialogItself},
        {"a control as the dialog", Control(kLabel1), kDialogItself},
    };
    for (const Case& c : cases) {
        SetWindowColors(c.dialog, c.id, RGB(1, 2, 3), RGB(4, 5, 6));
        EXPECT_EQ(BrushCount(), 2u) << c.what;
    }
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, stranger), nullptr);
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, otherDialogLabel), nullptr);
    DeviceContext dc;
    SetTextColor(dc.get(), RGB(9, 9, 9));
    EXPECT_EQ(ColorAnswer(WM_CTLCOLORSTATIC, dc.get(), Control(kLabel1)), Answer(WM_CTLCOLORDLG, dialog_));
    EXPECT_EQ(GetTextColor(dc.get()), kBlue) << "the label kept its colours";
}

// What one query answers for each kind of setting, on the first label.
TEST_F(WindowColors, AnswerBySetting) {
    enum class Brush { None, OwnSolid, SystemBackground, Null };
    struct Case {
        const char* what;
        bool set;
        std::int32_t text, background;
        Brush brush;
        COLORREF textColor;  // in the device context afterwards
        COLORREF backgroundColor;
        int mode;
    };
    const COLORREF untouchedText = RGB(9, 9, 9);
    const COLORREF untouchedBack = RGB(8, 8, 8);
    const COLORREF sysText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF sysFace = GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        {"never set: the system paints", false, 0, 0, Brush::None, untouchedText, untouchedBack, OPAQUE},
        {"colours", true, kBlue, kCyan, Brush::OwnSolid, kBlue, kCyan, OPAQUE},
        {"high bits dropped", true, static_cast<std::int32_t>(0x7F0000FF), 0x12345678, Brush::OwnSolid,
         RGB(255, 0, 0), 0x345678, OPAQUE},
        {"system colours", true, kSystemColor, kSystemColor, Brush::SystemBackground, sysText, sysFace, OPAQUE},
        {"any negative text is the system's", true, -7, kSystemColor, Brush::SystemBackground, sysText, sysFace,
         OPAQUE},
        {"any other negative background is the system's", true, kBlue, -9, Brush::SystemBackground, kBlue, sysFace,
         OPAQUE},
        {"transparent", true, kBlue, kTransparent, Brush::Null, kBlue, untouchedBack, TRANSPARENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND label = Control(kLabel1);
        if (c.set) SetWindowColors(dialog_, kLabel1, c.text, c.background);
        DeviceContext dc;
        SetTextColor(dc.get(), untouchedText);
        SetBkColor(dc.get(), untouchedBack);
        SetBkMode(dc.get(), OPAQUE);
        HBRUSH brush = ColorAnswer(WM_CTLCOLORSTATIC, dc.get(), label);
        switch (c.brush) {
        case Brush::None: EXPECT_EQ(brush, nullptr); break;
        case Brush::OwnSolid:
            EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
            EXPECT_EQ(BrushCount(), 1u);
            break;
        case Brush::SystemBackground: EXPECT_EQ(brush, GetSysColorBrush(COLOR_BTNFACE)); break;
        case Brush::Null: EXPECT_EQ(brush, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))); break;
        }
        EXPECT_EQ(GetTextColor(dc.get()), c.textColor);
        EXPECT_EQ(GetBkColor(dc.get()), c.backgroundColor);
        EXPECT_EQ(GetBkMode(dc.get()), c.mode);
        if (c.brush != Brush::OwnSolid) {
            EXPECT_EQ(BrushCount(), 0u) << "no brush for this background";
        }
    }
    EXPECT_EQ(Answer(WM_CTLCOLORBTN, Control(kButton)), nullptr) << "an uncoloured control";
    EXPECT_EQ(Answer(WM_CTLCOLORSTATIC, nullptr), nullptr);
}

TEST_F(WindowColors, SystemColoursByQuery) {
    struct Case {
        UINT query;
        int text;
        int background;
    };
    const Case cases[] = {
        {WM_CTLCOLORMSGBOX, COLOR_MENUTEXT, COLOR_MENU},
        {WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {WM_CTLCOLORLISTBOX, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {WM_CTLCOLORBTN, COLOR_BTNTEXT, COLOR_BTNFACE},
        {WM_CTLCOLORDLG, COLOR_WINDOWTEXT, COLOR_BTNFACE},
        {WM_CTLCOLORSCROLLBAR, COLOR_WINDOWTEXT, COLOR_SCROLLBAR},
        {WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE},
    };
    SetWindowColors(dialog_, kDialogItself, kSystemColor, kSystemColor);
    for (const Case& c : cases) {
        DeviceContext dc;
        EXPECT_EQ(ColorAnswer(c.query, dc.get(), dialog_), GetSysColorBrush(c.background))
            << std::hex << "query=0x" << c.query;
        EXPECT_EQ(GetTextColor(dc.get()), GetSysColor(c.text)) << std::hex << "query=0x" << c.query;
        EXPECT_EQ(GetBkColor(dc.get()), GetSysColor(c.background)) << std::hex << "query=0x" << c.query;
    }
    EXPECT_EQ(BrushCount(), 0u);
}

}  // namespace
}  // namespace kobrant::test
