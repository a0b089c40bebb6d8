#pragma once
// Windows-1252, the encoding of every field text and file, and Unicode, the terminal's
// characters: one byte is one character.
//
// The examples below are replayed by Windows1252.CommentExamples.
//   UnicodeOf('A') -> U'A'          UnicodeOf(0xE4) -> U'\u00E4' (a umlaut)
//   UnicodeOf(0x80) -> U'\u20AC'    UnicodeOf(0x81) -> 0      (one of the five undefined bytes)
//   Windows1252Of(U'\u00E4') -> 0xE4    Windows1252Of(U'\u20AC') -> 0x80
//   Windows1252Of(U'\u0142') -> -1  (no such character)    Windows1252Of(0x81) -> -1

namespace kobrant {

// The character a byte stands for; 0 for the bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D). The bytes below 0x80 and from 0xA0 on are their own
// code points.
char32_t UnicodeOf(unsigned char byte);

// The byte of a character, or -1 when Windows-1252 has none for it.
int Windows1252Of(char32_t character);

}  // namespace kobrant
