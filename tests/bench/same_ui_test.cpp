// The benchmark's same-UI baseline must show the very dialog kobrant.exe shows, or the
// start-up ratio between them compares two different things. Both programs are started
// as the benchmark starts them (kobrant.exe after a first start has written its
// settings file), their message boxes answered, and their dialogs compared: the
// controls one by one as the system reports them, then screenshots of the two windows.
//
// The only difference allowed is where the two place a control's right and bottom
// edge: kobrant.exe's dialog host converts both corners of a control from dialog units
// (MapDialogRect), the dialog manager converts the top-left corner and the size, and
// the two roundings may put an edge one pixel apart. The pictures are saved as BMP
// files in KOBRANT_PICTURE_FOLDER for a look: kobrant.bmp, same_ui.bmp, and
// differences.bmp (kobrant.exe's picture, the pixels explained by such an edge in
// yellow, any other difference in magenta).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "support/files.h"

namespace kobrant::bench {
namespace {

// A screenshot: 0x00RRGGBB pixels, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

constexpr std::uint32_t Pixel(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red << 16) | (green << 8) | blue;
}

// One control as its program shows it.
struct ControlShown {
    int id = 0;
    std::string className;
    std::string text;
    DWORD style = 0;
    bool clientEdge = false;
    RECT rect{};  // in the client coordinates of its dialog
    LRESULT typingLimit = 0;  // edit fields only
};

struct DialogShown {
    std::string boxText;
    RECT window{};
    POINT clientCorner{};
    DWORD style = 0;
    std::vector<ControlShown> controls;
    Picture picture;
};

std::string Described(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

Picture TakePicture(const RECT& area) {
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        picture.pixels.assign(pixels, pixels + picture.width * picture.height);
        for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// A 32-bit BMP file of the picture.
void SavePicture(const Picture& picture, const std::string& path) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = picture.width;
    header.biHeight = -picture.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const auto bytes = static_cast<DWORD>(picture.pixels.size() * sizeof(std::uint32_t));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + bytes;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(picture.pixels.data(), 1, bytes, out);
    std::fclose(out);
}

// Waits until the dialog and its controls are painted and two screenshots 200 ms apart
// agree (Wine puts a window's painting on the screen a moment later).
bool TakeSettledPicture(HWND dialog, const RECT& area, Picture& picture) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!driver::Painted(dialog)) {
        if (GetTickCount64() > deadline) return false;
        Sleep(20);
    }
    picture = TakePicture(area);
    while (GetTickCount64() < deadline) {
        Sleep(200);
        Picture again = TakePicture(area);
        if (again.pixels == picture.pixels) return true;
        picture = std::move(again);
    }
    return false;
}

std::vector<ControlShown> ControlsOf(HWND dialog) {
    std::vector<ControlShown> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        ControlShown control;
        control.id = GetDlgCtrlID(child);
        control.className = driver::ClassName(child);
        control.text = driver::WindowText(child);
        control.style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        control.clientEdge = (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
        GetWindowRect(child, &control.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
        DWORD_PTR limit = 0;
        if (lstrcmpiA(control.className.c_str(), "Edit") == 0 &&
            SendMessageTimeoutA(child, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 2000, &limit) != 0) {
            control.typingLimit = static_cast<LRESULT>(limit);
        }
        controls.push_back(control);
    }
    return controls;
}

// Starts the program in the folder, answers its box, takes its dialog as shown and
// closes it again.
void ShowAndTake(const std::string& exe, const std::string& folder, DialogShown& shown) {
    driver::Program program;
    std::string why;
    ASSERT_TRUE(driver::StartProgram(WindowsPath(exe), folder, program, why)) << why;
    HWND box = driver::WaitForProcessWindow(program, driver::kDialogClass, kRecordPathCaption,
                                            driver::kWindowTimeoutMs);
    ASSERT_NE(box, nullptr) << exe << ": no message box";
    shown.boxText = driver::MessageBoxText(box);
    ASSERT_TRUE(driver::PressButton(box, IDOK));
    HWND dialog =
        driver::WaitForProcessWindow(program, driver::kDialogClass, kEntryDialogCaption, driver::kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr) << exe << ": no dialog after the box";

    GetWindowRect(dialog, &shown.window);
    EXPECT_TRUE(TakeSettledPicture(dialog, shown.window, shown.picture)) << exe << ": the picture did not settle";
    shown.clientCorner = driver::ClientCorner(dialog);
    shown.style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    shown.controls = ControlsOf(dialog);

    EXPECT_TRUE(driver::PressCloseBox(dialog));
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(driver::WaitForExit(program, driver::kExitTimeoutMs, exitCode)) << exe << ": still running";
}

bool NearbyColor(const Picture& picture, int x, int y, std::uint32_t color) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (picture.Inside(x + dx, y + dy) && picture.At(x + dx, y + dy) == color) return true;
        }
    }
    return false;
}

