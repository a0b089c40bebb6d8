#include "host/dialog_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kobrant {
namespace {

// Reads the 16-bit word at a byte offset of the template.
std::uint16_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::uint32_t StyleOf(const std::vector<std::uint8_t>& bytes) {
    return WordAt(bytes, 0) | (std::uint32_t{WordAt(bytes, 2)} << 16);
}

// The title's characters, read from their fixed place up to the terminating zero.
std::vector<std::uint16_t> TitleOf(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint16_t> title;
    for (std::size_t offset = 22; WordAt(bytes, offset) != 0; offset += 2) {
        title.push_back(WordAt(bytes, offset));
    }
    return title;
}

TEST(DialogTemplate, LayoutByteForByte) {
    const std::vector<std::uint8_t> expected = {
        0xD4, 0x00, 0xCA, 0x84,  // style 0x94CA00D4 without WS_VISIBLE
        0x00, 0x00, 0x01, 0x00,  // extended style WS_EX_CONTROLPARENT
        0x00, 0x00,              // no items
        0x0A, 0x00,              // x 10
        0xFD, 0xFF,              // y -3
        0x77, 0x00,              // cx 119
        0x90, 0x00,              // cy 144
        0x00, 0x00,              // no menu
        0x00, 0x00,              // the system's dialog class
        0x57, 0x00, 0x78, 0x00, 0x00, 0x00,  // title "Wx"
        0x08, 0x00,                          // 8 points
        0x4D, 0x00, 0x53, 0x00, 0x20, 0x00, 0x53, 0x00, 0x61, 0x00, 0x6E, 0x00, 0x73, 0x00,
        0x20, 0x00, 0x53, 0x00, 0x65, 0x00, 0x72, 0x00, 0x69, 0x00, 0x66, 0x00, 0x00, 0x00,
        // "MS Sans Serif"
    };
    const std::vector<std::uint8_t> bytes = BuildDialogTemplate("Wx", 10, -3, 119, 144, 0x94CA00D4, 0x10000);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes.data()) % 4, 0u) << "the dialog manager needs DWORD alignment";
}

TEST(DialogTemplate, TitleIsWidenedByteByByte) {
    struct Case {
        std::string title;
        std::vector<std::uint16_t> expected;
    };
    const Case cases[] = {
        {"", {0x20}},  // an empty title shows one blank
        {" ", {0x20}},
        {"KOBRANT--V571", {'K', 'O', 'B', 'R', 'A', 'N', 'T', '-', '-', 'V', '5', '7', '1'}},
        {"B\xF6" "en ", {0x42, 0xF6, 0x65, 0x6E, 0x20}},  // high bytes stay as they are, trailing blank kept
        {"\x80\xFF", {0x80, 0xFF}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = BuildDialogTemplate(c.title, 1, 2, 3, 4, 0, 0);
        EXPECT_EQ(TitleOf(bytes), c.expected) << "title=\"" << c.title << "\"";
        // The font record follows the title's terminating zero.
        const std::size_t fontAt = 22 + 2 * (c.expected.size() + 1);
        EXPECT_EQ(WordAt(bytes, fontAt), 8) << "title=\"" << c.title << "\"";
        EXPECT_EQ(bytes.size(), fontAt + 2 + 28) << "title=\"" << c.title << "\"";
    }
}

TEST(DialogTemplate, PositionAndSizeKeepTheirLow16Bits) {
    struct Case {
        int x, y, width, height;
        std::uint16_t words[4];
    };
    const Case cases[] = {
        {0, 0, 119, 144, {0, 0, 119, 144}},
        {-1, -1, 10, 10, {0xFFFF, 0xFFFF, 10, 10}},
        {-32768, 32767, 1, 1, {0x8000, 0x7FFF, 1, 1}},
        {70000, -70000, 65535, 65536, {0x1170, 0xEE90, 0xFFFF, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> bytes = BuildDialogTemplate("t", c.x, c.y, c.width, c.height, 0, 0);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(WordAt(bytes, 10 + 2 * static_cast<std::size_t>(i)), c.words[i])
                << "x=" << c.x << " y=" << c.y << " width=" << c.width << " height=" << c.height
                << " field=" << i;
        }
    }
}

TEST(DialogTemplateStyle, HeaderExamples) {
    EXPECT_EQ(DialogTemplateStyle(0x94CA00D4, 10, 20), 0x84CA00D4u);
    EXPECT_EQ(DialogTemplateStyle(0x94CA00D4, -1, 20), 0x84CA08D4u);
    EXPECT_EQ(DialogTemplateStyle(0x00000002, 0, -1), 0x00000854u);
    EXPECT_EQ(TitleOf(BuildDialogTemplate("", 0, 0, 1, 1, 0, 0)), std::vector<std::uint16_t>{0x20});
}

TEST(DialogTemplateStyle, AddsRemovesAndCentres) {
    struct Case {
        std::uint32_t style;
        int x, y;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0x00000000, 0, 0, 0x00000054},      // the three flags always
        {0x10000000, 5, 5, 0x00000054},      // WS_VISIBLE out: the host shows the dialog itself
        {0x00000002, 5, 5, 0x00000054},      // DS_SYSMODAL out
        {0xFFFFFFFF, 5, 5, 0xEFFFFFFD},      // only those two bits go
        {0x00000000, -1, 7, 0x00000854},     // -1 in x centres
        {0x00000000, 7, -1, 0x00000854},     // -1 in y centres
        {0x00000000, -2, -2, 0x00000054},    // other negative values place the dialog
        {0x00000800, 3, 3, 0x00000854},      // a caller's DS_CENTER stays
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogTemplateStyle(c.style, c.x, c.y), c.expected)
            << std::hex << "style=0x" << c.style << std::dec << " x=" << c.x << " y=" << c.y;
        EXPECT_EQ(StyleOf(BuildDialogTemplate("t", c.x, c.y, 1, 1, c.style, 0)), c.expected)
            << std::hex << "style=0x" << c.style << std::dec << " x=" << c.x << " y=" << c.y;
    }
}

}  // namespace
}  // namespace kobrant
