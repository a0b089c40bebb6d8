#include "terminal/shown_text.h"

#include <climits>
#include <cwchar>
#include <cwctype>

#include "terminal/windows_1252.h"

namespace kobrant {
namespace {

wchar_t StandIn() { return LocaleShows(kStandIn) ? kStandIn : L'?'; }

bool IsControl(char32_t character) { return character < 0x20 || character == 0x7F; }

// The ASCII spelling of the German letters, for a locale that can't show them.
std::wstring_view AsciiSpelling(char32_t character) {
    switch (character) {
    case U'\u00E4': return L"ae";
    case U'\u00F6': return L"oe";
    case U'\u00FC': return L"ue";
    case U'\u00C4': return L"Ae";
    case U'\u00D6': return L"Oe";
    case U'\u00DC': return L"Ue";
    case U'\u00DF': return L"ss";
    default: return L"?";
    }
}

}  // namespace

bool LocaleShows(wchar_t character) {
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    return std::wcrtomb(bytes, character, &state) != static_cast<std::size_t>(-1) && std::iswprint(static_cast<wint_t>(character));
}

std::wstring ShownFieldText(std::string_view windows1252) {
    std::wstring shown;
    for (char byte : windows1252) {
        const char32_t character = UnicodeOf(static_cast<unsigned char>(byte));
        const auto wide = static_cast<wchar_t>(character);
        const bool showable = character != 0 && !IsControl(character) && LocaleShows(wide);
        shown.push_back(showable ? wide : StandIn());
    }
    return shown;
}

std::wstring ShownFixedText(std::string_view windows1252) {
    std::wstring shown;
    for (char byte : windows1252) {
        const char32_t character = UnicodeOf(static_cast<unsigned char>(byte));
        const auto wide = static_cast<wchar_t>(character);
        if (IsControl(character) || LocaleShows(wide)) {  // a line end of a message stays
            shown.push_back(wide);
        } else {
            shown += AsciiSpelling(character);
        }
    }
    return shown;
}

std::wstring ShownSystemText(std::string_view bytes) {
    std::wstring shown;
    std::mbstate_t state{};
    std::size_t at = 0;
    while (at < bytes.size()) {
        wchar_t character = 0;
        const std::size_t used = std::mbrtowc(&character, bytes.data() + at, bytes.size() - at, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) || used == 0) {
            shown.push_back(StandIn());
            state = std::mbstate_t{};
            ++at;
            continue;
        }
        shown.push_back(std::iswprint(static_cast<wint_t>(character)) ? character : StandIn());
        at += used;
    }
    return shown;
}

std::string LocaleBytes(std::string_view windows1252) { return LocaleBytesOf(ShownFixedText(windows1252)); }

std::size_t ShownColumns(std::wstring_view shown) {
    std::size_t used = 0;
    for (wchar_t character : shown) {
        const int width = wcwidth(character);
        used += width < 0 ? 1 : static_cast<std::size_t>(width);
    }
    return used;
}

std::wstring LastColumns(std::wstring_view shown, std::size_t width) {
    std::size_t used = 0, first = shown.size();
    while (first > 0) {
        const int characterWidth = wcwidth(shown[first - 1]);
        const std::size_t cells = characterWidth < 0 ? 1 : static_cast<std::size_t>(characterWidth);
        if (used + cells > width) break;
        used += cells;
        --first;
    }
    return std::wstring(shown.substr(first));
}

std::string LocaleBytesOf(std::wstring_view shown) {
    std::string bytes;
    for (wchar_t character : shown) {
        char encoded[MB_LEN_MAX];
        std::mbstate_t state{};
        const std::size_t length = std::wcrtomb(encoded, character, &state);
        if (length != static_cast<std::size_t>(-1)) bytes.append(encoded, length);
    }
    return bytes;
}

}  // namespace kobrant
