// The release zip as an operator gets it. CTest unpacks it (release/release_folder.sh)
// into a fresh folder "<base>\Wetter Station\Ä", whose path holds a blank and a letter
// outside ASCII, and names <base> in KOBRANT_RELEASE_FOLDER. The unpacked kobrant.exe
// is started there as an operator starts it: the box is answered, the worked example
// typed, "Enter" pressed, and both files compared byte for byte. The exe's version
// resource, its icon and the Windows functions it imports are checked as well.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "host/dialog_host.h"
#include "host/dialog_units.h"
#include "support/worked_example.h"

namespace kobrant {
namespace {

using driver::kExitTimeoutMs;
using driver::kWindowTimeoutMs;

// The folder the zip was unpacked into: a blank, and Ä as Windows-1252 has it.
constexpr char kUnpackedFolder[] = "Wetter Station\\\xC4";

const std::vector<std::string> kZipFiles = {"LICENSE", "LIESMICH.txt", "README.txt", "SHA256SUMS",
                                              "kobrant-beacon.exe", "kobrant.exe"};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : WindowsPath(value);
}

std::string ReleaseFolder() {
    const std::string base = Environment("KOBRANT_RELEASE_FOLDER");
    return base.empty() ? base : base + "\\" + kUnpackedFolder;
}

std::vector<std::string> SortedEntries(const std::string& folder) {
    std::vector<std::string> names = driver::FolderEntries(folder + "\\*");
    std::sort(names.begin(), names.end());
    return names;
}

// The position "Enter" saves for the program's dialog: its client area's corner in
// dialog units of the dialog font, measured with a hidden dialog of the same template
// made here by the program's own dialog host. (The system may have moved the dialog
// from the new settings file's 5, 5 to keep its caption on the screen.)
bool SavedPosition(HWND programDialog, int& left, int& top) {
    constexpr DWORD kDialogStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                   DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
    HWND measure = BuildDialog(nullptr, "units", 0, 0, 119, 144, kDialogStyle, WS_EX_CONTROLPARENT);
    if (measure == nullptr) return false;
    RECT scale{0, 0, 1024, 1024};
    const bool mapped = MapDialogRect(measure, &scale) != FALSE;
    DestroyWindow(measure);
    if (!mapped) return false;
    const POINT corner = driver::ClientCorner(programDialog);
    left = DialogUnitsFromPixels(corner.x, scale.right - scale.left);
    top = DialogUnitsFromPixels(corner.y, scale.bottom - scale.top);
    return true;
}

class ReleaseZip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("KOBRANT_RELEASE_FOLDER").empty())
            << "KOBRANT_RELEASE_FOLDER is not set: run release_tests through ctest, which unpacks the zip";
        // The folder's last letter is 0xC4 in the ANSI code page; that is Ä only in
        // Windows-1252 (Wine takes the code page from the Unix locale).
        ASSERT_EQ(GetACP(), 1252u) << "the ANSI code page is not Windows-1252";
        folder_ = ReleaseFolder();
        exe_ = folder_ + "\\kobrant.exe";
    }

    std::string folder_;
    std::string exe_;
};

