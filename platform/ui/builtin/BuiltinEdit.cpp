// The "Edit" class: single-line and multi-line text fields with a caret and
// a selection, typing, the keyboard and the mouse, undo, the clipboard, word
// wrap (EditLayout.h) and the EM_ messages, with the originals' rules:
//
// - A text change made by the user or by EM_REPLACESEL tells the parent
//   EN_UPDATE and then EN_CHANGE. WM_SETTEXT tells it too, except for a
//   multi-line edit and for the edit of a combo box, which Windows keeps
//   quiet; it also resets the modified flag and puts the caret at the start.
// - The text limit (EM_LIMITTEXT, 30000 characters at first) holds for
//   typing, pasting and EM_REPLACESEL but not for WM_SETTEXT; refused input
//   is reported with EN_MAXTEXT. A single-line edit without ES_AUTOHSCROLL
//   takes no more than fits its width, a multi-line edit without
//   ES_AUTOVSCROLL no more lines than fit its height. A text set past a
//   limit may keep as many characters (as wide a line, as many lines) as it
//   has: typing over a selection with as much or less is taken whole. The
//   original takes the selection out and refuses what replaces it, so that
//   correcting one letter of a long stored value deletes it.
// - ES_NUMBER refuses typed characters other than digits (pasted text is
//   not checked); ES_UPPERCASE and ES_LOWERCASE convert all text.
// - A read-only or disabled edit asks its parent for colours with
//   WM_CTLCOLORSTATIC, any other with WM_CTLCOLOREDIT.
#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/builtin/EditLayout.h"
#include "platform/ui/windowing/Clipboard.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const int kInitialLimit = 30000;        // characters, before EM_LIMITTEXT
const int kMaximumLimit = 0x7FFFFFFE;   // what EM_LIMITTEXT 0 sets
const int kDefaultMargin = 1;           // pixels left and right of the text
const int kTabColumns = 8;              // a tab advances this many average characters
const int kWheelLines = 3;              // lines one wheel notch scrolls

struct EditState : WindowExtra {
    std::wstring text;
    int anchor = 0;                 // the end of the selection that stays put
    int caret = 0;                  // the end that moves; the caret stands here
    int limit = kInitialLimit;      // characters
    bool modified = false;
    HFONT font = nullptr;           // null: the system font
    int leftMargin = kDefaultMargin;
    int rightMargin = kDefaultMargin;
    bool rectSet = false;           // EM_SETRECT gave the formatting rectangle
    RECT rect = {0, 0, 0, 0};       // the formatting rectangle when set, client coordinates
    int firstLine = 0;              // multi-line: the first visible line
    int xOffset = 0;                // pixels the text is scrolled to the left
    std::vector<EditLine> lines;
    std::vector<int> advances;      // of each character of the text as shown, pixels
    std::unordered_map<wchar_t, int> widths;   // advance of each character met so far, for the current font
    int lineHeight = 16;            // pixels
    int averageWidth = 8;           // pixels
    wchar_t passwordChar = 0;       // shown for every character; 0 shows the text
    bool canUndo = false;
    std::wstring undoText;          // the text before the last change, for EM_UNDO
    int undoAnchor = 0;
    int undoCaret = 0;
    bool tracking = false;          // the left button is down and drags the selection
    int goalX = -1;                 // pixels from the line's left the caret keeps going up and down; -1 none
    bool focused = false;
    bool inCombo = false;           // the edit of a combo box
};

