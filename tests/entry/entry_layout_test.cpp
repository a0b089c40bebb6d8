// The entry dialog's layout table (entry_layout.h): the examples of its header.

#include <gtest/gtest.h>

#include "entry/entry_layout.h"

namespace kobrant {
namespace {

TEST(EntryLayout, HeaderExamples) {
    ASSERT_NE(ControlRowOf(1018), nullptr);
    EXPECT_EQ(ControlRowOf(1018)->y, 85);
    EXPECT_EQ(ControlRowOf(1018)->kind, ControlKind::Edit);
    EXPECT_EQ(ControlRowOf(1031), nullptr);
    EXPECT_EQ(ColorsOf(ColorSet::Web).text, 0xDDDD00u);
    EXPECT_EQ(ColorsOf(ColorSet::None).text, 0u);
    EXPECT_EQ(ColorsOf(ColorSet::None).background, 0u);
    EXPECT_EQ(TypingLimit(1017), 5);
    EXPECT_EQ(TypingLimit(1018), 6);
    EXPECT_EQ(BoldFontHeight(96, 14), -18);
}

// Every id of the dialog finds its own row, and the ids around them none.
TEST(EntryLayout, EachIdFindsItsRow) {
    for (int id = kFirstCaptionLabelId - 1; id <= kClearButtonId + 1; ++id) {
        const ControlRow* row = ControlRowOf(id);
        if (id < kFirstCaptionLabelId || id > kClearButtonId) {
            EXPECT_EQ(row, nullptr) << "id=" << id;
        } else {
            ASSERT_NE(row, nullptr) << "id=" << id;
            EXPECT_EQ(row->id, id);
        }
    }
}

}  // namespace
}  // namespace kobrant
