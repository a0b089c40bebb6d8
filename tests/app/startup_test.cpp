#include "app/startup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kobrant {
namespace {

// A current directory that the test scripts call by call, read with the system's rules
// (see DirectoryReader). The last entry holds for every later call; "" fails.
std::vector<std::string> gDirectory;
std::vector<std::uint32_t> gSizesAsked;

std::uint32_t ScriptedDirectory(char* buffer, std::uint32_t size) {
    const std::size_t call = gSizesAsked.size();
    gSizesAsked.push_back(size);
    const std::string& now = gDirectory[call < gDirectory.size() ? call : gDirectory.size() - 1];
    if (now.empty()) return 0;
    const auto length = static_cast<std::uint32_t>(now.size());
    if (size < length + 1) return length + 1;
    std::memcpy(buffer, now.c_str(), length + 1);
    return length;
}

TEST(Startup, CommentExamples) {
    gSizesAsked.clear();
    gDirectory = {"C:\\Station"};
    EXPECT_EQ("C:\\Station", CurrentDirectoryFrom(ScriptedDirectory));
    gSizesAsked.clear();
    gDirectory = {std::string(600, 'd')};
    EXPECT_EQ(std::string(600, 'd'), CurrentDirectoryFrom(ScriptedDirectory));
    gSizesAsked.clear();
    gDirectory = {""};
    EXPECT_EQ(".", CurrentDirectoryFrom(ScriptedDirectory));
}

// The directory is read whole, however long: a fixed buffer of 260 used to cut it.
TEST(Startup, CurrentDirectoryIsReadWhole) {
    const std::string deep = "C:\\" + std::string(300, 'a') + "\\" + std::string(300, 'b');
    struct Case {
        const char* what;
        std::vector<std::string> script;
        std::string expected;
        std::size_t calls;
    };
    const Case cases[] = {
        {"short", {"C:\\Station"}, "C:\\Station", 2},
        {"a drive's root, as the system spells it", {"C:\\"}, "C:\\", 2},
        {"259 characters, the most the old buffer held", {std::string(259, 'x')}, std::string(259, 'x'), 2},
        {"260 characters", {std::string(260, 'x')}, std::string(260, 'x'), 2},
        {"longer than a path used to be", {deep}, deep, 2},
        {"grows between asking and reading", {"C:\\a", deep, deep}, deep, 3},
        {"shrinks between asking and reading", {deep, "C:\\a"}, "C:\\a", 2},
        {"can't be read", {""}, ".", 1},
        {"can't be read any more after its size", {"C:\\a", ""}, ".", 2},
        {"keeps growing", {"a", "aa", "aaa", "aaaa", "aaaaa", "aaaaaa", "aaaaaaa", "aaaaaaaa", "aaaaaaaaa", "aaaaaaaaaa"},
         ".", 9},
    };
    for (const Case& c : cases) {
        gDirectory = c.script;
        gSizesAsked.clear();
        EXPECT_EQ(c.expected, CurrentDirectoryFrom(ScriptedDirectory)) << c.what;
        EXPECT_EQ(c.calls, gSizesAsked.size()) << c.what;
        EXPECT_EQ(0u, gSizesAsked.empty() ? 1u : gSizesAsked[0]) << c.what << ": the size is asked first";
    }
}

}  // namespace
}  // namespace kobrant