EditState* State(HWND hwnd)
{
    return ControlState<EditState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool IsMultiLine(HWND hwnd)
{
    return (Style(hwnd) & ES_MULTILINE) != 0;
}

// A multi-line edit with a scroll bar scrolls that way as if asked to.
bool AutoHScroll(HWND hwnd)
{
    const DWORD style = Style(hwnd);
    return (style & ES_AUTOHSCROLL) || ((style & ES_MULTILINE) && (style & WS_HSCROLL));
}

bool AutoVScroll(HWND hwnd)
{
    const DWORD style = Style(hwnd);
    return (style & ES_AUTOVSCROLL) || (style & WS_VSCROLL);
}

bool WordWrap(HWND hwnd)
{
    return IsMultiLine(hwnd) && !AutoHScroll(hwnd);
}

bool IsReadOnly(HWND hwnd)
{
    return (Style(hwnd) & ES_READONLY) != 0;
}

int Length(const EditState& state)
{
    return static_cast<int>(state.text.size());
}

int SelStart(const EditState& state)
{
    return std::min(state.anchor, state.caret);
}

int SelEnd(const EditState& state)
{
    return std::max(state.anchor, state.caret);
}

// Writes the text back where GetWindowText and the framework read it.
void MirrorText(HWND hwnd, const EditState& state)
{
    if (WindowState* window = WindowManager::Instance().Find(hwnd)) window->text = CString(state.text.c_str());
}

// ---- measuring and layout ----------------------------------------------------------------

RECT FormatRect(HWND hwnd, const EditState& state)
{
    if (state.rectSet) return state.rect;
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    client.left += state.leftMargin;
    client.right = std::max(client.left, client.right - state.rightMargin);
    return client;
}

int VisibleLines(HWND hwnd, const EditState& state)
{
    const RECT rect = FormatRect(hwnd, state);
    return std::max(1, static_cast<int>(rect.bottom - rect.top) / std::max(1, state.lineHeight));
}

wchar_t Shown(const EditState& state, wchar_t c)
{
    return state.passwordChar && c != L'\r' && c != L'\n' ? state.passwordChar : c;
}

// Measures the font and every character not measured yet.
void Measure(HWND hwnd, EditState& state, const std::wstring& text)
{
    // A memory DC measures as the screen does, also for a window not shown yet.
    (void)hwnd;
    HDC hdc = CreateCompatibleDC(nullptr);
    if (!hdc) return;
    {
        FontSelection font(hdc, state.font);
        TEXTMETRICW metrics = {};
        if (GetTextMetricsW(hdc, &metrics)) {
            state.lineHeight = std::max<int>(1, metrics.tmHeight);
            state.averageWidth = std::max<int>(1, metrics.tmAveCharWidth);
        }
        for (wchar_t c : text) {
            const wchar_t shown = Shown(state, c);
            if (state.widths.count(shown)) continue;
            SIZE size = {0, 0};
            if (shown != L'\r' && shown != L'\n' && shown != L'\t') GetTextExtentPoint32W(hdc, &shown, 1, &size);
            state.widths[shown] = size.cx;
        }
    }
    DeleteDC(hdc);
}

int Advance(const EditState& state, wchar_t c)
{
    const wchar_t shown = Shown(state, c);
    if (shown == L'\t') return state.averageWidth * kTabColumns;
    auto found = state.widths.find(shown);
    return found == state.widths.end() ? 0 : found->second;
}

std::vector<int> Advances(const EditState& state, const std::wstring& text)
{
    std::vector<int> advances(text.size());
    for (size_t i = 0; i < text.size(); ++i) advances[i] = Advance(state, text[i]);
    return advances;
}

// The lines the text would fall into in this edit.
std::vector<EditLine> LinesOf(HWND hwnd, const EditState& state, const std::wstring& text,
                              const std::vector<int>& advances)
{
    if (!IsMultiLine(hwnd)) return {EditLine{0, static_cast<int>(text.size()), static_cast<int>(text.size())}};
    const RECT rect = FormatRect(hwnd, state);
    const int wrap = WordWrap(hwnd) ? std::max(0, static_cast<int>(rect.right - rect.left)) : -1;
    return BreakEditLines(text, advances, wrap);
}

void Relayout(HWND hwnd, EditState& state)
{
    Measure(hwnd, state, state.text);
    state.advances = Advances(state, state.text);
    state.lines = LinesOf(hwnd, state, state.text, state.advances);
}

int LineWidth(const EditState& state, const EditLine& line)
{
    int width = 0;
    for (int i = line.start; i < line.end; ++i) width += state.advances[static_cast<size_t>(i)];
    return width;
}

int TextWidth(const EditState& state, const std::wstring& text)
{
    int width = 0;
    for (wchar_t c : text) width += Advance(state, c);
    return width;
}

// The line holding a character index; at a soft break the index belongs to the line after it.
int LineOf(const EditState& state, int index)
{
    int line = 0;
    for (int i = 0; i < static_cast<int>(state.lines.size()); ++i)
        if (state.lines[static_cast<size_t>(i)].start <= index) line = i;
    return line;
}

// Pixels from the formatting rectangle's left to where the line starts.
int AlignOffset(HWND hwnd, const EditState& state, const EditLine& line)
{
    const RECT rect = FormatRect(hwnd, state);
    const int room = static_cast<int>(rect.right - rect.left) - LineWidth(state, line);
    if (room <= 0) return 0;
    const DWORD align = Style(hwnd) & (ES_CENTER | ES_RIGHT);
    if (align == ES_RIGHT) return room;
    if (align == ES_CENTER) return room / 2;
    return 0;
}

// Client coordinates of the top left of the character boundary at `index`.
POINT PositionOf(HWND hwnd, const EditState& state, int index)
{
    const RECT rect = FormatRect(hwnd, state);
    const int lineIndex = LineOf(state, index);
    const EditLine& line = state.lines[static_cast<size_t>(lineIndex)];
    int x = 0;
    for (int i = line.start; i < std::min(index, line.end); ++i) x += state.advances[static_cast<size_t>(i)];
    POINT point;
    point.x = rect.left + AlignOffset(hwnd, state, line) + x - state.xOffset;
    point.y = rect.top + (lineIndex - state.firstLine) * state.lineHeight;
    return point;
}

// The character boundary nearest to a client point, on the line under it.
int IndexFromPoint(HWND hwnd, const EditState& state, POINT point)
{
    const RECT rect = FormatRect(hwnd, state);
    int lineIndex = state.firstLine;
    if (IsMultiLine(hwnd)) {
        const int dy = static_cast<int>(point.y - rect.top);
        lineIndex += dy >= 0 ? dy / state.lineHeight : -1 - (-dy - 1) / state.lineHeight;
    }
    lineIndex = std::clamp(lineIndex, 0, static_cast<int>(state.lines.size()) - 1);
    const EditLine& line = state.lines[static_cast<size_t>(lineIndex)];
    const int x = static_cast<int>(point.x - rect.left) + state.xOffset - AlignOffset(hwnd, state, line);
    int left = 0;
    for (int i = line.start; i < line.end; ++i) {
        const int advance = state.advances[static_cast<size_t>(i)];
        if (x < left + (advance + 1) / 2) return i;
        left += advance;
    }
    // Past the end of a soft-broken line the caret stays on it: before its trailing blank.
    if (line.next == line.end && line.end > line.start && line.end < Length(state)) return line.end - 1;
    return line.end;
}

// ---- scrolling and the caret -------------------------------------------------------------

void UpdateScrollBars(HWND hwnd, const EditState& state)
{
    const DWORD style = Style(hwnd);
    if (!(style & ES_MULTILINE)) return;
    if (style & WS_VSCROLL) {
        SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL | SIF_DISABLENOSCROLL, 0,
                           static_cast<int>(state.lines.size()) - 1, static_cast<UINT>(VisibleLines(hwnd, state)),
                           state.firstLine, 0};
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    }
    if (style & WS_HSCROLL) {
        int widest = 0;
        for (const EditLine& line : state.lines) widest = std::max(widest, LineWidth(state, line));
        const RECT rect = FormatRect(hwnd, state);
        SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL | SIF_DISABLENOSCROLL, 0, widest,
                           static_cast<UINT>(std::max(1, static_cast<int>(rect.right - rect.left))), state.xOffset, 0};
        SetScrollInfo(hwnd, SB_HORZ, &info, TRUE);
    }
}