bool Inside(const RECT& area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

// A control whose right or bottom edge lies one pixel apart in the two dialogs: its
// rectangle in each, in the pictures' coordinates.
struct MovedEdge {
    RECT first;
    RECT second;
};

// Whether the two dialogs' different placing of an edge explains why the pictures
// differ at x, y: the pixel is covered by the control in one dialog only (a row or
// column more or less of it), or it lies in or next to the control and each picture has
// its colour within one pixel in the other (an edge line or a centred text moved by one).
bool ExplainedByAnEdge(const std::vector<MovedEdge>& moved, const Picture& first, const Picture& second, int x,
                       int y) {
    for (const MovedEdge& edge : moved) {
        if (Inside(edge.first, x, y) != Inside(edge.second, x, y)) return true;
        const RECT around{std::min(edge.first.left, edge.second.left) - 1,
                          std::min(edge.first.top, edge.second.top) - 1,
                          std::max(edge.first.right, edge.second.right) + 1,
                          std::max(edge.first.bottom, edge.second.bottom) + 1};
        if (Inside(around, x, y) && NearbyColor(second, x, y, first.At(x, y)) &&
            NearbyColor(first, x, y, second.At(x, y))) {
            return true;
        }
    }
    return false;
}

struct Comparison {
    int explained = 0;
    int unexplained = 0;
    Picture marks;  // the first picture with the differences marked
};

Comparison Compare(const Picture& first, const Picture& second, const std::vector<MovedEdge>& moved) {
    Comparison comparison;
    comparison.marks = first;
    for (int y = 0; y < first.height; ++y) {
        for (int x = 0; x < first.width; ++x) {
            if (first.At(x, y) == second.At(x, y)) continue;
            const bool explained = ExplainedByAnEdge(moved, first, second, x, y);
            (explained ? comparison.explained : comparison.unexplained) += 1;
            comparison.marks.At(x, y) = explained ? Pixel(255, 255, 0) : Pixel(255, 0, 255);
        }
    }
    return comparison;
}

TEST(SameUi, ShowsTheEntryDialogAsKobrantDoes) {
    const char* kobrantExe = std::getenv("KOBRANT_EXE");
    const char* sameUiExe = std::getenv("KOBRANT_SAME_UI_EXE");
    ASSERT_TRUE(kobrantExe != nullptr && sameUiExe != nullptr) << "run same_ui_tests through ctest";
    test::TestDirectory folder;
    DialogShown first, kobrant, sameUi;
    // The first start writes the settings file; the benchmark measures the later ones.
    ASSERT_NO_FATAL_FAILURE(ShowAndTake(kobrantExe, folder.Path(), first));
    ASSERT_NO_FATAL_FAILURE(ShowAndTake(kobrantExe, folder.Path(), kobrant));
    ASSERT_NO_FATAL_FAILURE(ShowAndTake(sameUiExe, folder.Path(), sameUi));

    EXPECT_EQ(sameUi.boxText, kobrant.boxText);
    EXPECT_EQ(Described(sameUi.window), Described(kobrant.window));
    EXPECT_EQ(sameUi.clientCorner.x, kobrant.clientCorner.x);
    EXPECT_EQ(sameUi.clientCorner.y, kobrant.clientCorner.y);
    EXPECT_EQ(sameUi.style, kobrant.style);

    ASSERT_EQ(sameUi.controls.size(), kobrant.controls.size());
    ASSERT_EQ(kobrant.controls.size(), 30u);
    const POINT client{kobrant.clientCorner.x - kobrant.window.left, kobrant.clientCorner.y - kobrant.window.top};
    std::vector<MovedEdge> moved;
    std::string movedIds;
    const auto inPicture = [&client](RECT rect) {
        OffsetRect(&rect, client.x, client.y);
        return rect;
    };
    for (std::size_t i = 0; i < kobrant.controls.size(); ++i) {
        const ControlShown& k = kobrant.controls[i];
        const ControlShown& s = sameUi.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(k.id));
        EXPECT_EQ(s.id, k.id);
        EXPECT_EQ(s.className, k.className);
        EXPECT_EQ(s.text, k.text);
        EXPECT_EQ(s.style, k.style);
        EXPECT_EQ(s.clientEdge, k.clientEdge);
        EXPECT_EQ(s.typingLimit, k.typingLimit);
        EXPECT_EQ(s.rect.left, k.rect.left) << Described(s.rect) << " against " << Described(k.rect);
        EXPECT_EQ(s.rect.top, k.rect.top) << Described(s.rect) << " against " << Described(k.rect);
        EXPECT_LE(std::abs(s.rect.right - k.rect.right), 1) << Described(s.rect) << " against " << Described(k.rect);
        EXPECT_LE(std::abs(s.rect.bottom - k.rect.bottom), 1) << Described(s.rect) << " against " << Described(k.rect);
        if (s.rect.right != k.rect.right || s.rect.bottom != k.rect.bottom) {
            moved.push_back({inPicture(k.rect), inPicture(s.rect)});
            movedIds += " " + std::to_string(k.id);
        }
    }

    ASSERT_EQ(sameUi.picture.width, kobrant.picture.width);
    ASSERT_EQ(sameUi.picture.height, kobrant.picture.height);
    ASSERT_GT(kobrant.picture.width, 0);
    // Not a blank screen: the dialog's cyan just inside its client area.
    EXPECT_EQ(kobrant.picture.At(client.x + 2, client.y + 2), Pixel(0, 255, 255));
    const Comparison comparison = Compare(kobrant.picture, sameUi.picture, moved);
    if (const char* pictureFolder = std::getenv("KOBRANT_PICTURE_FOLDER")) {
        const std::string pictures = WindowsPath(pictureFolder);
        SavePicture(kobrant.picture, pictures + "\\kobrant.bmp");
        SavePicture(sameUi.picture, pictures + "\\same_ui.bmp");
        SavePicture(comparison.marks, pictures + "\\differences.bmp");
    }
    std::printf("%d of %d pixels differ by one-pixel edges (controls%s), %d otherwise\n", comparison.explained,
                kobrant.picture.width * kobrant.picture.height, movedIds.c_str(), comparison.unexplained);
    EXPECT_EQ(comparison.unexplained, 0) << "pixels that differ for no reason (magenta in differences.bmp); "
                                         << comparison.explained << " differ by one-pixel edges";
}

}  // namespace
}  // namespace kobrant::bench
