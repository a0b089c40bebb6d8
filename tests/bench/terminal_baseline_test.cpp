// The terminal benchmark's baseline form: the header's examples replayed, and every row
// of the form in dialog's form arguments.

#include <gtest/gtest.h>

#include "bench/terminal_baseline.h"
#include "terminal/form_layout.h"

namespace kobrant::bench {
namespace {

const FieldTexts kTexts = {"270", "5", "8", "20", "0", "1.5", "2", "65", "1013.2"};

TEST(TerminalBaseline, CommentExamples) {
    const std::vector<std::string> arguments = DialogFormArguments("/w", kTexts);
    const std::vector<std::string> head = {"--backtitle", "Die WX-Daten befinden sich in: /w/WX-DATA.txt", "--title",
                                           "KOBRANT--V571", "--ok-label", "Enter", "--cancel-label", "CLEAR",
                                           "--form", "", "15", "46", "9", "Windrichtung", "1", "6", "270", "1",
                                           "21", "7", "5", "Grad", "1", "31", "", "1", "31", "0", "0"};
    ASSERT_EQ(arguments.size(), 13 + 18 * 8u);
    EXPECT_EQ(std::vector<std::string>(arguments.begin(), arguments.begin() + static_cast<long>(head.size())), head);
    EXPECT_EQ(Utf8Of("B\xF6" "en"), "B\xC3\xB6" "en");
    EXPECT_EQ(SettingsLine(kTexts), R"("270","5","8","20","0","1.5","2","65","1013.2",5,5)" "\n");
}

// Each row: captions right-aligned to end in one column, the field's text,
// cells and typing limit, the unit at the form's column; one line each, in field order.
TEST(TerminalBaseline, EveryRowAsTheFormHasIt) {
    const std::vector<std::string> arguments = DialogFormArguments("/w", kTexts);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto row = arguments.begin() + 13 + static_cast<long>(16 * i);
        const std::string caption = Utf8Of(kFieldRows[i].caption), line = std::to_string(i + 1);
        SCOPED_TRACE(caption);
        const int captionEnd = std::stoi(row[2]) + static_cast<int>(std::string(kFieldRows[i].caption).size());
        EXPECT_EQ(captionEnd + 3, std::stoi(row[5])) << "the cells where the form has them: two blanks and a [";
        EXPECT_EQ(std::vector<std::string>(row, row + 2), (std::vector<std::string>{caption, line}));
        EXPECT_EQ(std::vector<std::string>(row + 3, row + 8),
                  (std::vector<std::string>{kTexts[i], line, row[5], "7", i == 8 ? "6" : "5"}));
        EXPECT_EQ(std::vector<std::string>(row + 8, row + 16),
                  (std::vector<std::string>{Utf8Of(kFieldRows[i].unit), line, "31", "", line, "31", "0", "0"}));
    }
}

}  // namespace
}  // namespace kobrant::bench
