// The two bold fonts of the entry dialog ("Enter" 14 points, the web address 12): their
// pixel height follows the screen's dots per inch, the division truncated.

#include <gtest/gtest.h>

#include <string>

#include "entry/entry_dialog.h"

namespace kobrant {
namespace {

TEST(BoldFont, HeightFollowsTheScreenTruncated) {
    struct Case {
        int dpi, points, height;
    };
    const Case cases[] = {
        {96, 14, -18}, {96, 12, -16}, {120, 14, -23}, {120, 12, -20}, {144, 14, -28}, {144, 12, -24},
        {100, 14, -19},  // 19.44 pixels: truncated, not rounded
        {110, 12, -18},  // 18.33
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BoldFontHeight(c.dpi, c.points), c.height) << "dpi=" << c.dpi << " points=" << c.points;
    }
}

TEST(BoldFont, IsBoldMsSansSerifOfTheScreensHeight) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int points : {14, 12}) {
        HFONT font = MakeBoldFont(points);
        ASSERT_NE(font, nullptr) << "points=" << points;
        LOGFONTA made{};
        ASSERT_EQ(GetObjectA(font, sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfHeight, BoldFontHeight(dpi, points)) << "points=" << points << " dpi=" << dpi;
        EXPECT_EQ(made.lfWeight, FW_BOLD);
        EXPECT_EQ(made.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(made.lfItalic || made.lfUnderline || made.lfStrikeOut);
        EXPECT_EQ(std::string(made.lfFaceName), "MS Sans Serif");
        EXPECT_TRUE(DeleteObject(font));
    }
}

}  // namespace
}  // namespace kobrant
