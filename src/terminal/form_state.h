#pragma once
// The terminal form's state and what each key does to it, apart from the screen: the
// nine fields being edited, the focus on one of the eleven stops, and the command a
// key gives the program ("Enter", "CLEAR", the end).
//
// The stops are the dialog's tab order: the nine fields, "Enter", "CLEAR". Tab, Down
// and Return go to the next one, Shift-Tab and Up to the previous one, both wrapping
// around; Return or Space on a button presses it. Entering a field marks its whole
// text, as the dialog does: what is typed then replaces it, Backspace or Delete empty
// it, and a cursor key ends the mark. Typing stops at 5 characters (6 for the
// pressure); a longer text from the settings file stays whole. A typed character that
// Windows-1252 lacks, and one past the limit, is refused (the caller rings the bell).
//
// The examples below are replayed by FormKeys.CommentExamples.
//   form with "270" in the first field, focus there: key 'x' -> text "x"
//   then Left, 'y' -> "yx";  Tab -> focus 1 (marked);  Up, Up -> focus 10 ("CLEAR")
//   focus 10, Return -> kClear;  focus 9, Space -> kEnter;  F10 -> kQuit
//   text "12345", cursor at its end, '6' -> kRefused, text unchanged
//   character U'\u0142' -> kRefused (no such byte in Windows-1252)

#include <array>
#include <cstddef>
#include <string>

#include "station/fields.h"

namespace kobrant {

// One field being edited: its bytes (Windows-1252), the cursor before byte `cursor`,
// whether the whole text is marked, and the first byte shown.
struct FieldEdit {
    std::string text;
    std::size_t cursor = 0;
    bool marked = false;
    std::size_t firstShown = 0;
};

inline constexpr int kEnterStop = 9;   // the stops after the nine fields
inline constexpr int kClearStop = 10;
inline constexpr int kStopCount = 11;

struct FormState {
    std::array<FieldEdit, kFieldCount> fields;
    int focus = 0;  // 0 to 8 a field, kEnterStop, kClearStop
};

// The form as start-up opens it: the field texts, the focus on the first field.
FormState OpenForm(const FieldTexts& texts);
FieldTexts FormTexts(const FormState& form);

// A key as the form knows it; kCharacter carries the typed character.
enum class KeyKind {
    kCharacter, kNext, kPrevious, kReturn, kSpace, kLeft, kRight, kHome, kEnd,
    kBackspace, kDelete, kQuit, kNone
};
struct Key {
    KeyKind kind = KeyKind::kNone;
    char32_t character = 0;
};

enum class FormCommand { kNone, kRefused, kEnter, kClear, kQuit };

FormCommand HandleKey(FormState& form, Key key);

// The most characters that can be typed into the field.
std::size_t TypingLimit(Field field);

// Keeps the cursor within the `width` cells shown (moving firstShown as needed) and
// returns firstShown: the field scrolls when its text is longer than the cells.
std::size_t ScrollToCursor(FieldEdit& edit, std::size_t width);

// Empties the nine fields ("CLEAR"); nothing else changes.
void ClearFields(FormState& form);

}  // namespace kobrant
