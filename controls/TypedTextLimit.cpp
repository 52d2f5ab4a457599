#include "controls/TypedTextLimit.h"

#include <algorithm>
#include <functional>

#include "core/TextColumns.h"
#include "platform/ui/framework/Wnd.h"

namespace {

// Whether a whole text, the person's change in it cut to a number of its
// characters, is one the field keeps.
using Fits = std::function<bool(const CString&)>;

// Where a cut may fall in `text`: never between a CR and its LF, nor inside
// a surrogate pair; the nearest such place at or before `at`.
int WholeCut(const CString& text, int at)
{
    if (at <= 0 || at >= text.GetLength()) return at;
    const wchar_t last = text[at - 1], next = text[at];
    const bool lineBreak = last == L'\r' && next == L'\n';
    const bool pair = last >= 0xD800 && last <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF;
    return lineBreak || pair ? at - 1 : at;
}

CString FitChange(const CString& before, const CString& after, const Fits& fits, int& caret)
{
    caret = after.GetLength();
    if (fits(after)) return after;
    // The parts both texts share: the person's change lies between them.
    const int shortest = std::min(before.GetLength(), after.GetLength());
    int head = 0;
    while (head < shortest && before[head] == after[head]) ++head;
    int tail = 0;
    while (tail < shortest - head && before[before.GetLength() - 1 - tail] == after[after.GetLength() - 1 - tail])
        ++tail;
    const CString start = after.Left(head), end = after.Right(tail);
    const CString inserted = after.Mid(head, after.GetLength() - head - tail);
    // Deleting is always taken, whatever the text it leaves.
    if (inserted.IsEmpty()) return after;
    // The longest leading part of what was inserted that the field keeps:
    // adding to it never makes a text that was not kept a kept one.
    int low = 0, high = inserted.GetLength() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(start + inserted.Left(middle) + end))
            low = middle;
        else
            high = middle - 1;
    }
    const int kept = WholeCut(inserted, low);
    caret = head + kept;
    return start + inserted.Left(kept) + end;
}

BOOL GuardChange(CWnd& edit, GuardedText& field,
                 const std::function<CString(const CString&, const CString&, int&)>& fitChange)
{
    CString text;
    edit.GetWindowText(text);
    // WM_SETTEXT clears the flag, typing and pasting set it: a text the
    // program set is the field's as it stands.
    if (!edit.SendMessage(EM_GETMODIFY)) {
        field.Load(text);
        return FALSE;
    }
    // The edit's undo swaps its text with the one before the last change,
    // and undoing again swaps them back: a text the field held is taken as
    // it was, however far past the limit, never fitted as if typed.
    if (field.canUndo && text == field.before) {
        field.before = field.accepted;
        field.accepted = text;
        return FALSE;
    }
    int caret = 0;
    const CString fit = fitChange(field.accepted, text, caret);
    if (fit.GetLength() == text.GetLength()) {
        field.before = field.accepted;
        field.accepted = fit;
        field.canUndo = true;
        return FALSE;
    }
    // Setting the text empties the edit's undo: there is nothing to bring back.
    field.Load(fit);
    edit.SetWindowText(fit);
    // Still the person's change, as far as it was taken.
    edit.SendMessage(EM_SETMODIFY, TRUE);
    edit.SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
    return TRUE;
}

}  // namespace

CString FitTypedChange(const CString& before, const CString& after, int limit, int& caret)
{
    const int room = std::max(limit, GetTextColumns(before));
    return FitChange(before, after, [room](const CString& text) { return GetTextColumns(text) <= room; }, caret);
}

CString FitTypedChange(const CString& before, const CString& after, TextFit fit, int& caret)
{
    // The columns of what the store drops of a text, past the part it keeps.
    const auto dropped = [fit](const CString& text) { return GetTextColumns(text.Mid(fit(text).GetLength())); };
    // A text loaded past that part may be changed where the change leaves it
    // no wider and drops no more of it.
    const int columns = GetTextColumns(before), room = dropped(before);
    return FitChange(before, after, [&](const CString& text) {
        const int lost = dropped(text);
        return lost == 0 || (lost <= room && GetTextColumns(text) <= columns);
    }, caret);
}

void GuardedText::Load(const CString& text)
{
    accepted = text;
    before.Empty();
    canUndo = false;
}

void GuardedText::Load(const CWnd& edit)
{
    CString text;
    edit.GetWindowText(text);
    Load(text);
}

BOOL GuardTypedText(CWnd& edit, int limit, GuardedText& field)
{
    return GuardChange(edit, field, [limit](const CString& before, const CString& after, int& caret) {
        return FitTypedChange(before, after, limit, caret);
    });
}

BOOL GuardTypedText(CWnd& edit, TextFit fit, GuardedText& field)
{
    return GuardChange(edit, field, [fit](const CString& before, const CString& after, int& caret) {
        return FitTypedChange(before, after, fit, caret);
    });
}
