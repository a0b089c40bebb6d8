// The form in a terminal, with ncursesw.

#include <curses.h>
#include <poll.h>
#include <term.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string_view>

#include "station/enter_files.h"
#include "terminal/form_layout.h"
#include "terminal/form_state.h"
#include "terminal/shown_text.h"
#include "terminal/status_line.h"
#include "terminal/terminal_form.h"
#include "numbers/float_state.h"
#include "system/stop_request.h"

namespace kobrant {
namespace {

constexpr int kFlashMilliseconds = 300;
constexpr int kKeyWaitMilliseconds = 250;  // how soon a signal is seen while nothing is typed
constexpr int kEscapeDelayMilliseconds = 25;

void RequestEnd(int) { RequestStop(); }

// No SA_RESTART: a read that is waiting for a key ends at once, and every other call
// that a signal interrupts gives up instead of being made again (stop_request.h).
void CatchEndSignals() {
    struct sigaction action {};
    action.sa_handler = RequestEnd;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGHUP, SIGTERM, SIGINT}) sigaction(signal, &action, nullptr);
}

enum ColorPairs : short { kBoxPair = 1, kFieldPair, kButtonPair, kWrittenPair, kFailedPair, kFailedTextPair };

bool gColors = false;

// NO_COLOR (set and not empty) asks for none, as many terminal programs agree.
bool ColorsWanted() {
    const char* noColor = std::getenv("NO_COLOR");
    return noColor == nullptr || noColor[0] == '\0';
}

void StartColors() {
    gColors = ColorsWanted() && has_colors() && start_color() == OK && COLORS >= 8 && COLOR_PAIRS > kFailedTextPair;
    if (!gColors) return;
    const short background = use_default_colors() == OK ? -1 : COLOR_BLACK;
    init_pair(kBoxPair, COLOR_BLUE, COLOR_CYAN);
    init_pair(kFieldPair, COLOR_BLACK, COLOR_WHITE);
    init_pair(kButtonPair, COLOR_BLACK, COLOR_WHITE);
    init_pair(kWrittenPair, COLOR_BLACK, COLOR_GREEN);
    init_pair(kFailedPair, COLOR_BLACK, COLOR_RED);
    init_pair(kFailedTextPair, COLOR_RED, background);
}

// How a part is drawn: its colour pair where there are colours, its attributes always.
struct Look {
    attr_t attributes = A_NORMAL;
    short pair = 0;
};

Look Colored(short pair, attr_t attributes, attr_t withoutColors) {
    return gColors ? Look{attributes, pair} : Look{withoutColors, 0};
}

enum class Flash { kNone, kWritten, kFailed };

// What the screen shows besides the form's own state.
struct View {
    std::wstring recordPath;
    std::string status;  // Windows-1252
    bool statusFailed = false;
    Flash flash = Flash::kNone;
};

void Put(int line, int column, std::wstring_view text, Look look) {
    if (line < 0 || line >= LINES || column >= COLS) return;
    const int room = COLS - column;
    attr_set(look.attributes, look.pair, nullptr);
    mvaddnwstr(line, column, text.data(), std::min(static_cast<int>(text.size()), room));
}

void PutChar(int line, int column, chtype character, Look look) {
    attr_set(look.attributes, look.pair, nullptr);
    mvaddch(line, column, character);
}

Look BoxLook(Flash flash) {
    switch (flash) {
    case Flash::kWritten: return Colored(kWrittenPair, A_NORMAL, A_REVERSE);
    case Flash::kFailed: return Colored(kFailedPair, A_NORMAL, A_REVERSE);
    case Flash::kNone: break;
    }
    return Colored(kBoxPair, A_NORMAL, A_NORMAL);
}

// The lines the header takes: caption and path on one, or the path on a line of its own.
int HeaderLines(const View& view) {
    const std::size_t caption = ShownColumns(ShownFixedText(kRecordPathHeader));
    return static_cast<int>(caption + 2 + ShownColumns(view.recordPath)) <= COLS ? 1 : 2;
}

// The header, its path's end kept when even a line of its own is too short. Returns the
// lines it took.
int DrawHeader(const View& view) {
    const std::wstring caption = ShownFixedText(kRecordPathHeader);
    const Look plain;
    if (HeaderLines(view) == 1) {
        Put(0, 1, caption + L" " + view.recordPath, plain);
        return 1;
    }
    Put(0, 1, caption, plain);
    std::wstring path = view.recordPath;
    const auto room = static_cast<std::size_t>(std::max(COLS - 2, 4));
    if (ShownColumns(path) > room) path = L"..." + LastColumns(path, room - 3);
    Put(1, 1, path, plain);
    return 2;
}

