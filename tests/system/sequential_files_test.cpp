#include "system/sequential_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "system/error_codes.h"
#include "numbers/extended_test_support.h"
#include "support/files.h"
#include "system/sequential_files_test_seam.h"

namespace kobrant {
namespace {

using test::MakeDirectory;
using test::ReadBytes;
using test::TestDirectory;
using test::WriteBytes;

// Every test starts and ends with nothing open.
class SequentialFiles : public ::testing::Test {
protected:
    void TearDown() override {
        FileError ignored;
        CloseAllFiles(ignored);
    }
    // True when the number names no open file: a read and a write both give 52.
    static bool NothingOpenUnder(int fileNumber) {
        FileError read, write;
        ReadTextItem(fileNumber, read);
        WriteText(fileNumber, "x", write);
        return read.code == file_error::kNotOpen && write.code == file_error::kNotOpen;
    }
    TestDirectory dir;
};

// The rows of the error table, read row by row: catches a slip in the lookup table.
TEST(FileErrorFromSystemError, FollowsTheTable) {
    struct Case {
        std::uint8_t code;
        std::vector<std::uint32_t> systemErrors;
    } cases[] = {
        {0, {0}},
        {5, {87}},
        {7, {8, 14}},
        {51, {6, 11, 12, 13, 22, 24}},
        {53, {2, 18}},
        {61, {39, 112}},
        {62, {38}},
        {67, {4}},
        {68, {15, 20}},
        {70, {5, 19, 32, 33, 36}},
        {71, {21}},
        {72, {23, 25, 26, 27, 28, 29, 30, 31, 34, 35}},
        {74, {17}},
        {75, {1, 16, 37, 40, 80, 86, 88, 111, 113, 123, 183, 206, 1921, 0xFFFFFFFF}},
        {76, {3}},
        {241, {7, 9, 10}},
    };
    for (const Case& c : cases) {
        for (std::uint32_t systemError : c.systemErrors) {
            EXPECT_EQ(FileErrorFromSystemError(systemError), c.code) << "system error " << systemError;
        }
    }
}

TEST_F(SequentialFiles, FailedOpensLeaveTheirCodeAndNothingOpen) {
    WriteBytes(dir.File("plain.txt"), "data");
    MakeDirectory(dir.File("folder"));
    const std::string withNul = dir.File(std::string("plain.txt\0.bak", 14));
    struct Case {
        const char* what;
        std::string name;
        int fileNumber;
        std::uint8_t input, output;
    } cases[] = {
        {"missing file", dir.File("missing.txt"), 1, 53, 0},
        {"missing folder", FileInFolder(dir.File("nofolder"), "x.txt"), 1, 76, 76},
        {"a file as folder", FileInFolder(dir.File("plain.txt"), "x.txt"), 1, 76, 76},
        {"a folder as file", dir.File("folder"), 1, 70, 70},
        {"empty name", "", 1, 64, 64},
        {"star", dir.File("*.txt"), 1, 64, 64},
        {"question mark", dir.File("plain.tx?"), 1, 64, 64},
        {"NUL inside the name", withNul, 1, 64, 64},
        {"negative number", dir.File("plain.txt"), -1, 52, 52},
        {"number above 32767", dir.File("plain.txt"), 32768, 52, 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileError input, output;
        OpenForInput(c.name, c.fileNumber, input);
        EXPECT_EQ(input.code, c.input);
        CloseAllFiles(input);
        if (c.output == 0) continue;
        OpenForOutput(c.name, c.fileNumber, output);
        EXPECT_EQ(output.code, c.output);
        EXPECT_TRUE(NothingOpenUnder(c.fileNumber));
    }
    EXPECT_EQ(ReadBytes(dir.File("plain.txt")), "data") << "the name before the NUL was touched";
    EXPECT_EQ(ReadBytes(dir.File("missing.txt")), "<missing>");
}

// A name is never cut: one longer than any limit goes to the system whole and fails
// there, and the file that the cut name would be is left alone.
TEST_F(SequentialFiles, LongNameIsNeverCut) {
    const std::string full = dir.File(std::string(300, 'n'));
    const std::string cut = full.substr(0, 255);
    WriteBytes(cut, "keep");
    FileError open, remove;
    OpenForOutput(full, 1, open);
    DeleteFiles(full, remove);
    EXPECT_EQ(open.code, file_error::kPathFileAccess);
    EXPECT_NE(remove.code, 0);
    EXPECT_EQ(ReadBytes(cut), "keep");
}

TEST_F(SequentialFiles, OutputOpenEmptiesOrCreates) {
    WriteBytes(dir.File("full.txt"), std::string(1000, 'x'));
    for (const char* name : {"full.txt", "new.txt"}) {
        FileError error;
        OpenForOutput(dir.File(name), 2, error);
        CloseFile(2, error);
        EXPECT_EQ(error.code, 0) << name;
        EXPECT_EQ(ReadBytes(dir.File(name)), "") << name;
    }
}

TEST_F(SequentialFiles, NumberAlreadyOpenGives55AndKeepsTheFile) {
    FileError error;
    OpenForOutput(dir.File("first.txt"), 1, error);
    WriteText(1, "one", error);
    OpenForOutput(dir.File("second.txt"), 1, error);
    EXPECT_EQ(error.code, file_error::kAlreadyOpen);
    WriteText(1, "two", error);
    CloseFile(1, error);
    EXPECT_EQ(ReadBytes(dir.File("first.txt")), "onetwo");
    EXPECT_EQ(ReadBytes(dir.File("second.txt")), "<missing>");
}

// Files are opened without sharing: the program's own second opener and another
// program are both refused, and an output open that is refused empties nothing.
TEST_F(SequentialFiles, HeldFileIsRefusedWith70AndLeftAlone) {
    const std::string name = dir.File("held.txt");
    WriteBytes(name, "content");
    for (bool heldByLayer : {true, false}) {
        SCOPED_TRACE(heldByLayer ? "held under another file number" : "held by another program");
        FileError holderError;
        std::optional<test::OtherOpener> other;
        if (heldByLayer) {
            OpenForInput(name, 3, holderError);
        } else {
            other.emplace(name);
            ASSERT_TRUE(other->holds());
        }
        ASSERT_EQ(holderError.code, 0);
        FileError input, output, remove;
        OpenForInput(name, 1, input);
        OpenForOutput(name, 2, output);
        DeleteFiles(name, remove);
        EXPECT_EQ(input.code, file_error::kPermissionDenied);
        EXPECT_EQ(output.code, file_error::kPermissionDenied);
        EXPECT_EQ(remove.code, file_error::kPermissionDenied);
        EXPECT_TRUE(NothingOpenUnder(1));
        EXPECT_TRUE(NothingOpenUnder(2));
        CloseFile(3, holderError);
        EXPECT_EQ(ReadBytes(name), "content");
    }
}

// A read-only file refuses output and delete with 70 and keeps its bytes.
TEST_F(SequentialFiles, ReadOnlyFileIsRefusedWith70AndLeftAlone) {
    const std::string name = dir.File("readonly.txt");
    WriteBytes(name, "content");
    test::ReadOnlyFile readOnly(name);
    ASSERT_TRUE(readOnly.made()) << readOnly.why();
    FileError output, remove;
    OpenForOutput(name, 1, output);
    CloseAllFiles(output);
    if (test::RunningUnderWine() && test::RunningAsUnixRoot()) {
        // Wine keeps the read-only attribute as the Unix file mode, which root ignores:
        // the open succeeds and empties the file. Windows refuses it.
        EXPECT_EQ(output.code, 0) << "Wine now refuses as Windows does: drop this branch";
        EXPECT_EQ(ReadBytes(name), "");
    } else {
        EXPECT_EQ(output.code, file_error::kPermissionDenied);
        EXPECT_EQ(ReadBytes(name), "content");
    }
    DeleteFiles(name, remove);
    EXPECT_EQ(remove.code, file_error::kPermissionDenied);
    EXPECT_NE(ReadBytes(name), "<missing>");
}

// Each write operation is handed to the system at once, in a fixed number of writes.
TEST_F(SequentialFiles, WritesGoOutAtOnceInTheirOwnWrites) {
    struct Case {
        const char* what;
        std::function<void(FileError&)> write;
        std::string bytes;
        std::uint64_t systemWrites;
    } cases[] = {
        {"quoted", [](FileError& e) { WriteQuotedText(1, "a,b", e); }, "\"a,b\"", 3},
        {"quoted empty", [](FileError& e) { WriteQuotedText(1, "", e); }, "\"\"", 2},
        {"quote kept", [](FileError& e) { WriteQuotedText(1, "x\"y", e); }, "\"x\"y\"", 3},
        {"separator", [](FileError& e) { WriteSeparator(1, e); }, ",", 1},
        {"number 5", [](FileError& e) { WriteNumber(1, FromInteger(5), e); }, "5", 1},
        {"number -12", [](FileError& e) { WriteNumber(1, FromInteger(-12), e); }, "-12", 1},
        {"number 0", [](FileError& e) { WriteNumber(1, FromInteger(0), e); }, "0", 1},
        {"text", [](FileError& e) { WriteText(1, "B\xF6""e ", e); }, "B\xF6""e ", 1},
        {"text empty", [](FileError& e) { WriteText(1, "", e); }, "", 0},
        {"line end", [](FileError& e) { EndLine(1, e); }, test::Eol(), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileError error;
        OpenForOutput(dir.File("out.txt"), 1, error);
        const std::uint64_t before = SystemWriteCount();
        c.write(error);
        EXPECT_EQ(SystemWriteCount() - before, c.systemWrites);
        // Linux writes into the replacement beside the file, which takes its place at the close.
        EXPECT_EQ(test::OutputReplacesFile() ? BytesWrittenTo(1) : test::FileSize(dir.File("out.txt")), c.bytes.size())
            << "held back until the close";
        CloseFile(1, error);
        EXPECT_EQ(error.code, 0);
        EXPECT_EQ(ReadBytes(dir.File("out.txt")), c.bytes);
    }
}

TEST_F(SequentialFiles, WrongModeAndNotOpenWriteAndReadNothing) {
    WriteBytes(dir.File("in.txt"), "abc");
    FileError setup;
    OpenForInput(dir.File("in.txt"), 1, setup);
    OpenForOutput(dir.File("out.txt"), 2, setup);
    OpenForOutput(FileInFolder(dir.File("nofolder"), "x.txt"), 3, setup);  // fails: 3 stays free
    struct Case {
        const char* what;
        std::function<void(FileError&)> operation;
        std::uint8_t code;
    } cases[] = {
        {"write to input", [](FileError& e) { WriteText(1, "x", e); }, 54},
        {"quoted to input", [](FileError& e) { WriteQuotedText(1, "x", e); }, 54},
        {"read from output", [](FileError& e) { ReadTextItem(2, e); }, 54},
        {"number from output", [](FileError& e) { ReadNumberItem(2, e); }, 54},
        {"write after a failed open", [](FileError& e) { EndLine(3, e); }, 52},
        {"read never opened", [](FileError& e) { ReadTextItem(4, e); }, 52},
    };
    for (const Case& c : cases) {
        FileError error;
        c.operation(error);
        EXPECT_EQ(error.code, c.code) << c.what;
    }
    FileError error;
    EXPECT_EQ(ReadTextItem(1, error), "abc") << "the refused operations moved the input";
    CloseAllFiles(error);
    EXPECT_EQ(ReadBytes(dir.File("in.txt")), "abc");
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "");
}

// Reads items of one kind until the list is used up; the code is the one left at the end.
template <typename Item>
void ExpectItems(const std::string& name, std::string_view bytes, const std::vector<Item>& items,
                 std::uint8_t code, Item (*read)(int, FileError&)) {
    WriteBytes(name, bytes);
    FileError error;
    OpenForInput(name, 1, error);
    ASSERT_EQ(error.code, 0);
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(read(1, error), items[i]) << "item " << i;
    EXPECT_EQ(error.code, code);
    CloseFile(1, error);
}

TEST_F(SequentialFiles, TextItems) {
    const std::string long300(300, 'L');
    struct Case {
        std::string bytes;
        std::vector<std::string> items;
        std::uint8_t code;
    } cases[] = {
        {"\"ab,c\" , x y ,z\r\n", {"ab,c", "x y ", "z"}, 0},
        {"\t\"ab\" x,c", {"\"ab\" x", "c"}, 0},
        {"a,b", {"a", "b", ""}, 62},
        {"", {"", ""}, 62},
        {"a,,b", {"a", "", "b"}, 0},
        {"a\tb\nc,d", {"abc", "d"}, 0},
        {"\"a\r\nb,\x1A\" ,c", {"a\r\nb,\x1A", "c"}, 0},
        {"\"open", {"open"}, 0},
        {"\"x\" \t\n ,y", {"x", "y"}, 0},
        {"\"x\"y", {"x", "y"}, 0},
        {"a\rb\nc\r\nd", {"a", "bc", "d"}, 0},
        {"a\x1A,b", {"a", "", ""}, 62},
        {"   \"  x\"", {"  x"}, 0},
        {long300 + ",z", {long300, "z"}, 0},
        // CR the last byte of the first 128-byte block, its LF the first of the next
        {"\"" + std::string(125, 'a') + "\"\r\n\"q\"", {std::string(125, 'a'), "q"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("bytes=" + c.bytes.substr(0, 40));
        ExpectItems<std::string>(dir.File("items.txt"), c.bytes, c.items, c.code, ReadTextItem);
    }
}

TEST_F(SequentialFiles, NumberItems) {
    struct Case {
        std::string bytes;
        std::vector<double> items;
        std::uint8_t code;
    } cases[] = {
        {"5,5\r\n", {5, 5}, 0},
        {"5 5", {5, 5}, 0},
        {"42", {42}, 0},
        {"\r\n7", {0, 7}, 0},
        {"", {0}, 62},
        {"2.5,-3.5,1E+2", {2.5, -3.5, 100}, 0},
        {"1\t2\n3,abc,4", {123, 0, 4}, 0},
        {std::string(254, '0') + "12,3", {1, 2, 3}, 0},
        {"7\x1A", {7, 0}, 62},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("bytes=" + c.bytes.substr(0, 40));
        std::vector<Extended> items;
        for (double item : c.items) items.push_back(Ext(item));
        ExpectItems<Extended>(dir.File("numbers.txt"), c.bytes, items, c.code, ReadNumberItem);
    }
}

TEST_F(SequentialFiles, ClosingANumberNotOpenLeavesTheCode) {
    for (std::uint8_t before : {std::uint8_t{0}, std::uint8_t{53}}) {
        FileError error{before};
        CloseFile(9, error);
        EXPECT_EQ(error.code, before);
    }
}

TEST_F(SequentialFiles, CloseAllFilesFreesEveryNumberAndFile) {
    FileError error;
    OpenForOutput(dir.File("a.txt"), 1, error);
    OpenForOutput(dir.File("b.txt"), 2, error);
    CloseAllFiles(error);
    OpenForInput(dir.File("a.txt"), 1, error);
    OpenForInput(dir.File("b.txt"), 2, error);
    EXPECT_EQ(error.code, 0);
}

TEST_F(SequentialFiles, DeleteFiles) {
    struct Case {
        std::string pattern;
        std::uint8_t code;
        const char* left;  // the plain files left afterwards
    } cases[] = {
        {"missing.txt", 53, "a.txt b.txt c.dat"},
        {"a.txt", 0, "b.txt c.dat"},
        {"*.txt", 0, "c.dat"},
        {"?.dat", 0, "a.txt b.txt"},
        {"", 0, ""},  // the folder's name with its separator behind it: "*.*" is appended
        {"sub", 0, "a.txt b.txt c.dat"},
        {FileInFolder("nofolder", "a.txt"), 76, "a.txt b.txt c.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("pattern=") + c.pattern);
        TestDirectory folder;
        for (const char* name : {"a.txt", "b.txt", "c.dat"}) WriteBytes(folder.File(name), name);
        MakeDirectory(folder.File("sub"));
        const std::string hidden = test::MakeHiddenFile(folder, "hidden");
        FileError error;
        DeleteFiles(folder.File(c.pattern), error);
        EXPECT_EQ(error.code, c.code);
        std::string left;
        for (const char* name : {"a.txt", "b.txt", "c.dat"}) {
            if (ReadBytes(folder.File(name)) == name) left += (left.empty() ? "" : " ") + std::string(name);
        }
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(ReadBytes(hidden), "hidden");
    }
}

TEST_F(SequentialFiles, NulInADeleteNameDeletesNothing) {
    WriteBytes(dir.File("a.txt"), "a");
    FileError error;
    DeleteFiles(dir.File(std::string("a.txt\0x", 7)), error);
    EXPECT_EQ(error.code, file_error::kBadFileName);
    EXPECT_EQ(ReadBytes(dir.File("a.txt")), "a");
}

}  // namespace
}  // namespace kobrant