void PlaceCaret(HWND hwnd, const EditState& state)
{
    if (!state.focused) return;
    const POINT point = PositionOf(hwnd, state, state.caret);
    SetCaretPos(point.x, point.y);
}

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Keeps the first visible line and the horizontal offset within the text.
void ClampScroll(HWND hwnd, EditState& state)
{
    const int count = static_cast<int>(state.lines.size());
    state.firstLine = std::clamp(state.firstLine, 0, std::max(0, count - VisibleLines(hwnd, state)));
    if (!IsMultiLine(hwnd)) state.firstLine = 0;
    if (state.xOffset < 0) state.xOffset = 0;
}

// Scrolls so that the caret is in view, as EM_SCROLLCARET does.
void ScrollToCaret(HWND hwnd, EditState& state)
{
    const RECT rect = FormatRect(hwnd, state);
    const int width = std::max(1, static_cast<int>(rect.right - rect.left));
    if (IsMultiLine(hwnd)) {
        const int line = LineOf(state, state.caret);
        const int visible = VisibleLines(hwnd, state);
        if (line < state.firstLine) state.firstLine = line;
        if (line >= state.firstLine + visible) state.firstLine = line - visible + 1;
    }
    if (!WordWrap(hwnd)) {
        const EditLine& line = state.lines[static_cast<size_t>(LineOf(state, state.caret))];
        int x = AlignOffset(hwnd, state, line);
        for (int i = line.start; i < state.caret; ++i) x += state.advances[static_cast<size_t>(i)];
        // Windows jumps a quarter of the width rather than a pixel at a time.
        if (x < state.xOffset) state.xOffset = std::max(0, x - width / 4);
        if (x > state.xOffset + width - 1) state.xOffset = x - width + 1 + width / 4;
        if (LineWidth(state, line) <= width && Length(state) == line.end - line.start) state.xOffset = 0;
    } else {
        state.xOffset = 0;
    }
    ClampScroll(hwnd, state);
    UpdateScrollBars(hwnd, state);
    PlaceCaret(hwnd, state);
    Redraw(hwnd);
}

// ---- changing the text -------------------------------------------------------------------

std::wstring Converted(HWND hwnd, std::wstring text)
{
    const DWORD style = Style(hwnd);
    if (style & ES_UPPERCASE)
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    else if (style & ES_LOWERCASE)
        for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Whether the text fits an edit that does not scroll in some direction:
// within its width (its height), or no wider (no taller) than the text it
// holds now.
bool Fits(HWND hwnd, EditState& state, const std::wstring& text)
{
    const bool multi = IsMultiLine(hwnd);
    if (multi ? AutoVScroll(hwnd) : AutoHScroll(hwnd)) return true;
    Measure(hwnd, state, text);
    const RECT rect = FormatRect(hwnd, state);
    if (!multi) {
        const int width = TextWidth(state, text);
        return width <= rect.right - rect.left || width <= TextWidth(state, state.text);
    }
    const size_t lines = LinesOf(hwnd, state, text, Advances(state, text)).size();
    return static_cast<int>(lines) <= VisibleLines(hwnd, state) || lines <= state.lines.size();
}

// How much of `insert` a line break must not be split in.
size_t KeepWhole(const std::wstring& insert, size_t count)
{
    if (count > 0 && count < insert.size() && insert[count - 1] == L'\r' && insert[count] == L'\n') --count;
    return count;
}

void SaveUndo(EditState& state)
{
    state.canUndo = true;
    state.undoText = state.text;
    state.undoAnchor = state.anchor;
    state.undoCaret = state.caret;
}

// The parent hears of a change: EN_UPDATE first, EN_CHANGE after it. Its
// handlers may change the text again or destroy the edit.
void NotifyChange(HWND hwnd)
{
    NotifyParent(hwnd, EN_UPDATE);
    if (!IsWindow(hwnd)) return;
    NotifyParent(hwnd, EN_CHANGE);
}

// Replaces the selection, honouring the limits; the parent hears of a
// change (and of input the limits refused). FALSE when nothing changed.
bool ReplaceSelection(HWND hwnd, const std::wstring& text, bool undoable)
{
    EditState* state = State(hwnd);
    if (!state) return false;
    const int start = SelStart(*state), end = SelEnd(*state);
    std::wstring insert = Converted(hwnd, text);
    bool refused = false;
    const int room = std::max(state->limit, Length(*state)) - (Length(*state) - (end - start));
    if (static_cast<int>(insert.size()) > std::max(0, room)) {
        insert.resize(KeepWhole(insert, static_cast<size_t>(std::max(0, room))));
        refused = true;
    }
    const std::wstring before = state->text.substr(0, static_cast<size_t>(start));
    const std::wstring after = state->text.substr(static_cast<size_t>(end));
    if (!insert.empty() && !Fits(hwnd, *state, before + insert + after)) {
        // The longest part of the insertion that still fits.
        size_t low = 0, high = insert.size();
        while (low < high) {
            const size_t middle = (low + high + 1) / 2;
            if (Fits(hwnd, *state, before + insert.substr(0, middle) + after))
                low = middle;
            else
                high = middle - 1;
        }
        insert.resize(KeepWhole(insert, low));
        refused = true;
    }
    if (refused) {
        NotifyParent(hwnd, EN_MAXTEXT);
        state = State(hwnd);
        if (!state) return false;
    }
    if (insert.empty() && start == end) return false;
    if (undoable) SaveUndo(*state);
    state->text = before + insert + after;
    state->anchor = state->caret = start + static_cast<int>(insert.size());
    state->modified = true;
    state->goalX = -1;
    Relayout(hwnd, *state);
    MirrorText(hwnd, *state);
    ScrollToCaret(hwnd, *state);
    NotifyChange(hwnd);
    return true;
}

void SetText(HWND hwnd, const wchar_t* text, bool notify)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->text = Converted(hwnd, text ? text : L"");
    state->anchor = state->caret = 0;
    state->modified = false;
    state->canUndo = false;
    state->firstLine = 0;
    state->xOffset = 0;
    state->goalX = -1;
    Relayout(hwnd, *state);
    MirrorText(hwnd, *state);
    ClampScroll(hwnd, *state);
    UpdateScrollBars(hwnd, *state);
    PlaceCaret(hwnd, *state);
    Redraw(hwnd);
    // Windows keeps WM_SETTEXT quiet for multi-line edits and inside combo boxes.
    if (notify && !IsMultiLine(hwnd) && !state->inCombo) NotifyChange(hwnd);
}

