// The terminal form's parts that need no terminal: the encoding, how texts are shown,
// what the keys do, the status line. Each header's examples replayed.

#include <gtest/gtest.h>

#include <clocale>
#include <utility>

#include "terminal/form_state.h"
#include "terminal/shown_text.h"
#include "terminal/status_line.h"
#include "terminal/windows_1252.h"

namespace kobrant {
namespace {

TEST(Windows1252, CommentExamples) {
    EXPECT_EQ(UnicodeOf('A'), U'A');
    EXPECT_EQ(UnicodeOf(0xE4), U'\u00E4');
    EXPECT_EQ(UnicodeOf(0x80), U'\u20AC');
    EXPECT_EQ(UnicodeOf(0x81), 0u);
    EXPECT_EQ(Windows1252Of(U'\u00E4'), 0xE4);
    EXPECT_EQ(Windows1252Of(U'\u20AC'), 0x80);
    EXPECT_EQ(Windows1252Of(U'\u0142'), -1);
    EXPECT_EQ(Windows1252Of(0x81), -1);
}

// Every byte with a character comes back from it; the five undefined ones have none.
TEST(Windows1252, EveryByteRoundTrips) {
    int undefined = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t character = UnicodeOf(static_cast<unsigned char>(byte));
        if (character == 0 && byte != 0) {
            ++undefined;
            continue;
        }
        EXPECT_EQ(Windows1252Of(character), byte) << "byte " << byte;
    }
    EXPECT_EQ(undefined, 5);
}

// Under a UTF-8 locale and under the C locale.
TEST(ShownText, CommentExamples) {
    const struct {
        const char* locale;
        std::wstring field, controls, fixed;
        std::string localeBytes;
    } rows[] = {
        {"C.UTF-8", L"B\u00F6e", L"a\uFFFD\uFFFD", L"B\u00F6en", "zur\xC3\xBC" "ck"},
        {"C", L"B?e", L"a??", L"Boeen", "zurueck"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale);
        ASSERT_NE(std::setlocale(LC_ALL, row.locale), nullptr);
        EXPECT_EQ(ShownFieldText("B\xF6" "e"), row.field);
        EXPECT_EQ(ShownFieldText("a\x01\x81"), row.controls);
        EXPECT_EQ(ShownFixedText("B\xF6" "en"), row.fixed);
        EXPECT_EQ(LocaleBytes("zur\xFC" "ck"), row.localeBytes);
    }
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    EXPECT_EQ(ShownSystemText("/srv/K\xC3\xA4" "lte"), L"/srv/K\u00E4lte");
    EXPECT_EQ(ShownSystemText("/a\xFF"), L"/a\uFFFD") << "not UTF-8";
    EXPECT_EQ(ShownSystemText("\x1b[2J"), L"\uFFFD[2J") << "a control byte";
    EXPECT_EQ(ShownColumns(L"ab\u6771"), 4u);
    EXPECT_EQ(LastColumns(L"ab\u6771", 3), L"b\u6771");
    EXPECT_EQ(LastColumns(L"ab\u6771", 1), L"") << "half a wide character is not shown";
    std::setlocale(LC_ALL, "C");
}

Key Char(char32_t c) { return {KeyKind::kCharacter, c}; }

TEST(FormKeys, CommentExamples) {
    FormState form = OpenForm({"270"});
    EXPECT_EQ(form.focus, 0);
    HandleKey(form, Char(U'x'));
    EXPECT_EQ(form.fields[0].text, "x");
    HandleKey(form, {KeyKind::kLeft});
    HandleKey(form, Char(U'y'));
    EXPECT_EQ(form.fields[0].text, "yx");
    HandleKey(form, {KeyKind::kNext});
    EXPECT_EQ(form.focus, 1);
    EXPECT_TRUE(form.fields[1].marked);
    HandleKey(form, {KeyKind::kPrevious});
    HandleKey(form, {KeyKind::kPrevious});
    EXPECT_EQ(form.focus, kClearStop);
    EXPECT_EQ(HandleKey(form, {KeyKind::kReturn}), FormCommand::kClear);
    form.focus = kEnterStop;
    EXPECT_EQ(HandleKey(form, {KeyKind::kSpace}), FormCommand::kEnter);
    EXPECT_EQ(HandleKey(form, {KeyKind::kQuit}), FormCommand::kQuit);

    FormState full = OpenForm({"12345"});
    HandleKey(full, {KeyKind::kEnd});
    EXPECT_EQ(HandleKey(full, Char(U'6')), FormCommand::kRefused);
    EXPECT_EQ(full.fields[0].text, "12345");
    EXPECT_EQ(HandleKey(full, Char(U'\u0142')), FormCommand::kRefused);
}

// Editing keys, each row from a field holding "abc" just entered (all of it marked).
TEST(FormKeys, EditingAField) {
    const struct {
        const char* keys;
        std::vector<Key> pressed;
        std::string text;
        std::size_t cursor;
    } rows[] = {
        {"none", {}, "abc", 3},
        {"Backspace", {{KeyKind::kBackspace}}, "", 0},
        {"Delete", {{KeyKind::kDelete}}, "", 0},
        {"Space", {{KeyKind::kSpace}}, " ", 1},
        {"End Backspace", {{KeyKind::kEnd}, {KeyKind::kBackspace}}, "ab", 2},
        {"Home Delete", {{KeyKind::kHome}, {KeyKind::kDelete}}, "bc", 0},
        {"Left Right \u00FC", {{KeyKind::kLeft}, {KeyKind::kRight}, Char(U'\u00FC')}, "a\xFC" "bc", 2},
        {"Right Right Left Left", {{KeyKind::kRight}, {KeyKind::kRight}, {KeyKind::kLeft}, {KeyKind::kLeft}}, "abc", 1},
        {"Home Left Backspace", {{KeyKind::kHome}, {KeyKind::kLeft}, {KeyKind::kBackspace}}, "abc", 0},
        {"End \u20AC TAB x", {{KeyKind::kEnd}, Char(U'\u20AC'), Char(U'\t'), Char(U'x')}, "abc\x80x", 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        FormState form = OpenForm({"abc"});
        for (const Key& key : row.pressed) HandleKey(form, key);
        EXPECT_EQ(form.fields[0].text, row.text);
        EXPECT_EQ(form.fields[0].cursor, row.cursor);
    }
}

// Forward around all eleven stops (back: CommentExamples); Return in a field moves on.
TEST(FormKeys, StopsWrapAround) {
    FormState form = OpenForm({});
    for (int i = 1; i <= kStopCount; ++i) {
        HandleKey(form, {KeyKind::kNext});
        EXPECT_EQ(form.focus, i % kStopCount);
    }
    EXPECT_EQ(HandleKey(form, {KeyKind::kReturn}), FormCommand::kNone);
    EXPECT_EQ(form.focus, 1);
    form.focus = kClearStop;
    EXPECT_EQ(HandleKey(form, Char(U'x')), FormCommand::kNone) << "a character on a button does nothing";
    ClearFields(form);
    EXPECT_EQ(FormTexts(form), FieldTexts{});
}

TEST(FormKeys, ScrollKeepsTheCursorInTheCells) {
    FieldEdit edit{"1234567890", 10, false, 0};
    for (const auto& [cursor, firstShown] : {std::pair<std::size_t, std::size_t>{10, 4}, {2, 2}, {0, 0}}) {
        edit.cursor = cursor;
        EXPECT_EQ(ScrollToCursor(edit, 7), firstShown) << "cursor " << cursor;
    }
}

TEST(StatusLine, CommentExamples) {
    EnterOutcome outcome;
    outcome.timestampLine = "Dec 06 2026 14:05";
    outcome.dataLine = "270/011g018t068r000p006P008h65b10132";
    EXPECT_EQ(StatusAfterEnter(outcome), "14:05 geschrieben: 270/011g018t068r000p006P008h65b10132");
    outcome.record.code = 70;
    EXPECT_EQ(StatusAfterEnter(outcome), "14:05 nicht geschrieben: WX-DATA.txt: Zugriff verweigert (70)");
    outcome.settings.code = 70;
    EXPECT_EQ(StatusAfterEnter(outcome), "14:05 nicht geschrieben: kobrant.ctl und WX-DATA.txt: Zugriff verweigert (70)");
    outcome.record.code = 76;
    EXPECT_EQ(StatusAfterEnter(outcome),
              "14:05 nicht geschrieben: kobrant.ctl: Zugriff verweigert (70), WX-DATA.txt: Ordner nicht gefunden (76)");
    outcome.settings = outcome.record = FileError{};
    outcome.record.notYetOnDisk = true;
    EXPECT_EQ(StatusAfterEnter(outcome),
              "14:05 geschrieben, noch nicht sicher auf dem Datentr\xE4ger: 270/011g018t068r000p006P008h65b10132");
    EXPECT_EQ(StatusAtStart(FileError{70}), "kobrant.ctl: Zugriff verweigert (70), die Felder zeigen die Vorgaben");
    EXPECT_EQ(StatusAtStart(FileError{75, system_error::kForeignLink}),
              "kobrant.ctl: Verweis eines anderen Benutzers (75), die Felder zeigen die Vorgaben");
    EXPECT_EQ(StatusAtStart(FileError{}), "");
    EXPECT_EQ(FileErrorText(61), "Datentr\xE4ger voll");
    EXPECT_EQ(FileErrorText(200), "Fehler");
}

}  // namespace
}  // namespace kobrant
