#include "terminal/form_state.h"

#include <algorithm>

#include "terminal/windows_1252.h"

namespace kobrant {
namespace {

bool IsField(int stop) { return stop < kEnterStop; }

void Focus(FormState& form, int stop) {
    form.focus = (stop + kStopCount) % kStopCount;
    if (!IsField(form.focus)) return;
    FieldEdit& edit = form.fields[static_cast<std::size_t>(form.focus)];
    edit.marked = true;
    edit.cursor = edit.text.size();
}

// The marked text goes as soon as anything changes it.
void DropMarked(FieldEdit& edit) {
    if (!edit.marked) return;
    edit.text.clear();
    edit.cursor = 0;
    edit.marked = false;
}

FormCommand Type(FieldEdit& edit, std::size_t limit, char32_t character) {
    const int byte = Windows1252Of(character);
    if (byte < 0x20 || byte == 0x7F) return FormCommand::kRefused;  // none, or a control
    if (!edit.marked && edit.text.size() >= limit) return FormCommand::kRefused;
    DropMarked(edit);
    edit.text.insert(edit.cursor, 1, static_cast<char>(byte));
    ++edit.cursor;
    return FormCommand::kNone;
}

FormCommand EditField(FieldEdit& edit, std::size_t limit, Key key) {
    switch (key.kind) {
    case KeyKind::kCharacter: return Type(edit, limit, key.character);
    case KeyKind::kSpace: return Type(edit, limit, U' ');
    case KeyKind::kBackspace:
        if (edit.marked) {
            DropMarked(edit);
        } else if (edit.cursor > 0) {
            edit.text.erase(--edit.cursor, 1);
        }
        break;
    case KeyKind::kDelete:
        if (edit.marked) {
            DropMarked(edit);
        } else if (edit.cursor < edit.text.size()) {
            edit.text.erase(edit.cursor, 1);
        }
        break;
    case KeyKind::kLeft:
        edit.cursor = edit.marked ? 0 : (edit.cursor > 0 ? edit.cursor - 1 : 0);
        break;
    case KeyKind::kRight:
        edit.cursor = edit.marked ? edit.text.size() : std::min(edit.cursor + 1, edit.text.size());
        break;
    case KeyKind::kHome: edit.cursor = 0; break;
    case KeyKind::kEnd: edit.cursor = edit.text.size(); break;
    default: break;
    }
    edit.marked = false;
    return FormCommand::kNone;
}

FormCommand PressButton(int stop) { return stop == kEnterStop ? FormCommand::kEnter : FormCommand::kClear; }

}  // namespace

FormState OpenForm(const FieldTexts& texts) {
    FormState form;
    for (std::size_t i = 0; i < kFieldCount; ++i) form.fields[i].text = texts[i];
    Focus(form, 0);
    return form;
}

FieldTexts FormTexts(const FormState& form) {
    FieldTexts texts;
    for (std::size_t i = 0; i < kFieldCount; ++i) texts[i] = form.fields[i].text;
    return texts;
}

std::size_t TypingLimit(Field field) { return field == Field::Pressure ? 6 : 5; }

FormCommand HandleKey(FormState& form, Key key) {
    switch (key.kind) {
    case KeyKind::kQuit: return FormCommand::kQuit;
    case KeyKind::kNext: Focus(form, form.focus + 1); return FormCommand::kNone;
    case KeyKind::kPrevious: Focus(form, form.focus - 1); return FormCommand::kNone;
    case KeyKind::kReturn:
        if (!IsField(form.focus)) return PressButton(form.focus);
        Focus(form, form.focus + 1);
        return FormCommand::kNone;
    case KeyKind::kNone: return FormCommand::kNone;
    default: break;
    }
    if (!IsField(form.focus)) return key.kind == KeyKind::kSpace ? PressButton(form.focus) : FormCommand::kNone;
    const auto index = static_cast<std::size_t>(form.focus);
    return EditField(form.fields[index], TypingLimit(kFields[index]), key);
}

std::size_t ScrollToCursor(FieldEdit& edit, std::size_t width) {
    // The cursor needs a cell of its own behind the last character.
    if (edit.cursor < edit.firstShown) edit.firstShown = edit.cursor;
    if (edit.cursor >= edit.firstShown + width) edit.firstShown = edit.cursor - width + 1;
    if (edit.firstShown > edit.text.size()) edit.firstShown = edit.text.size();
    return edit.firstShown;
}

void ClearFields(FormState& form) {
    for (FieldEdit& edit : form.fields) edit = FieldEdit{};
}

}  // namespace kobrant
