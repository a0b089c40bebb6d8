#include "entry/bold_font.h"

#include <cstring>

#include "entry/entry_layout.h"

namespace kobrant {

static_assert(kBoldFontWeight == FW_BOLD);

HFONT MakeBoldFont(int points) {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    LOGFONTA font{};
    font.lfHeight = BoldFontHeight(pixelsPerInch, points);
    font.lfWeight = kBoldFontWeight;
    font.lfCharSet = ANSI_CHARSET;
    std::strncpy(font.lfFaceName, kBoldFontFace, sizeof font.lfFaceName - 1);
    return CreateFontIndirectA(&font);
}

}  // namespace kobrant