void DrawBox(int top, Look look) {
    const int left = kBoxLeft, right = kBoxLeft + kBoxWidth - 1, bottom = top + kBoxHeight - 1;
    for (int line = top; line <= bottom; ++line) Put(line, left, std::wstring(kBoxWidth, L' '), look);
    for (int column = left + 1; column < right; ++column) {
        PutChar(top, column, ACS_HLINE, look);
        PutChar(bottom, column, ACS_HLINE, look);
    }
    for (int line = top + 1; line < bottom; ++line) {
        PutChar(line, left, ACS_VLINE, look);
        PutChar(line, right, ACS_VLINE, look);
    }
    PutChar(top, left, ACS_ULCORNER, look);
    PutChar(top, right, ACS_URCORNER, look);
    PutChar(bottom, left, ACS_LLCORNER, look);
    PutChar(bottom, right, ACS_LRCORNER, look);
    Put(top, left + 2, L" " + ShownFixedText(kFormTitle) + L" ", look);
}

// One field: its cells, with "<" or ">" in place of a bracket where its text goes on
// beyond them. Returns the column of the cursor.
int DrawField(int line, FieldEdit& edit, bool focused, Look boxLook) {
    const std::size_t first = focused ? ScrollToCursor(edit, kFieldCells) : 0;
    // Only the cells' part is converted: a key costs the same however long the text is.
    const std::string_view text = edit.text;
    std::wstring cells = ShownFieldText(text.substr(std::min(first, text.size()), kFieldCells));
    cells.resize(kFieldCells, L' ');
    const int left = kBoxLeft + kFieldLeft;
    Put(line, left, first > 0 ? L"<" : L"[", boxLook);
    Put(line, left + 1 + kFieldCells, text.size() > first + kFieldCells ? L">" : L"]", boxLook);
    const bool marked = focused && edit.marked;
    const attr_t emphasis = focused ? A_BOLD : A_NORMAL;
    const Look look = marked ? Colored(kFieldPair, A_REVERSE | A_BOLD, A_BOLD | A_UNDERLINE)
                             : Colored(kFieldPair, emphasis, A_REVERSE | emphasis);
    Put(line, left + 1, cells, look);
    return left + 1 + static_cast<int>(edit.cursor - first);
}

void DrawButton(int line, int column, const char* text, bool focused) {
    const Look look = focused ? Look{A_REVERSE | A_BOLD, 0} : Colored(kButtonPair, A_NORMAL, A_NORMAL);
    Put(line, column, ShownFixedText(text), look);
}

// A status too long for its line goes on in the keys' line (until the next key).
void DrawStatusAndKeys(int line, const View& view) {
    const Look statusLook = view.statusFailed ? Colored(kFailedTextPair, A_BOLD, A_BOLD) : Look{};
    const std::wstring status = ShownFixedText(view.status);
    const auto width = static_cast<std::size_t>(COLS - 2);
    Put(line, 1, status.substr(0, width), statusLook);
    if (status.size() > width) {
        Put(line + 1, 1, status.substr(width, width), statusLook);
        return;
    }
    for (const char* keys : kKeyLines) {
        const std::wstring shown = ShownFixedText(keys);
        if (static_cast<int>(shown.size()) + 1 < COLS) {
            Put(line + 1, 1, shown, Look{A_DIM, 0});
            break;
        }
    }
}

void Draw(FormState& form, const View& view) {
    erase();
    if (COLS < kMinimumColumns || LINES < kMinimumLines) {
        Put(0, 0, ShownFixedText(kTooSmall), Look{});
        curs_set(0);
        refresh();
        return;
    }
    const int top = DrawHeader(view);
    const Look boxLook = BoxLook(view.flash);
    DrawBox(top, boxLook);
    int cursorLine = top + kButtonLine, cursorColumn = kBoxLeft + kEnterLeft + 1;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const int line = top + kFirstFieldLine + static_cast<int>(i);
        const std::wstring caption = ShownFixedText(kFieldRows[i].caption);
        Put(line, kBoxLeft + kCaptionEnd - static_cast<int>(caption.size()), caption, boxLook);
        Put(line, kBoxLeft + kUnitLeft, ShownFixedText(kFieldRows[i].unit), boxLook);
        const bool focused = form.focus == static_cast<int>(i);
        const int column = DrawField(line, form.fields[i], focused, boxLook);
        if (focused) {
            cursorLine = line;
            cursorColumn = column;
        }
    }
    DrawButton(top + kButtonLine, kBoxLeft + kClearLeft, kClearButton, form.focus == kClearStop);
    DrawButton(top + kButtonLine, kBoxLeft + kEnterLeft, kEnterButton, form.focus == kEnterStop);
    if (form.focus == kClearStop) cursorColumn = kBoxLeft + kClearLeft + 1;
    DrawStatusAndKeys(top + kBoxHeight, view);
    attr_set(A_NORMAL, 0, nullptr);
    curs_set(form.focus < kEnterStop ? 1 : 0);
    move(cursorLine, cursorColumn);
    refresh();
}

// After a key that changed no more than the focused field's text or cursor: that field
// alone, so that a typed character costs the terminal (and the program) one field's
// cells rather than the whole form compared anew.
void DrawFocusedField(FormState& form, const View& view) {
    const int line = HeaderLines(view) + kFirstFieldLine + form.focus;
    const int column = DrawField(line, form.fields[static_cast<std::size_t>(form.focus)], true, BoxLook(view.flash));
    attr_set(A_NORMAL, 0, nullptr);
    move(line, column);
    refresh();
}