void SetSelection(HWND hwnd, int anchor, int caret)
{
    EditState* state = State(hwnd);
    if (!state) return;
    const int length = Length(*state);
    if (anchor < 0) {
        // A start of -1 removes the selection and leaves the caret where it is.
        anchor = caret = state->caret;
    } else {
        anchor = std::min(anchor, length);
        caret = caret < 0 ? length : std::min(caret, length);
    }
    if (anchor == state->anchor && caret == state->caret) return;
    state->anchor = anchor;
    state->caret = caret;
    state->goalX = -1;
    PlaceCaret(hwnd, *state);
    Redraw(hwnd);
}

void Undo(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || !state->canUndo) return;
    // Undoing again redoes: the two texts change places.
    std::swap(state->text, state->undoText);
    std::swap(state->anchor, state->undoAnchor);
    std::swap(state->caret, state->undoCaret);
    state->modified = true;
    Relayout(hwnd, *state);
    MirrorText(hwnd, *state);
    ScrollToCaret(hwnd, *state);
    NotifyChange(hwnd);
}

// ---- the clipboard -----------------------------------------------------------------------

void Copy(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || SelStart(*state) == SelEnd(*state) || state->passwordChar) return;
    const std::wstring selected = state->text.substr(static_cast<size_t>(SelStart(*state)),
                                                     static_cast<size_t>(SelEnd(*state) - SelStart(*state)));
    SetClipboardText(hwnd, selected.c_str(), selected.size());
}

void Clear(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || IsReadOnly(hwnd) || SelStart(*state) == SelEnd(*state)) return;
    ReplaceSelection(hwnd, L"", true);
}

void Cut(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || IsReadOnly(hwnd) || state->passwordChar) return;
    Copy(hwnd);
    Clear(hwnd);
}

void Paste(HWND hwnd)
{
    if (IsReadOnly(hwnd)) return;
    std::wstring text;
    if (!GetClipboardText(hwnd, text)) return;
    // A single-line edit takes the first line of what is pasted.
    if (!IsMultiLine(hwnd)) {
        const size_t end = text.find_first_of(L"\r\n");
        if (end != std::wstring::npos) text.resize(end);
    }
    ReplaceSelection(hwnd, text, true);
}

// ---- keyboard ----------------------------------------------------------------------------

bool IsDelimiter(wchar_t c)
{
    return std::iswspace(c) != 0;
}

int PreviousChar(const EditState& state, int index)
{
    if (index <= 0) return 0;
    if (index >= 2 && state.text[static_cast<size_t>(index - 2)] == L'\r' &&
        state.text[static_cast<size_t>(index - 1)] == L'\n')
        return index - 2;
    return index - 1;
}

int NextChar(const EditState& state, int index)
{
    const int length = Length(state);
    if (index >= length) return length;
    if (index + 1 < length && state.text[static_cast<size_t>(index)] == L'\r' &&
        state.text[static_cast<size_t>(index + 1)] == L'\n')
        return index + 2;
    return index + 1;
}

int PreviousWord(const EditState& state, int index)
{
    while (index > 0 && IsDelimiter(state.text[static_cast<size_t>(index - 1)])) --index;
    while (index > 0 && !IsDelimiter(state.text[static_cast<size_t>(index - 1)])) --index;
    return index;
}

int NextWord(const EditState& state, int index)
{
    const int length = Length(state);
    while (index < length && !IsDelimiter(state.text[static_cast<size_t>(index)])) ++index;
    while (index < length && IsDelimiter(state.text[static_cast<size_t>(index)])) ++index;
    return index;
}

// The index on a line `delta` lines away nearest to the goal column.
int VerticalMove(HWND hwnd, EditState& state, int delta)
{
    const int line = LineOf(state, state.caret);
    const EditLine& from = state.lines[static_cast<size_t>(line)];
    if (state.goalX < 0) {
        state.goalX = AlignOffset(hwnd, state, from);
        for (int i = from.start; i < state.caret; ++i) state.goalX += state.advances[static_cast<size_t>(i)];
    }
    const int target = std::clamp(line + delta, 0, static_cast<int>(state.lines.size()) - 1);
    const RECT rect = FormatRect(hwnd, state);
    const POINT point = {rect.left + state.goalX - state.xOffset,
                         rect.top + (target - state.firstLine) * state.lineHeight};
    return IndexFromPoint(hwnd, state, point);
}

void MoveCaret(HWND hwnd, int index, bool extend, bool keepGoal = false)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->caret = std::clamp(index, 0, Length(*state));
    if (!extend) state->anchor = state->caret;
    if (!keepGoal) state->goalX = -1;
    ScrollToCaret(hwnd, *state);
}

void DeleteForward(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || IsReadOnly(hwnd)) return;
    if (SelStart(*state) == SelEnd(*state)) {
        if (state->caret >= Length(*state)) return;
        state->anchor = NextChar(*state, state->caret);
    }
    ReplaceSelection(hwnd, L"", true);
}

void DeleteBackward(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || IsReadOnly(hwnd)) return;
    if (SelStart(*state) == SelEnd(*state)) {
        if (state->caret == 0) return;
        state->anchor = PreviousChar(*state, state->caret);
    }
    ReplaceSelection(hwnd, L"", true);
}

// Keys a combo box handles for its edit: the list's keys.
bool ComboKey(UINT vk)
{
    return vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_F4 || vk == VK_RETURN ||
           vk == VK_ESCAPE;
}

