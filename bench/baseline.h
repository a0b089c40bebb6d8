#pragma once
// What the benchmark's two baseline programs share: the empty-dialog baseline's captions,
// their dialog templates' writer, and the answers they give as kobrant.exe's host does.

#include "host/win32.h"

#include <cstddef>
#include <string_view>

namespace kobrant::bench {

inline constexpr char kBaselineBoxCaption[] = "Baseline";
inline constexpr char kBaselineDialogCaption[] = "Baseline dialog";

// A dialog template in memory, as 16-bit words: DLGTEMPLATE with its menu, class, title
// and font, then one DLGITEMTEMPLATE per control, each on a DWORD boundary. Texts are
// Windows-1252 bytes, each widened to one 16-bit character as the dialog host widens
// its title. A place is x, y, width and height in dialog units.
class TemplateWriter {
public:
    explicit TemplateWriter(WORD* start) : start_(start), at_(start) {}
    void Dialog(DWORD style, DWORD extendedStyle, int items, const int (&place)[4], std::string_view title,
                WORD fontPoints, std::string_view font) {
        Head(style, extendedStyle, place, items);
        Word(0);  // no menu
        Word(0);  // the system's dialog class
        Text(title);
        Word(fontPoints);
        Text(font);
    }
    // A control of a window class named by its name, with no creation data.
    void Item(DWORD style, DWORD extendedStyle, const int (&place)[4], int id, std::string_view windowClass,
              std::string_view text) {
        if ((at_ - start_) % 2 != 0) Word(0);
        Head(style, extendedStyle, place, -1);
        Word(static_cast<WORD>(id));
        Text(windowClass);
        Text(text);
        Word(0);
    }
    std::size_t Words() const { return static_cast<std::size_t>(at_ - start_); }

private:
    void Word(WORD word) { *at_++ = word; }
    void Text(std::string_view text) {
        for (char c : text) Word(static_cast<unsigned char>(c));
        Word(0);
    }
    // The styles, a dialog's number of items (none for an item) and the place.
    void Head(DWORD style, DWORD extendedStyle, const int (&place)[4], int items) {
        for (DWORD value : {style, extendedStyle}) {
            Word(LOWORD(value));
            Word(HIWORD(value));
        }
        if (items >= 0) Word(static_cast<WORD>(items));
        for (int value : place) Word(static_cast<WORD>(static_cast<short>(value)));
    }

    WORD* start_;
    WORD* at_;
};

// The answers both baselines give as kobrant.exe's host does (false for any other
// message): activation is answered, so the dialog manager neither saves nor restores
// the focus; the close box, Close and Alt+F4 end the dialog.
inline bool AnsweredAsTheHost(HWND dialog, UINT message, WPARAM wParam) {
    if (message == WM_ACTIVATE) return LOWORD(wParam) <= WA_CLICKACTIVE;
    if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
    DestroyWindow(dialog);
    return true;
}

}  // namespace kobrant::bench
