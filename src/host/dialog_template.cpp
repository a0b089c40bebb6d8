#include "host/dialog_template.h"

namespace kobrant {

namespace {

// The style bits the template rules touch, with their Windows values (this file
// builds without the Windows headers).
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kDsSysModal = 0x00000002;
constexpr std::uint32_t kDs3dLook = 0x00000004;
constexpr std::uint32_t kDsNoFailCreate = 0x00000010;
constexpr std::uint32_t kDsSetFont = 0x00000040;
constexpr std::uint32_t kDsCenter = 0x00000800;

void PutWord(std::vector<std::uint8_t>& bytes, std::uint16_t word) {
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
}

void PutDoubleWord(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    PutWord(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    PutWord(bytes, static_cast<std::uint16_t>(value >> 16));
}

// A coordinate keeps its low 16 bits: the template's fields are 16-bit.
void PutCoordinate(std::vector<std::uint8_t>& bytes, int value) {
    PutWord(bytes, static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF));
}

// Each byte becomes one 16-bit character of the same value, then a terminating zero.
void PutWidenedText(std::vector<std::uint8_t>& bytes, std::string_view text) {
    for (char c : text) PutWord(bytes, static_cast<unsigned char>(c));
    PutWord(bytes, 0);
}

}  // namespace

std::uint32_t DialogTemplateStyle(std::uint32_t style, int x, int y) {
    style |= kDsSetFont | kDsNoFailCreate | kDs3dLook;
    style &= ~(kWsVisible | kDsSysModal);
    if (x == -1 || y == -1) style |= kDsCenter;
    return style;
}

std::vector<std::uint8_t> BuildDialogTemplate(std::string_view title, int x, int y, int width,
                                              int height, std::uint32_t style,
                                              std::uint32_t extendedStyle) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(64 + 2 * title.size());
    PutDoubleWord(bytes, DialogTemplateStyle(style, x, y));
    PutDoubleWord(bytes, extendedStyle);
    PutWord(bytes, 0);  // number of items: controls come later as child windows
    PutCoordinate(bytes, x);
    PutCoordinate(bytes, y);
    PutCoordinate(bytes, width);
    PutCoordinate(bytes, height);
    PutWord(bytes, 0);  // no menu
    PutWord(bytes, 0);  // the system's dialog class
    PutWidenedText(bytes, title.empty() ? std::string_view(" ") : title);
    PutWord(bytes, kHostFontPoints);
    PutWidenedText(bytes, kHostFontName);
    return bytes;
}

}  // namespace kobrant