void KeyDown(HWND hwnd, UINT message, WPARAM vk, LPARAM lParam)
{
    EditState* state = State(hwnd);
    if (!state) return;
    if (state->inCombo && (ComboKey(static_cast<UINT>(vk)) || message == WM_SYSKEYDOWN)) {
        SendMessageW(GetParent(hwnd), message, vk, lParam);
        return;
    }
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool multi = IsMultiLine(hwnd);
    const bool selection = SelStart(*state) != SelEnd(*state);
    const EditLine& line = state->lines[static_cast<size_t>(LineOf(*state, state->caret))];
    switch (vk) {
    case VK_LEFT:
        if (!shift && selection && !control) return MoveCaret(hwnd, SelStart(*state), false);
        return MoveCaret(hwnd, control ? PreviousWord(*state, state->caret) : PreviousChar(*state, state->caret),
                         shift);
    case VK_RIGHT:
        if (!shift && selection && !control) return MoveCaret(hwnd, SelEnd(*state), false);
        return MoveCaret(hwnd, control ? NextWord(*state, state->caret) : NextChar(*state, state->caret), shift);
    case VK_UP:
        if (!multi) return KeyDown(hwnd, message, VK_LEFT, lParam);
        return MoveCaret(hwnd, VerticalMove(hwnd, *state, -1), shift, true);
    case VK_DOWN:
        if (!multi) return KeyDown(hwnd, message, VK_RIGHT, lParam);
        return MoveCaret(hwnd, VerticalMove(hwnd, *state, 1), shift, true);
    case VK_PRIOR:
        if (multi) MoveCaret(hwnd, VerticalMove(hwnd, *state, -VisibleLines(hwnd, *state)), shift, true);
        return;
    case VK_NEXT:
        if (multi) MoveCaret(hwnd, VerticalMove(hwnd, *state, VisibleLines(hwnd, *state)), shift, true);
        return;
    case VK_HOME: return MoveCaret(hwnd, control || !multi ? 0 : line.start, shift);
    case VK_END: {
        int end = line.end;
        // The end of a soft-broken line is before its trailing blank.
        if (line.next == line.end && line.end > line.start && line.end < Length(*state)) end = line.end - 1;
        return MoveCaret(hwnd, control || !multi ? Length(*state) : end, shift);
    }
    case VK_DELETE:
        if (shift) return Cut(hwnd);
        return DeleteForward(hwnd);
    case VK_INSERT:
        if (control) Copy(hwnd);
        if (shift) Paste(hwnd);
        return;
    default: return;
    }
}

bool IsDigit(wchar_t c)
{
    return std::iswdigit(c) != 0;
}

void Char(HWND hwnd, wchar_t c)
{
    EditState* state = State(hwnd);
    if (!state) return;
    switch (c) {
    case 0x01: SetSelection(hwnd, 0, Length(*state)); return;   // Ctrl+A
    case 0x03: Copy(hwnd); return;                                 // Ctrl+C
    case 0x16: Paste(hwnd); return;                                // Ctrl+V
    case 0x18: Cut(hwnd); return;                                  // Ctrl+X
    case 0x1A: Undo(hwnd); return;                                 // Ctrl+Z
    case L'\b': DeleteBackward(hwnd); return;
    default: break;
    }
    if (IsReadOnly(hwnd)) return;
    const bool multi = IsMultiLine(hwnd);
    if (c == L'\r' || c == L'\n') {
        if (multi) ReplaceSelection(hwnd, L"\r\n", true);
        return;
    }
    if (c == L'\t') {
        if (multi) ReplaceSelection(hwnd, L"\t", true);
        return;
    }
    if (c < 0x20 || c == 0x7F) return;
    if ((Style(hwnd) & ES_NUMBER) && !IsDigit(c)) {
        MessageBeep(MB_OK);
        return;
    }
    ReplaceSelection(hwnd, std::wstring(1, c), true);
}

// ---- mouse -------------------------------------------------------------------------------

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

void ButtonDown(HWND hwnd, LPARAM lParam)
{
    if (GetFocus() != hwnd) SetFocus(hwnd);
    EditState* state = State(hwnd);
    if (!state) return;
    const int index = IndexFromPoint(hwnd, *state, PointOf(lParam));
    state->tracking = true;
    SetCapture(hwnd);
    state = State(hwnd);
    if (!state) return;
    MoveCaret(hwnd, index, GetKeyState(VK_SHIFT) < 0);
}

void MouseMove(HWND hwnd, LPARAM lParam)
{
    EditState* state = State(hwnd);
    if (!state || !state->tracking || GetCapture() != hwnd) return;
    MoveCaret(hwnd, IndexFromPoint(hwnd, *state, PointOf(lParam)), true);
}

void ButtonUp(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state || !state->tracking) return;
    state->tracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
}

void SelectWordAt(HWND hwnd, LPARAM lParam)
{
    EditState* state = State(hwnd);
    if (!state) return;
    const int index = IndexFromPoint(hwnd, *state, PointOf(lParam));
    const int length = Length(*state);
    int start = index, end = index;
    const bool delimiter = index < length && IsDelimiter(state->text[static_cast<size_t>(index)]);
    while (start > 0 && IsDelimiter(state->text[static_cast<size_t>(start - 1)]) == delimiter) --start;
    while (end < length && IsDelimiter(state->text[static_cast<size_t>(end)]) == delimiter) ++end;
    state->anchor = start;
    state->caret = end;
    ScrollToCaret(hwnd, *state);
}

// ---- painting ----------------------------------------------------------------------------

// Draws text[from, to) of a line with its left at x; tabs advance without a glyph.
void DrawRun(HDC hdc, const EditState& state, int from, int to, int x, int y)
{
    int runStart = from;
    int runX = x;
    for (int i = from; i <= to; ++i) {
        const bool tab = i < to && state.text[static_cast<size_t>(i)] == L'\t';
        if (i < to && !tab) continue;
        if (i > runStart) {
            std::wstring shown;
            for (int k = runStart; k < i; ++k) shown.push_back(Shown(state, state.text[static_cast<size_t>(k)]));
            TextOutW(hdc, runX, y, shown.c_str(), static_cast<int>(shown.size()));
        }
        for (int k = runStart; k <= std::min(i, to - 1); ++k) runX += state.advances[static_cast<size_t>(k)];
        runStart = i + 1;
    }
}

