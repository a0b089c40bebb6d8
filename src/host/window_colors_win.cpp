// Window colours: the text and background colour of a host window, held in its record
// and applied through the host's answer to the system's colour queries.
//
// Background brushes are shared: every record with the same background colour uses one
// solid brush, made when the colour is first needed and deleted when no record has that
// colour any more. All brush bookkeeping happens under the records lock (GDI calls
// send no window messages, so they may run inside it).

#include <algorithm>
#include <vector>

#include "host/window_records.h"

namespace kobrant {

namespace {

std::size_t gLiveBrushes = 0;  // brushes made here and not yet deleted; under the records lock

HBRUSH MakeBrush(std::int32_t color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
    if (brush != nullptr) ++gLiveBrushes;
    return brush;
}

void DeleteBrush(HBRUSH brush) {
    if (DeleteObject(brush)) --gLiveBrushes;
}

std::int32_t NormalisedText(std::int32_t color) { return color < 0 ? kSystemColor : color & 0xFFFFFF; }

std::int32_t NormalisedBackground(std::int32_t color) {
    if (color == kTransparent) return kTransparent;
    return color < 0 ? kSystemColor : color & 0xFFFFFF;
}

bool BackgroundInUse(const RecordTable& table, std::int32_t color) {
    return std::any_of(table.begin(), table.end(),
                       [color](const WindowRecord& record) { return record.backgroundColor == color; });
}

// The brush of the first record with this background colour, if it has one.
HBRUSH SharedBrush(const RecordTable& table, std::int32_t color) {
    for (const WindowRecord& record : table) {
        if (record.backgroundColor == color) return record.backgroundBrush;
    }
    return nullptr;
}

struct SystemColorIndices {
    int text;
    int background;
};

// Which system colours stand for kSystemColor, by the kind of window that asks.
SystemColorIndices IndicesFor(UINT query) {
    switch (query) {
    case WM_CTLCOLORMSGBOX: return {COLOR_MENUTEXT, COLOR_MENU};
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return {COLOR_WINDOWTEXT, COLOR_WINDOW};
    case WM_CTLCOLORBTN: return {COLOR_BTNTEXT, COLOR_BTNFACE};
    case WM_CTLCOLORSCROLLBAR: return {COLOR_WINDOWTEXT, COLOR_SCROLLBAR};
    default: return {COLOR_WINDOWTEXT, COLOR_BTNFACE};  // WM_CTLCOLORDLG, WM_CTLCOLORSTATIC
    }
}

}  // namespace

void SetWindowColors(HWND dialog, int id, std::int32_t textColor, std::int32_t backgroundColor) {
    HWND target = id == kDialogItself ? dialog : GetDlgItem(dialog, id);
    // A window not on the screen has no pixels to go stale: it is painted whole when shown.
    const bool onScreen = IsWindowVisible(target) != FALSE;
    textColor = NormalisedText(textColor);
    backgroundColor = NormalisedBackground(backgroundColor);

    LockedRecords records;
    const WindowRecord* dialogRecord = records.Find(dialog);
    WindowRecord* targetRecord = records.Find(target);
    if (dialogRecord == nullptr || !dialogRecord->isDialog || targetRecord == nullptr) return;

    HBRUSH brush = nullptr;
    if (backgroundColor >= 0) {
        brush = SharedBrush(records.table, backgroundColor);
        if (brush == nullptr) brush = MakeBrush(backgroundColor);
        if (brush == nullptr) backgroundColor = kSystemColor;
    }
    const std::int32_t oldColor = targetRecord->backgroundColor;
    HBRUSH oldBrush = targetRecord->backgroundBrush;
    targetRecord->textColor = textColor;
    targetRecord->backgroundColor = backgroundColor;
    targetRecord->backgroundBrush = brush;
    if (onScreen) targetRecord->colorsChanged = true;
    if (oldBrush != nullptr && oldBrush != brush && !BackgroundInUse(records.table, oldColor)) {
        DeleteBrush(oldBrush);
    }
}

HBRUSH ColorAnswer(UINT query, HDC deviceContext, HWND window) {
    std::int32_t textColor = kColorNotSet;
    std::int32_t backgroundColor = kColorNotSet;
    HBRUSH brush = nullptr;
    {
        LockedRecords records;
        const WindowRecord* record = records.Find(window);
        if (record == nullptr) return nullptr;
        textColor = record->textColor;
        backgroundColor = record->backgroundColor;
        brush = record->backgroundBrush;
    }
    if (textColor == kColorNotSet) return nullptr;

    const SystemColorIndices indices = IndicesFor(query);
    SetTextColor(deviceContext, textColor == kSystemColor ? GetSysColor(indices.text)
                                                          : static_cast<COLORREF>(textColor));
    if (backgroundColor >= 0) {
        SetBkColor(deviceContext, static_cast<COLORREF>(backgroundColor));
        return brush;
    }
    if (backgroundColor == kSystemColor) {
        SetBkColor(deviceContext, GetSysColor(indices.background));
        return GetSysColorBrush(indices.background);
    }
    // Transparent, or a text colour without a background.
    SetBkMode(deviceContext, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void ReleaseBrushes(const RecordTable& removed, const RecordTable& remaining) {
    std::vector<HBRUSH> deleted;
    for (const WindowRecord& record : removed) {
        HBRUSH brush = record.backgroundBrush;
        if (brush == nullptr || std::find(deleted.begin(), deleted.end(), brush) != deleted.end()) continue;
        if (BackgroundInUse(remaining, record.backgroundColor)) continue;
        DeleteBrush(brush);
        deleted.push_back(brush);
    }
}

std::size_t BrushCount() {
    LockedRecords records;
    return gLiveBrushes;
}

}  // namespace kobrant