// The smoke test: the worked example typed into the unpacked program. (The only case
// that starts it: the folder must hold nothing but the zip's files before.)
TEST_F(ReleaseZip, UnpackedProgramWritesTheWorkedExample) {
    ASSERT_EQ(SortedEntries(folder_), kZipFiles) << "the unpacked folder " << folder_;

    driver::Program program;
    std::string why;
    ASSERT_TRUE(driver::StartProgram(exe_, folder_, program, why)) << why;
    HWND box = driver::WaitForProcessWindow(program, driver::kDialogClass, kRecordPathCaption, kWindowTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box \"" << kRecordPathCaption << "\"";
    EXPECT_EQ(driver::MessageBoxText(box), folder_ + "\\WX-DATA.txt");
    ASSERT_TRUE(driver::PressButton(box, IDOK));
    HWND dialog = driver::WaitForProcessWindow(program, driver::kDialogClass, kEntryDialogCaption, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "no dialog \"" << kEntryDialogCaption << "\" after the box";
    HWND clear = GetDlgItem(dialog, kClearButtonId);
    ASSERT_TRUE(driver::Settle(clear));

    // The dialog stays as it was: the icon is the program file's, the dialog has none.
    EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0) << "the dialog has a large icon";
    EXPECT_EQ(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0) << "the dialog has a small icon";
    EXPECT_EQ(GetClassLongPtrA(dialog, GCLP_HICON), 0u) << "the dialog's class has an icon";

    // The operator empties the fields (a new settings file filled them with zeros),
    // then types the nine values of the worked example, decimal commas included.
    namespace example = test::worked_example;
    const std::vector<std::string> typed(example::kTyped.begin(), example::kTyped.end());
    ASSERT_TRUE(driver::PressButton(dialog, kClearButtonId));
    for (std::size_t field = 0; field < typed.size(); ++field) {
        ASSERT_TRUE(driver::TypeChars(GetDlgItem(dialog, kFirstEditFieldId + static_cast<int>(field)), typed[field]));
    }
    ASSERT_TRUE(driver::Settle(clear));
    for (std::size_t field = 0; field < typed.size(); ++field) {
        EXPECT_EQ(driver::WindowText(GetDlgItem(dialog, kFirstEditFieldId + static_cast<int>(field))), typed[field]);
    }

    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    ASSERT_TRUE(driver::PressButton(dialog, kEnterButtonId));
    ASSERT_TRUE(driver::Settle(clear));
    GetLocalTime(&after);

    int left = 0, top = 0;
    ASSERT_TRUE(SavedPosition(dialog, left, top));
    EXPECT_EQ(driver::ReadWholeFile(folder_ + "\\kobrant.ctl"),
              example::kSettingsTexts + std::to_string(left) + "," + std::to_string(top) + "\r\n");
    // The timestamp of the local clock at "Enter", on either side of a minute.
    const std::string dataLine = example::kDataLine + "\r\n";
    const std::string early = driver::RecordTimestamp(before) + "\r\n" + dataLine;
    const std::string late = driver::RecordTimestamp(after) + "\r\n" + dataLine;
    const std::string record = driver::ReadWholeFile(folder_ + "\\WX-DATA.txt");
    EXPECT_TRUE(record == early || record == late) << "WX-DATA.txt:\n" << record << "expected:\n" << early;

    std::vector<std::string> expected = kZipFiles;
    expected.insert(expected.end(), {"WX-DATA.txt", "kobrant.ctl"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedEntries(folder_), expected) << "nothing but the two files is written";

    EXPECT_TRUE(driver::PressCloseBox(dialog));
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(driver::WaitForExit(program, kExitTimeoutMs, exitCode)) << "still running after the close box";
    EXPECT_EQ(exitCode, 0u);
}

std::string VersionText(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040704E4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || value == nullptr) {
        return "<none>";
    }
    return std::string(value, strnlen(value, length));
}

// Version information in German with code page 1252, as Explorer shows it.
TEST_F(ReleaseZip, ProgramCarriesItsVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe_.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << exe_;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe_.c_str(), 0, size, info.data()));

    struct Translation {
        WORD language, codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, sizeof(Translation));
    EXPECT_EQ(translation->language, 0x0407);
    EXPECT_EQ(translation->codePage, 1252);

    EXPECT_EQ(VersionText(info, "ProductName"), "KOBRANT");
    EXPECT_EQ(VersionText(info, "FileDescription"), "KOBRANT Wetterdaten-Eingabe (APRS-Wetterbericht)");
    EXPECT_EQ(VersionText(info, "FileVersion"), KOBRANT_VERSION);
    EXPECT_EQ(VersionText(info, "ProductVersion"), KOBRANT_VERSION);
    EXPECT_EQ(VersionText(info, "LegalCopyright"), "Copyright \xA9 2026 The KOBRANT developers (MIT-Lizenz)");
    EXPECT_EQ(VersionText(info, "OriginalFilename"), "kobrant.exe");

    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    char version[32];
    std::snprintf(version, sizeof version, "%u.%u.%u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                  static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                  static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)));
    EXPECT_EQ(std::string(version), KOBRANT_VERSION);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// One image of an icon file: its size and its bytes.
struct IconImage {
    int width = 0, height = 0, bits = 0;
    std::string bytes;
};

std::vector<IconImage> ImagesOfIconFile(const std::string& file) {
    std::vector<IconImage> images;
    auto byte = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(file[at])); };
    auto word = [&](std::size_t at) { return byte(at) | byte(at + 1) << 8; };
    auto dword = [&](std::size_t at) { return word(at) | word(at + 2) << 16; };
    if (file.size() < 6 || word(0) != 0 || word(2) != 1) return images;
    for (unsigned i = 0; i < word(4); ++i) {
        const std::size_t entry = 6 + 16 * i;
        if (entry + 16 > file.size()) return {};
        IconImage image;
        image.width = static_cast<unsigned char>(file[entry]);
        image.height = static_cast<unsigned char>(file[entry + 1]);
        image.bits = static_cast<int>(word(entry + 6));
        const std::size_t size = dword(entry + 8), offset = dword(entry + 12);
        if (offset + size > file.size()) return {};
        image.bytes = file.substr(offset, size);
        images.push_back(image);
    }
    return images;
}