void PaintLine(HWND hwnd, HDC hdc, const EditState& state, int lineIndex, bool showSelection)
{
    const EditLine& line = state.lines[static_cast<size_t>(lineIndex)];
    const RECT rect = FormatRect(hwnd, state);
    const int left = rect.left + AlignOffset(hwnd, state, line) - state.xOffset;
    const int top = rect.top + (lineIndex - state.firstLine) * state.lineHeight;
    DrawRun(hdc, state, line.start, line.end, left, top);
    if (!showSelection) return;
    const int from = std::max(line.start, SelStart(state));
    const int to = std::min(line.end, SelEnd(state));
    if (from >= to) return;
    int x = left;
    for (int i = line.start; i < from; ++i) x += state.advances[static_cast<size_t>(i)];
    int width = 0;
    for (int i = from; i < to; ++i) width += state.advances[static_cast<size_t>(i)];
    const int saved = SaveDC(hdc);
    const RECT highlight = {x, top, x + width, top + state.lineHeight};
    FillRect(hdc, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetBkMode(hdc, TRANSPARENT);
    DrawRun(hdc, state, from, to, x, top);
    RestoreDC(hdc, saved);
}

void Paint(HWND hwnd)
{
    ControlPaint paint(hwnd);
    EditState* state = State(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& client = paint.Client();
    paint.SelectFont(state->font);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const HBRUSH brush =
        ControlColors(hwnd, hdc, IsReadOnly(hwnd) || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    state = State(hwnd);
    if (state) {
        if (!enabled) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        FillRect(hdc, &client, brush);
        const RECT rect = FormatRect(hwnd, *state);
        IntersectClipRect(hdc, rect.left, rect.top, rect.right, rect.bottom);
        const bool showSelection = state->focused || (Style(hwnd) & ES_NOHIDESEL);
        const int last = std::min(static_cast<int>(state->lines.size()),
                                  state->firstLine + VisibleLines(hwnd, *state) + 1);
        for (int i = state->firstLine; i < last; ++i) PaintLine(hwnd, hdc, *state, i, showSelection);
    }
}

// ---- focus -------------------------------------------------------------------------------

void SetFocusState(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->focused = true;
    CreateCaret(hwnd, nullptr, 1, state->lineHeight);
    PlaceCaret(hwnd, *state);
    ShowCaret(hwnd);
    Redraw(hwnd);
    NotifyParent(hwnd, EN_SETFOCUS);
}

void DropCaret(HWND hwnd)
{
    HWND owner = nullptr;
    RECT caret;
    bool shown = false;
    if (GetCaretState(owner, caret, shown) && owner == hwnd) DestroyCaret();
}

void KillFocusState(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->focused = false;
    DropCaret(hwnd);
    ButtonUp(hwnd);
    Redraw(hwnd);
    NotifyParent(hwnd, EN_KILLFOCUS);
}

// ---- messages ----------------------------------------------------------------------------

LRESULT DialogCode(HWND hwnd, LPARAM lParam)
{
    EditState* state = State(hwnd);
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    const bool multi = IsMultiLine(hwnd);
    if (multi) code |= DLGC_WANTALLKEYS;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (!msg || msg->message != WM_KEYDOWN) return code;
    const WPARAM vk = msg->wParam;
    // In a dialog Tab and Escape belong to the dialog, and so does Return unless the edit wants it.
    if (multi && (vk == VK_TAB || vk == VK_ESCAPE || (vk == VK_RETURN && !(Style(hwnd) & ES_WANTRETURN))))
        code &= ~DLGC_WANTALLKEYS;
    // A combo box with its list down takes Return and Escape to close it.
    if (state && state->inCombo && (vk == VK_RETURN || vk == VK_ESCAPE) &&
        SendMessageW(GetParent(hwnd), CB_GETDROPPEDSTATE, 0, 0))
        code |= DLGC_WANTALLKEYS;
    return code;
}

void Create(HWND hwnd, const CREATESTRUCTW* cs)
{
    EditState* state = State(hwnd);
    if (!state) return;
    if (HWND parent = GetParent(hwnd)) {
        wchar_t name[32] = {0};
        GetClassNameW(parent, name, 32);
        state->inCombo = _wcsicmp(name, WC_COMBOBOX) == 0;
    }
    if (Style(hwnd) & ES_PASSWORD) state->passwordChar = L'*';
    const wchar_t* text = cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : L"";
    SetText(hwnd, text, false);
}

void SetFont(HWND hwnd, HFONT font, bool redraw)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->font = font;
    state->widths.clear();
    Relayout(hwnd, *state);
    ClampScroll(hwnd, *state);
    UpdateScrollBars(hwnd, *state);
    if (state->focused) {
        CreateCaret(hwnd, nullptr, 1, state->lineHeight);
        PlaceCaret(hwnd, *state);
        ShowCaret(hwnd);
    }
    if (redraw) Redraw(hwnd);
}

void Resized(HWND hwnd)
{
    EditState* state = State(hwnd);
    if (!state) return;
    Relayout(hwnd, *state);
    ClampScroll(hwnd, *state);
    UpdateScrollBars(hwnd, *state);
    PlaceCaret(hwnd, *state);
    Redraw(hwnd);
}

void SetFormatRect(HWND hwnd, const RECT* rect, bool redraw)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->rectSet = rect != nullptr;
    if (rect) state->rect = *rect;
    Relayout(hwnd, *state);
    ClampScroll(hwnd, *state);
    UpdateScrollBars(hwnd, *state);
    PlaceCaret(hwnd, *state);
    if (redraw) Redraw(hwnd);
}

void SetMargins(HWND hwnd, WPARAM which, LPARAM margins)
{
    EditState* state = State(hwnd);
    if (!state) return;
    // EC_USEFONTINFO asks for the font's margins: the default ones here.
    const bool fromFont = LOWORD(which) == EC_USEFONTINFO;
    if (fromFont || (which & EC_LEFTMARGIN)) state->leftMargin = fromFont ? kDefaultMargin : LOWORD(margins);
    if (fromFont || (which & EC_RIGHTMARGIN)) state->rightMargin = fromFont ? kDefaultMargin : HIWORD(margins);
    if (!state->rectSet) Resized(hwnd);
}

void Scroll(HWND hwnd, int lines, int pixels)
{
    EditState* state = State(hwnd);
    if (!state) return;
    state->firstLine += lines;
    state->xOffset += pixels;
    ClampScroll(hwnd, *state);
    UpdateScrollBars(hwnd, *state);
    PlaceCaret(hwnd, *state);
    Redraw(hwnd);
}

// Lines a scroll bar request moves; `position` is the thumb's for SB_THUMB*.
int ScrollAmount(HWND hwnd, const EditState& state, int request, int position)
{
    const int page = VisibleLines(hwnd, state);
    switch (request) {
    case SB_LINEUP: return -1;
    case SB_LINEDOWN: return 1;
    case SB_PAGEUP: return -page;
    case SB_PAGEDOWN: return page;
    case SB_TOP: return -state.firstLine;
    case SB_BOTTOM: return static_cast<int>(state.lines.size());
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return position - state.firstLine;
    default: return 0;
    }
}

LRESULT VScroll(HWND hwnd, int request, int position, bool fromBar)
{
    EditState* state = State(hwnd);
    if (!state || !IsMultiLine(hwnd)) return FALSE;
    const int before = state->firstLine;
    if (fromBar) NotifyParent(hwnd, EN_VSCROLL);
    state = State(hwnd);
    if (!state) return FALSE;
    Scroll(hwnd, ScrollAmount(hwnd, *state, request, position), 0);
    state = State(hwnd);
    const int moved = state ? state->firstLine - before : 0;
    return MAKELONG(moved, TRUE);
}

void HScroll(HWND hwnd, int request, int position)
{
    EditState* state = State(hwnd);
    if (!state) return;
    const RECT rect = FormatRect(hwnd, *state);
    const int page = std::max(1, static_cast<int>(rect.right - rect.left));
    int delta = 0;
    switch (request) {
    case SB_LINELEFT: delta = -state->averageWidth; break;
    case SB_LINERIGHT: delta = state->averageWidth; break;
    case SB_PAGELEFT: delta = -page; break;
    case SB_PAGERIGHT: delta = page; break;
    case SB_LEFT: delta = -state->xOffset; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: delta = position - state->xOffset; break;
    default: break;
    }
    NotifyParent(hwnd, EN_HSCROLL);
    Scroll(hwnd, 0, delta);
}

LRESULT GetSel(const EditState& state, WPARAM wParam, LPARAM lParam)
{
    if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(SelStart(state));
    if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(SelEnd(state));
    return MAKELONG(std::min(SelStart(state), 0xFFFF), std::min(SelEnd(state), 0xFFFF));
}

LRESULT GetLine(HWND hwnd, const EditState& state, WPARAM wParam, LPARAM lParam)
{
    if (!lParam) return 0;
    const int lineIndex = IsMultiLine(hwnd) ? static_cast<int>(wParam) : 0;
    if (lineIndex < 0 || lineIndex >= static_cast<int>(state.lines.size())) return 0;
    // The caller puts the buffer's size, in characters, in its first word.
    WORD capacity = 0;
    std::memcpy(&capacity, reinterpret_cast<const void*>(lParam), sizeof(capacity));
    const EditLine& line = state.lines[static_cast<size_t>(lineIndex)];
    const int count = std::min<int>(capacity, line.end - line.start);
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    std::copy(state.text.begin() + line.start, state.text.begin() + line.start + count, buffer);
    if (count < capacity) buffer[count] = L'\0';
    return count;
}

LRESULT LineIndex(HWND hwnd, const EditState& state, int line)
{
    if (line < 0) line = LineOf(state, state.caret);
    if (!IsMultiLine(hwnd)) return line == 0 ? 0 : -1;
    if (line >= static_cast<int>(state.lines.size())) return -1;
    return state.lines[static_cast<size_t>(line)].start;
}

LRESULT LineLength(const EditState& state, int index)
{
    if (index > Length(state)) return 0;
    if (index < 0) {
        // The characters of the selection's lines that are not selected.
        const EditLine& first = state.lines[static_cast<size_t>(LineOf(state, SelStart(state)))];
        const EditLine& last = state.lines[static_cast<size_t>(LineOf(state, SelEnd(state)))];
        return (SelStart(state) - first.start) + std::max(0, last.end - SelEnd(state));
    }
    const EditLine& line = state.lines[static_cast<size_t>(LineOf(state, index))];
    return line.end - line.start;
}

LRESULT LineFromChar(HWND hwnd, const EditState& state, int index)
{
    if (!IsMultiLine(hwnd)) return 0;
    if (index < 0) index = SelStart(state) != SelEnd(state) ? SelStart(state) : state.caret;
    return LineOf(state, std::min(index, Length(state)));
}

LRESULT PosFromChar(HWND hwnd, const EditState& state, int index)
{
    if (index < 0 || index >= Length(state)) return -1;
    const POINT point = PositionOf(hwnd, state, index);
    return MAKELONG(static_cast<SHORT>(point.x), static_cast<SHORT>(point.y));
}

LRESULT CharFromPos(HWND hwnd, const EditState& state, LPARAM lParam)
{
    const int index = IndexFromPoint(hwnd, state, PointOf(lParam));
    return MAKELONG(index, LineOf(state, index));
}

LRESULT CopyText(const EditState& state, WPARAM capacity, LPARAM lParam)
{
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (!buffer || capacity == 0) return 0;
    const size_t count = std::min(state.text.size(), static_cast<size_t>(capacity) - 1);
    std::copy(state.text.begin(), state.text.begin() + static_cast<std::ptrdiff_t>(count), buffer);
    buffer[count] = L'\0';
    return static_cast<LRESULT>(count);
}

void SetReadOnly(HWND hwnd, bool readOnly)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return;
    if (readOnly)
        window->style |= ES_READONLY;
    else
        window->style &= ~ES_READONLY;
    Redraw(hwnd);
}

