#pragma once
// What the benchmark's two baseline programs share: the empty-dialog baseline's
// captions, which the benchmark driver looks for; the writer of their dialog templates
// in memory; and the answers they give as kobrant.exe's dialog host gives them.

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
        Styles(style, extendedStyle);
        Word(static_cast<WORD>(items));
        Place(place);
        Word(0);  // no menu
        Word(0);  // the system's dialog class
        Text(title);
        Word(fontPoints);
        Text(font);
    }
    // A control of a predefined class (by atom), with no creation data.
    void Item(DWORD style, DWORD extendedStyle, const int (&place)[4], int id, WORD atom, std::string_view text) {
        if ((at_ - start_) % 2 != 0) Word(0);
        Styles(style, extendedStyle);
        Place(place);
        for (WORD word : {static_cast<WORD>(id), WORD{0xFFFF}, atom}) Word(word);
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
    void Styles(DWORD style, DWORD extendedStyle) {
        for (DWORD value : {style, extendedStyle}) {
            Word(LOWORD(value));
            Word(HIWORD(value));
        }
    }
    void Place(const int (&place)[4]) {
        for (int value : place) Word(static_cast<WORD>(static_cast<short>(value)));
    }

    WORD* start_;
    WORD* at_;
};

// The dialog procedure's answers that both baselines give as kobrant.exe's host does:
// activation is answered, so the dialog manager neither saves nor restores the focus
// and no control gets it; the close box, Close and Alt+F4 end the dialog. False for a
// message left to the caller.
inline bool AnsweredAsTheHost(HWND dialog, UINT message, WPARAM wParam) {
    if (message == WM_ACTIVATE) return LOWORD(wParam) <= WA_CLICKACTIVE;
    if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
    DestroyWindow(dialog);
    return true;
}

}  // namespace kobrant::bench