// The icon group 1, the first of the file, which Explorer and the task bar show: the
// images of src/app/kobrant.ico, 16, 32 and 48 pixels of 32 bits.
TEST_F(ReleaseZip, ProgramCarriesTheIcon) {
    const std::string iconFile = driver::ReadWholeFile(Environment("KOBRANT_ICON_FILE"));
    const std::vector<IconImage> expected = ImagesOfIconFile(iconFile);
    ASSERT_EQ(expected.size(), 3u) << "kobrant.ico: " << Environment("KOBRANT_ICON_FILE");

    HMODULE module = LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << exe_;
    HRSRC groupResource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(groupResource, nullptr) << "no icon group 1";
    const auto* group = static_cast<const unsigned char*>(LockResource(LoadResource(module, groupResource)));
    ASSERT_NE(group, nullptr);
    auto word = [](const unsigned char* at) { return static_cast<unsigned>(at[0] | at[1] << 8); };
    ASSERT_EQ(word(group + 2), 1u) << "type: icon";
    ASSERT_EQ(word(group + 4), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const unsigned char* entry = group + 6 + 14 * i;  // GRPICONDIRENTRY
        EXPECT_EQ(entry[0], expected[i].width);
        EXPECT_EQ(entry[1], expected[i].height);
        EXPECT_EQ(static_cast<int>(word(entry + 6)), expected[i].bits);
        const WORD imageId = static_cast<WORD>(word(entry + 12));
        HRSRC imageResource = FindResourceA(module, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));  // RT_ICON
        ASSERT_NE(imageResource, nullptr);
        const DWORD size = SizeofResource(module, imageResource);
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, imageResource)));
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(std::string(bytes, size), expected[i].bytes) << "image " << i << " differs from kobrant.ico";
    }
    FreeLibrary(module);

    for (int size : {16, 32, 48}) {
        HMODULE program = LoadLibraryExA(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program, nullptr);
        HANDLE icon = LoadImageA(program, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size << " pixels";
        if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
        FreeLibrary(program);
    }
}

// The PE file's headers and the functions it imports, read from the file.
struct ProgramFile {
    bool read = false;
    WORD machine = 0, magic = 0, subsystem = 0, subsystemMajor = 0, subsystemMinor = 0;
    std::set<std::string> imports;  // "DLL function", the DLL as the file names it
};

ProgramFile ReadProgramFile(const std::string& bytes) {
    ProgramFile program;
    auto fits = [&](std::size_t at, std::size_t size) { return at <= bytes.size() && size <= bytes.size() - at; };
    auto get16 = [&](std::size_t at) -> WORD {
        WORD value = 0;
        if (fits(at, 2)) std::memcpy(&value, bytes.data() + at, 2);
        return value;
    };
    auto get32 = [&](std::size_t at) -> DWORD {
        DWORD value = 0;
        if (fits(at, 4)) std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    auto text = [&](std::size_t at) {
        std::string s;
        while (at < bytes.size() && bytes[at] != '\0') s += bytes[at++];
        return s;
    };
    if (get16(0) != IMAGE_DOS_SIGNATURE) return program;
    const std::size_t nt = get32(0x3C);
    if (get32(nt) != IMAGE_NT_SIGNATURE) return program;
    const std::size_t fileHeader = nt + 4;
    program.machine = get16(fileHeader);
    const WORD sections = get16(fileHeader + 2);
    const WORD optionalSize = get16(fileHeader + 16);
    const std::size_t optional = fileHeader + 20;
    program.magic = get16(optional);
    if (program.magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return program;
    program.subsystemMajor = get16(optional + offsetof(IMAGE_OPTIONAL_HEADER64, MajorSubsystemVersion));
    program.subsystemMinor = get16(optional + offsetof(IMAGE_OPTIONAL_HEADER64, MinorSubsystemVersion));
    program.subsystem = get16(optional + offsetof(IMAGE_OPTIONAL_HEADER64, Subsystem));
    const std::size_t directories = optional + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
    const DWORD importRva = get32(directories + IMAGE_DIRECTORY_ENTRY_IMPORT * 8);
    const std::size_t sectionTable = optional + optionalSize;
    // The file offset of a relative virtual address, through the section table.
    auto offsetOf = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < sections; ++i) {
            const std::size_t section = sectionTable + 40u * i;
            const DWORD address = get32(section + 12), rawSize = get32(section + 16), rawOffset = get32(section + 20);
            if (rva >= address && rva < address + rawSize) return rawOffset + (rva - address);
        }
        return bytes.size();
    };
    for (std::size_t descriptor = offsetOf(importRva); fits(descriptor, 20) && get32(descriptor + 12) != 0;
         descriptor += 20) {
        const std::string dll = text(offsetOf(get32(descriptor + 12)));
        const DWORD thunks = get32(descriptor) != 0 ? get32(descriptor) : get32(descriptor + 16);
        for (std::size_t thunk = offsetOf(thunks); fits(thunk, 8); thunk += 8) {
            const unsigned long long entry = get32(thunk) | static_cast<unsigned long long>(get32(thunk + 4)) << 32;
            if (entry == 0) break;
            if (entry & IMAGE_ORDINAL_FLAG64) {
                program.imports.insert(dll + " #" + std::to_string(entry & 0xFFFF));
            } else {
                program.imports.insert(dll + " " + text(offsetOf(static_cast<DWORD>(entry)) + 2));
            }
        }
    }
    program.read = true;
    return program;
}

