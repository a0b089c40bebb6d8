#pragma once
// The in-memory dialog template from which the dialog host builds every dialog: the
// classic DLGTEMPLATE layout of the Windows dialog manager (not the extended one),
// assembled as plain little-endian bytes, so that it is built and checked without a
// window system.
//
// The template holds no controls (the host adds them later as child windows) and
// always names the host font, 8 points "MS Sans Serif", so that dialog units are those
// of that font.
//
//   DialogTemplateStyle(0x94CA00D4, 10, 20) -> 0x84CA00D4   WS_VISIBLE taken out
//   DialogTemplateStyle(0x94CA00D4, -1, 20) -> 0x84CA08D4   and DS_CENTER for -1
//   DialogTemplateStyle(0x00000002, 0, -1)  -> 0x00000854   DS_SYSMODAL taken out
//   BuildDialogTemplate("", ...)            -> the title is one blank

#include <cstdint>
#include <string_view>
#include <vector>

namespace kobrant {

// The host font that every template names.
inline constexpr std::uint16_t kHostFontPoints = 8;
inline constexpr std::string_view kHostFontName = "MS Sans Serif";

// The window style that goes into the template for the caller's style: DS_SETFONT,
// DS_NOFAILCREATE and DS_3DLOOK always added, WS_VISIBLE (the host shows the dialog
// itself once it runs) and DS_SYSMODAL always removed, DS_CENTER added when x or y is
// -1.
std::uint32_t DialogTemplateStyle(std::uint32_t style, int x, int y);

// The template's bytes for a dialog with the given title (Windows-1252, each byte
// widened unchanged to one 16-bit character; an empty title becomes one blank),
// position and size in dialog units (each kept to its low 16 bits) and the caller's
// style, to which DialogTemplateStyle is applied here. The bytes start at an address
// from operator new, so they meet the dialog manager's DWORD alignment.
std::vector<std::uint8_t> BuildDialogTemplate(std::string_view title, int x, int y, int width,
                                              int height, std::uint32_t style,
                                              std::uint32_t extendedStyle);

}  // namespace kobrant
