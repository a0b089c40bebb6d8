#include "bench/terminal_baseline.h"

#include "terminal/form_layout.h"
#include "terminal/windows_1252.h"

namespace kobrant::bench {

std::string Utf8Of(const std::string& windows1252) {
    std::string utf8;
    for (const char byte : windows1252) {
        const char32_t c = UnicodeOf(static_cast<unsigned char>(byte));
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::vector<std::string> DialogFormArguments(const std::string& folder, const FieldTexts& texts) {
    // dialog draws its form in a box of its own inside the window's border: its column 1
    // is the window's fourth. One column more than the terminal form's, so that the
    // longest caption fits, and a window two columns wider, so that the units do.
    const auto column = [](int formColumn) { return std::to_string(formColumn - 1); };
    std::vector<std::string> arguments = {"--backtitle", Utf8Of(kRecordPathHeader) + " " + folder + "/WX-DATA.txt",
                                          "--title", kFormTitle, "--ok-label", "Enter", "--cancel-label", "CLEAR",
                                          "--form", "", std::to_string(kBoxHeight), std::to_string(kBoxWidth + 2),
                                          std::to_string(kFieldCount)};
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const std::string line = std::to_string(i + 1), caption = Utf8Of(kFieldRows[i].caption);
        const int captionLength = static_cast<int>(std::string(kFieldRows[i].caption).size());
        const std::string limit = kFields[i] == Field::Pressure ? "6" : "5";
        arguments.insert(arguments.end(), {caption, line, column(kCaptionEnd - captionLength), texts[i], line,
                                           column(kFieldLeft + 1), std::to_string(kFieldCells), limit});
        // A text that can't be edited (no cells, no characters): the unit.
        arguments.insert(arguments.end(), {Utf8Of(kFieldRows[i].unit), line, column(kUnitLeft), "", line,
                                           column(kUnitLeft), "0", "0"});
    }
    return arguments;
}

std::string SettingsLine(const FieldTexts& texts) {
    std::string line;
    for (const std::string& text : texts) line += "\"" + text + "\",";
    return line + "5,5\n";
}

}  // namespace kobrant::bench