void SetPasswordChar(HWND hwnd, wchar_t c)
{
    EditState* state = State(hwnd);
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!state || !window) return;
    state->passwordChar = c;
    if (c)
        window->style |= ES_PASSWORD;
    else
        window->style &= ~ES_PASSWORD;
    Resized(hwnd);
}

LRESULT EditMessage(HWND hwnd, EditState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case EM_GETSEL: return GetSel(state, wParam, lParam);
    case EM_SETSEL:
        SetSelection(hwnd, static_cast<int>(static_cast<INT_PTR>(wParam)), static_cast<int>(lParam));
        return 0;
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        ReplaceSelection(hwnd, text ? text : L"", wParam != 0);
        return 0;
    }
    case EM_SCROLLCARET: ScrollToCaret(hwnd, state); return TRUE;
    case EM_GETMODIFY: return state.modified ? TRUE : FALSE;
    case EM_SETMODIFY: state.modified = wParam != 0; return 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(state.lines.size());
    case EM_LINEINDEX: return LineIndex(hwnd, state, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case EM_LINELENGTH: return LineLength(state, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case EM_LINEFROMCHAR: return LineFromChar(hwnd, state, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case EM_GETLINE: return GetLine(hwnd, state, wParam, lParam);
    case EM_LIMITTEXT:
        state.limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, kMaximumLimit)) : kMaximumLimit;
        return 0;
    case EM_GETLIMITTEXT: return state.limit;
    case EM_SETREADONLY: SetReadOnly(hwnd, wParam != 0); return TRUE;
    case EM_GETRECT:
        if (lParam) *reinterpret_cast<RECT*>(lParam) = FormatRect(hwnd, state);
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: SetFormatRect(hwnd, reinterpret_cast<const RECT*>(lParam), message == EM_SETRECT); return 0;
    case EM_SETMARGINS: SetMargins(hwnd, wParam, lParam); return 0;
    case EM_GETMARGINS: return MAKELONG(state.leftMargin, state.rightMargin);
    case EM_GETFIRSTVISIBLELINE: {
        if (IsMultiLine(hwnd)) return state.firstLine;
        // A single-line edit answers with the first character in view.
        return IndexFromPoint(hwnd, state, POINT{FormatRect(hwnd, state).left, 0});
    }
    case EM_LINESCROLL:
        if (!IsMultiLine(hwnd)) return FALSE;
        Scroll(hwnd, static_cast<int>(lParam), static_cast<int>(static_cast<INT_PTR>(wParam)) * state.averageWidth);
        return TRUE;
    case EM_SCROLL: return VScroll(hwnd, static_cast<int>(wParam), 0, false);
    case EM_GETTHUMB: return state.firstLine;
    case EM_POSFROMCHAR: return PosFromChar(hwnd, state, static_cast<int>(static_cast<INT_PTR>(wParam)));
    case EM_CHARFROMPOS: return CharFromPos(hwnd, state, lParam);
    case EM_CANUNDO: return state.canUndo ? TRUE : FALSE;
    case EM_UNDO: Undo(hwnd); return TRUE;
    case EM_EMPTYUNDOBUFFER: state.canUndo = false; return 0;
    case EM_SETPASSWORDCHAR: SetPasswordChar(hwnd, static_cast<wchar_t>(wParam)); return 0;
    case EM_GETPASSWORDCHAR: return state.passwordChar;
    case EM_SETTABSTOPS: return TRUE;
    case EM_FMTLINES: return wParam ? TRUE : FALSE;
    default: return 0;
    }
}

