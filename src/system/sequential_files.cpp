#include "system/sequential_files.h"

#include <array>
#include <map>
#include <vector>

#include "system/error_codes.h"
#include "numbers/number_text.h"
#include "system/sequential_files_test_seam.h"
#include "system/system_files.h"

namespace kobrant {
namespace {

constexpr int kHighestFileNumber = 32767;  // file numbers are signed 16-bit
constexpr std::uint32_t kBlockSize = 128;

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char kBlank = ' ';
constexpr char kTab = '\t';
constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr char kCtrlZ = '\x1A';

enum class Mode { kInput, kOutput };

struct OpenFile {
    SystemHandle handle = kNoHandle;
    bool isDisk = false;
    Mode mode = Mode::kInput;
    // Input: the last block read, how many of its bytes are valid, and the read position.
    std::array<char, kBlockSize> block{};
    std::uint32_t blockCount = 0;
    std::uint32_t readPosition = 0;
    std::uint64_t bytesWritten = 0;  // output: for the tests (sequential_files_test_seam.h)
};

std::map<int, OpenFile>& FileTable() {
    static std::map<int, OpenFile> table;
    return table;
}

std::uint64_t gSystemWrites = 0;

void Fail(FileError& error, std::uint8_t code) {
    error.code = code;
    error.systemError = 0;
}

// Stores the code of a failed system call; true when the call succeeded.
bool Succeeded(SystemError systemError, FileError& error) {
    if (systemError == 0) return true;
    if (systemError == kSystemWrittenNotFlushed) {
        error.notYetOnDisk = true;
        return true;
    }
    Fail(error, FileErrorFromSystemError(systemError));
    error.systemError = systemError;
    return false;
}

// The open file under fileNumber in the mode the operation needs, or null with the
// code stored (52 not open, 54 the other mode).
OpenFile* FileFor(int fileNumber, Mode mode, FileError& error) {
    auto found = FileTable().find(fileNumber);
    if (found == FileTable().end()) {
        Fail(error, file_error::kNotOpen);
        return nullptr;
    }
    if (found->second.mode != mode) {
        Fail(error, file_error::kWrongMode);
        return nullptr;
    }
    return &found->second;
}

// ---- opening

bool IsBadFileName(std::string_view name) {
    return name.empty() || name.find_first_of("*?") != std::string_view::npos ||
           name.find('\0') != std::string_view::npos;
}

// After the system has opened a disk file: reading starts at its first block, or the
// file is emptied for writing.
SystemError PrepareDiskFile(OpenFile& file) {
    SystemError systemError = SystemSetPosition(file.handle, 0);
    if (systemError != 0) return systemError;
    if (file.mode == Mode::kOutput) return SystemCutAtPosition(file.handle);
    return SystemRead(file.handle, file.block.data(), kBlockSize, file.blockCount);
}

// The code with which an open is refused before the system is asked, or 0.
std::uint8_t OpenRefusal(std::string_view name, int fileNumber) {
    if (IsBadFileName(name)) return file_error::kBadFileName;
    if (fileNumber < 0 || fileNumber > kHighestFileNumber) return file_error::kNotOpen;
    if (FileTable().count(fileNumber) != 0) return file_error::kAlreadyOpen;
    return 0;
}

bool Open(std::string_view name, int fileNumber, OpenPurpose purpose, FileError& error) {
    const Mode mode = purpose == OpenPurpose::kInput ? Mode::kInput : Mode::kOutput;
    if (const std::uint8_t refusal = OpenRefusal(name, fileNumber); refusal != 0) {
        Fail(error, refusal);
        return false;
    }

    OpenFile file;
    file.mode = mode;
    if (!Succeeded(SystemOpen(name, purpose, file.handle), error)) return false;
    file.isDisk = SystemIsDiskFile(file.handle);
    if (file.isDisk && !Succeeded(PrepareDiskFile(file), error)) {
        SystemClose(file.handle);  // the open's own failure is the one to report
        return false;
    }
    FileTable().emplace(fileNumber, file);
    return true;
}

// ---- writing

// One system write. A write the system takes only in part is disk full for a disk
// file and a short device write for anything else.
bool WriteBytes(OpenFile& file, std::string_view bytes, FileError& error) {
    std::uint32_t written = 0;
    ++gSystemWrites;
    const auto size = static_cast<std::uint32_t>(bytes.size());
    if (!Succeeded(SystemWrite(file.handle, bytes.data(), size, written), error)) return false;
    file.bytesWritten += written;
    if (written < size) {
        Fail(error, file.isDisk ? file_error::kDiskFull : file_error::kShortDeviceWrite);
        return false;
    }
    return true;
}

// ---- reading

constexpr int kEnd = -1;

// The byte at the read position, or kEnd at the end of the data. The next block is
// read when the current one is used up; a block of 0 bytes is the end of the file.
int Peek(OpenFile& file, FileError& error) {
    if (file.readPosition >= file.blockCount) {
        file.readPosition = 0;
        file.blockCount = 0;
        if (!Succeeded(SystemRead(file.handle, file.block.data(), kBlockSize, file.blockCount), error)) {
            return kEnd;
        }
        if (file.blockCount == 0) return kEnd;
    }
    return static_cast<unsigned char>(file.block[file.readPosition]);
}

void Consume(OpenFile& file) { ++file.readPosition; }

void SkipBlanks(OpenFile& file, FileError& error) {
    while (Peek(file, error) == kBlank) Consume(file);
}

// Behind an item: blanks, TABs and LFs are skipped, then one comma, or one CR with an
// LF right behind it, is taken. Anything else begins the next item.
void TakeSeparators(OpenFile& file, FileError& error) {
    int next = Peek(file, error);
    while (next == kBlank || next == kTab || next == kLineFeed) {
        Consume(file);
        next = Peek(file, error);
    }
    if (next == kComma) {
        Consume(file);
    } else if (next == kReturn) {
        Consume(file);
        if (Peek(file, error) == kLineFeed) Consume(file);
    }
}

// Skips the blanks ahead of an item; false, with 62 stored, when no item begins there:
// at the end of the data or at a Ctrl-Z (which stays, so every later item ends here too).
bool ItemBegins(OpenFile& file, FileError& error) {
    SkipBlanks(file, error);
    const int first = Peek(file, error);
    if (first == kEnd || first == kCtrlZ) {
        Fail(error, file_error::kPastEnd);
        return false;
    }
    return true;
}

std::string ReadQuotedText(OpenFile& file, FileError& error) {
    std::string text;
    Consume(file);  // the opening quote
    for (int next = Peek(file, error); next != kEnd; next = Peek(file, error)) {
        Consume(file);
        if (next == kQuote) {
            TakeSeparators(file, error);
            break;
        }
        text.push_back(static_cast<char>(next));
    }
    return text;
}

std::string ReadPlainText(OpenFile& file, FileError& error) {
    std::string text;
    int next = Peek(file, error);
    while (next != kEnd && next != kComma && next != kReturn && next != kCtrlZ) {
        Consume(file);
        if (next != kTab && next != kLineFeed) text.push_back(static_cast<char>(next));
        next = Peek(file, error);
    }
    if (next == kComma || next == kReturn) TakeSeparators(file, error);
    return text;
}

constexpr std::size_t kMaxNumberLength = 255;

// The bytes of one number item, up to a comma, blank, CR, Ctrl-Z, the end, or the
// 255th byte; TABs and LFs are dropped.
std::string ReadNumberBytes(OpenFile& file, FileError& error) {
    std::string bytes;
    int next = Peek(file, error);
    while (bytes.size() < kMaxNumberLength && next != kEnd && next != kComma && next != kBlank &&
           next != kReturn && next != kCtrlZ) {
        Consume(file);
        if (next != kTab && next != kLineFeed) bytes.push_back(static_cast<char>(next));
        next = Peek(file, error);
    }
    if (bytes.size() < kMaxNumberLength && (next == kComma || next == kBlank || next == kReturn)) {
        TakeSeparators(file, error);
    }
    return bytes;
}

// ---- closing

// Cuts an output disk file at its position and closes it; the first failure's system
// error, or 0.
SystemError CloseOpenFile(const OpenFile& file) {
    SystemError cutError = 0;
    if (file.isDisk && file.mode == Mode::kOutput) cutError = SystemCutAtPosition(file.handle);
    const SystemError closeError = SystemClose(file.handle);
    return cutError != 0 ? cutError : closeError;
}

}  // namespace

bool OpenForInput(std::string_view name, int fileNumber, FileError& error) {
    return Open(name, fileNumber, OpenPurpose::kInput, error);
}

bool OpenForOutput(std::string_view name, int fileNumber, FileError& error) {
    return Open(name, fileNumber, OpenPurpose::kOutput, error);
}

bool OpenForNewOutput(std::string_view name, int fileNumber, FileError& error) {
    return Open(name, fileNumber, OpenPurpose::kNewOutput, error);
}

std::string FileInFolder(std::string_view folder, std::string_view name) {
    return std::string(folder) + std::string(SystemFolderSeparator()) + std::string(name);
}

void WriteQuotedText(int fileNumber, std::string_view text, FileError& error) {
    OpenFile* file = FileFor(fileNumber, Mode::kOutput, error);
    if (file == nullptr || !WriteBytes(*file, "\"", error)) return;
    if (!text.empty() && !WriteBytes(*file, text, error)) return;
    WriteBytes(*file, "\"", error);
}

void WriteSeparator(int fileNumber, FileError& error) {
    if (OpenFile* file = FileFor(fileNumber, Mode::kOutput, error)) WriteBytes(*file, ",", error);
}

void WriteNumber(int fileNumber, Extended value, FileError& error) {
    if (OpenFile* file = FileFor(fileNumber, Mode::kOutput, error)) {
        WriteBytes(*file, FormatFileNumber(value), error);
    }
}

void WriteText(int fileNumber, std::string_view text, FileError& error) {
    OpenFile* file = FileFor(fileNumber, Mode::kOutput, error);
    if (file != nullptr && !text.empty()) WriteBytes(*file, text, error);
}

void EndLine(int fileNumber, FileError& error) {
    if (OpenFile* file = FileFor(fileNumber, Mode::kOutput, error)) WriteBytes(*file, SystemLineEnd(), error);
}

std::string ReadTextItem(int fileNumber, FileError& error) {
    OpenFile* file = FileFor(fileNumber, Mode::kInput, error);
    if (file == nullptr || !ItemBegins(*file, error)) return std::string();
    if (Peek(*file, error) == kQuote) return ReadQuotedText(*file, error);
    return ReadPlainText(*file, error);
}

Extended ReadNumberItem(int fileNumber, FileError& error) {
    OpenFile* file = FileFor(fileNumber, Mode::kInput, error);
    if (file == nullptr || !ItemBegins(*file, error)) return {};
    return ParseNumber(ReadNumberBytes(*file, error));
}

void CloseFile(int fileNumber, FileError& error) {
    auto found = FileTable().find(fileNumber);
    if (found == FileTable().end()) return;
    const SystemError systemError = CloseOpenFile(found->second);
    FileTable().erase(found);
    Succeeded(systemError, error);
}

void CloseAllFiles(FileError& error) {
    SystemError firstError = 0;
    for (const auto& [number, file] : FileTable()) {
        const SystemError systemError = CloseOpenFile(file);
        if (systemError == kSystemWrittenNotFlushed) {
            Succeeded(systemError, error);  // written: no failure to report
        } else if (firstError == 0) {
            firstError = systemError;
        }
    }
    FileTable().clear();
    Succeeded(firstError, error);
}

void DeleteFiles(std::string_view pattern, FileError& error) {
    if (pattern.empty() || pattern.find('\0') != std::string_view::npos) {
        return Fail(error, file_error::kBadFileName);
    }
    std::string fullPattern(pattern);
    if (fullPattern.back() == ':' || fullPattern.back() == SystemFolderSeparator().back()) {
        fullPattern += "*.*";
    }

    std::vector<FoundFile> found;
    const SystemError findError = SystemFindFiles(fullPattern, found);
    if (found.empty()) {
        // No match at all is 53 whatever the system called it; a missing directory
        // stays 76.
        Fail(error, findError == 0 ? file_error::kFileNotFound : FileErrorFromSystemError(findError));
        return;
    }
    constexpr std::uint32_t kPassedOver = file_attribute::kHidden | file_attribute::kSystem |
                                          file_attribute::kVolumeLabel | file_attribute::kDirectory;
    for (const FoundFile& match : found) {
        if ((match.attributes & kPassedOver) != 0) continue;
        if (!Succeeded(SystemDelete(match.path), error)) return;
    }
    Succeeded(findError, error);
}

void DeleteBeforeRewrite(std::string_view name, FileError& error) {
    if (SystemOutputReplacesFile()) return;
    FileError deleteError;
    DeleteFiles(name, deleteError);
    if (deleteError.code != 0 && deleteError.code != file_error::kFileNotFound) error.code = deleteError.code;
}

std::uint64_t SystemWriteCount() { return gSystemWrites; }

std::uint64_t BytesWrittenTo(int fileNumber) {
    auto found = FileTable().find(fileNumber);
    return found == FileTable().end() ? 0 : found->second.bytesWritten;
}

}  // namespace kobrant
