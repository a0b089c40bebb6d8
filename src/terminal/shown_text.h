#pragma once
// How texts are shown in the terminal, in the encoding of the locale that setlocale
// chose before curses started (UTF-8 on most systems; ASCII under the C locale).
//
// The examples below are replayed by ShownText.CommentExamples (under a UTF-8 locale
// and under the C locale).
//   ShownFieldText("B\xF6" "e")   -> L"B\u00F6e"          C locale: L"B?e"
//   ShownFieldText("a\x01\x81")   -> L"a\uFFFD\uFFFD"     C locale: L"a??"
//   ShownFixedText("B\xF6" "en")  -> L"B\u00F6en"         C locale: L"Boeen"
//   ShownSystemText("/srv/K\xC3\xA4" "lte") -> L"/srv/K\u00E4lte"   (UTF-8 locale)
//   LocaleBytes("zur\xFC" "ck")   -> "zur\xC3\xBC" "ck"   C locale: "zurueck"

#include <string>
#include <string_view>

namespace kobrant {

// A field text, one character for each byte so that the cursor stays on its byte.
// A byte that Windows-1252 leaves undefined, a control character, and a character the
// locale can't show are shown as the stand-in (kStandIn, or "?" where the locale can't
// show that either); the bytes themselves stay as they are.
std::wstring ShownFieldText(std::string_view windows1252);
inline constexpr wchar_t kStandIn = L'\uFFFD';

// One of the form's own texts (Windows-1252): letters the locale can't show are spelled
// in ASCII (\xF6 as oe, \xDF as ss), anything else it can't show as "?".
std::wstring ShownFixedText(std::string_view windows1252);

// Bytes in the locale's own encoding, as the system gives a path: decoded, with a
// stand-in for each byte that does not decode.
std::wstring ShownSystemText(std::string_view bytes);

// One of the program's texts (Windows-1252) in the locale's encoding, for standard
// output and standard error.
std::string LocaleBytes(std::string_view windows1252);

// Shown characters (from the functions above) in the locale's encoding.
std::string LocaleBytesOf(std::wstring_view shown);

// The terminal columns a shown text takes (wide characters two), and its end that fits
// in `width` columns.
//   ShownColumns(L"ab\u6771") -> 4        LastColumns(L"ab\u6771", 3) -> L"b\u6771"
std::size_t ShownColumns(std::wstring_view shown);
std::wstring LastColumns(std::wstring_view shown, std::size_t width);

// Whether the locale can show the character.
bool LocaleShows(wchar_t character);

}  // namespace kobrant