Key ReadKey(bool& resized) {
    wint_t typed = 0;
    const int kind = get_wch(&typed);
    if (kind == ERR) return {};
    if (kind == KEY_CODE_YES) {
        switch (typed) {
        case KEY_RESIZE: resized = true; return {};
        case KEY_BTAB:
        case KEY_UP: return {KeyKind::kPrevious};
        case KEY_DOWN: return {KeyKind::kNext};
        case KEY_ENTER: return {KeyKind::kReturn};
        case KEY_LEFT: return {KeyKind::kLeft};
        case KEY_RIGHT: return {KeyKind::kRight};
        case KEY_HOME: return {KeyKind::kHome};
        case KEY_END: return {KeyKind::kEnd};
        case KEY_BACKSPACE: return {KeyKind::kBackspace};
        case KEY_DC: return {KeyKind::kDelete};
        case KEY_F(10): return {KeyKind::kQuit};
        default: return {};
        }
    }
    switch (typed) {
    case L'\t': return {KeyKind::kNext};
    case L'\r':
    case L'\n': return {KeyKind::kReturn};
    case L' ': return {KeyKind::kSpace};
    case 0x03: return {KeyKind::kQuit};  // Ctrl-C: the terminal is raw, so it comes as a key
    case 0x08:
    case 0x7F: return {KeyKind::kBackspace};
    default: break;
    }
    if (typed < 0x20) return {};  // Esc and the other control keys do nothing
    return {KeyKind::kCharacter, static_cast<char32_t>(typed)};
}

// "Enter": the same steps as the dialog's; the files are put in place before the
// flash, since on Linux the close is what replaces them.
void PressEnter(ProgramValues& values, FormState& form, View& view) {
    SetFloatingPointState();
    values.settings.fieldTexts = FormTexts(form);
    const ValueTexts valueTexts = ConvertFieldTexts(values.settings.fieldTexts);
    EnterOutcome outcome =
        WriteEnterFiles(values, values.settings.dialogLeft, values.settings.dialogTop, valueTexts);
    CloseEnterFiles(outcome);
    view.status = StatusAfterEnter(outcome);
    view.statusFailed = !outcome.Written();
    view.flash = outcome.Written() ? Flash::kWritten : Flash::kFailed;
    Draw(form, view);
    beep();
    napms(kFlashMilliseconds);
    view.flash = Flash::kNone;
}

bool TooSmall() { return COLS < kMinimumColumns || LINES < kMinimumLines; }

// A terminal that has gone (its line hung up) without the signal reaching us: every
// read would fail at once, for ever.
bool TerminalGone() {
    struct pollfd input = {STDIN_FILENO, POLLIN, 0};
    return poll(&input, 1, 0) > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

bool StartTerminal(std::string& why) {
    if (newterm(nullptr, stdout, stdin) == nullptr) {
        const char* type = std::getenv("TERM");
        why = std::string("das Terminal \"") + (type != nullptr ? type : "") + "\" ist unbekannt (TERM)";
        return false;
    }
    // Without cursor addressing (TERM=dumb and the like) the form can't be drawn.
    const char* addressing = tigetstr(const_cast<char*>("cup"));
    if (addressing == nullptr || addressing == reinterpret_cast<char*>(-1)) {
        endwin();
        const char* type = std::getenv("TERM");
        why = std::string("das Terminal \"") + (type != nullptr ? type : "") + "\" kann den Cursor nicht setzen (TERM)";
        return false;
    }
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(kEscapeDelayMilliseconds);
    timeout(kKeyWaitMilliseconds);
    StartColors();
    CatchEndSignals();
    return true;
}

int RunTerminalForm(ProgramValues& values) {
    FormState form = OpenForm(values.settings.fieldTexts);
    View view;
    view.recordPath = ShownSystemText(values.recordPath);
    view.status = StatusAtStart(values.settingsUnread);
    view.statusFailed = !view.status.empty();
    Draw(form, view);
    while (!StopRequested()) {
        bool resized = false;
        const Key key = ReadKey(resized);
        if (key.kind == KeyKind::kNone) {
            if (resized) Draw(form, view);
            if (!resized && TerminalGone()) break;
            continue;
        }
        if (TooSmall() && key.kind != KeyKind::kQuit) continue;  // nothing typed blind
        const bool hadStatus = !view.status.empty();
        const int focus = form.focus;
        view.status.clear();
        const FormCommand command = HandleKey(form, key);
        if (command == FormCommand::kQuit) break;
        if (command == FormCommand::kRefused) beep();
        if (command == FormCommand::kClear) ClearFields(form);
        if (command == FormCommand::kEnter) PressEnter(values, form, view);
        const bool fieldOnly = (command == FormCommand::kNone || command == FormCommand::kRefused) &&
                               form.focus == focus && focus < kEnterStop && !hadStatus;
        if (fieldOnly) {
            DrawFocusedField(form, view);
        } else {
            Draw(form, view);
        }
    }
    endwin();
    return 0;
}

}  // namespace kobrant