// The functions docs/release.md lists, with the oldest Windows each needs: the table
// rows whose first cell is a DLL ("| KERNEL32.dll | GetTickCount64 | Windows Vista |").
std::set<std::string> CheckedImports(const std::string& document) {
    std::set<std::string> checked;
    std::size_t start = 0;
    while (start < document.size()) {
        std::size_t end = document.find('\n', start);
        if (end == std::string::npos) end = document.size();
        const std::string line = document.substr(start, end - start);
        start = end + 1;
        if (line.rfind("| ", 0) != 0) continue;
        std::vector<std::string> cells;
        std::size_t cell = 1;
        while (cell < line.size()) {
            std::size_t bar = line.find('|', cell);
            if (bar == std::string::npos) break;
            std::string text = line.substr(cell, bar - cell);
            text.erase(std::remove(text.begin(), text.end(), '`'), text.end());
            const auto first = text.find_first_not_of(' ');
            const auto last = text.find_last_not_of(' ');
            cells.push_back(first == std::string::npos ? "" : text.substr(first, last - first + 1));
            cell = bar + 1;
        }
        if (cells.size() >= 3 && cells[0].size() > 4 && cells[0].substr(cells[0].size() - 4) == ".dll") {
            checked.insert(cells[0] + " " + cells[1]);
        }
    }
    return checked;
}

// A 64-bit Windows GUI program whose imports are exactly the functions whose oldest
// Windows docs/release.md gives, so that the operator texts' "Windows Vista or later"
// holds for every build that passes.
TEST_F(ReleaseZip, ProgramImportsOnlyTheCheckedWindowsFunctions) {
    const ProgramFile program = ReadProgramFile(driver::ReadWholeFile(exe_));
    ASSERT_TRUE(program.read) << exe_ << " is no 64-bit PE file";
    EXPECT_EQ(program.machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(program.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    // Left at the linker's 5.2: on Windows Vista and later a program marked 6.0 or
    // higher gets other window frame sizes, and the dialog must stay as it is.
    EXPECT_EQ(program.subsystemMajor, 5);
    EXPECT_EQ(program.subsystemMinor, 2);

    const std::string document = driver::ReadWholeFile(Environment("KOBRANT_RELEASE_DOC"));
    const std::set<std::string> checked = CheckedImports(document);
    ASSERT_FALSE(checked.empty()) << "no table of imports in " << Environment("KOBRANT_RELEASE_DOC");
    std::string unchecked, gone;
    for (const std::string& import : program.imports) {
        if (checked.count(import) == 0) unchecked += "\n  " + import;
    }
    for (const std::string& import : checked) {
        if (program.imports.count(import) == 0) gone += "\n  " + import;
    }
    EXPECT_TRUE(unchecked.empty()) << "kobrant.exe imports functions docs/release.md does not list; look up the "
                                      "oldest Windows of each in Microsoft's documentation and add them:"
                                   << unchecked;
    EXPECT_TRUE(gone.empty()) << "docs/release.md lists functions kobrant.exe no longer imports:" << gone;
}

}  // namespace
}  // namespace kobrant