LRESULT EditWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    EditState* state = State(hwnd);
    if (!state) return 0;
    if (message >= EM_GETSEL && message <= EM_CHARFROMPOS) return EditMessage(hwnd, *state, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: Create(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_GETDLGCODE: return DialogCode(hwnd, lParam);
    case WM_ERASEBKGND: return 1;   // the edit paints its background with its text
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT: SetFont(hwnd, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: SetText(hwnd, reinterpret_cast<const wchar_t*>(lParam), true); return TRUE;
    case WM_GETTEXT: return CopyText(*state, wParam, lParam);
    case WM_GETTEXTLENGTH: return Length(*state);
    case WM_SIZE:
    case WM_STYLECHANGED: Resized(hwnd); return 0;
    case WM_ENABLE: Redraw(hwnd); return 0;
    case WM_SETFOCUS: SetFocusState(hwnd); return 0;
    case WM_KILLFOCUS: KillFocusState(hwnd); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (message == WM_SYSKEYDOWN && !state->inCombo) return DefWindowProcW(hwnd, message, wParam, lParam);
        KeyDown(hwnd, message, wParam, lParam);
        return 0;
    case WM_CHAR: Char(hwnd, static_cast<wchar_t>(wParam)); return 0;
    case WM_LBUTTONDOWN: ButtonDown(hwnd, lParam); return 0;
    case WM_LBUTTONDBLCLK: SelectWordAt(hwnd, lParam); return 0;
    case WM_MOUSEMOVE: MouseMove(hwnd, lParam); return 0;
    case WM_LBUTTONUP: ButtonUp(hwnd); return 0;
    case WM_CAPTURECHANGED: state->tracking = false; return 0;
    case WM_VSCROLL: VScroll(hwnd, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)), true); return 0;
    case WM_HSCROLL: HScroll(hwnd, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam))); return 0;
    case WM_MOUSEWHEEL:
        if (!IsMultiLine(hwnd)) return DefWindowProcW(hwnd, message, wParam, lParam);
        Scroll(hwnd, -static_cast<SHORT>(HIWORD(wParam)) / 120 * kWheelLines, 0);
        return 0;
    case WM_CUT: Cut(hwnd); return 0;
    case WM_COPY: Copy(hwnd); return 0;
    case WM_PASTE: Paste(hwnd); return 0;
    case WM_CLEAR: Clear(hwnd); return 0;
    case WM_UNDO: Undo(hwnd); return TRUE;
    case WM_DESTROY: DropCaret(hwnd); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_editClass(WC_EDIT, &EditWndProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM, 0, 0);

}  // namespace

}  // namespace platform::ui
