#include "controls/TypedTextLimit.h"

#include <algorithm>

#include "core/TextColumns.h"
#include "platform/ui/framework/Wnd.h"

CString FitTypedChange(const CString& before, const CString& after, int limit, int& caret)
{
    const int afterColumns = GetTextColumns(after);
    const int room = std::max(limit, GetTextColumns(before));
    caret = after.GetLength();
    if (afterColumns <= room) return after;
    // The parts both texts share: the person's change lies between them.
    const int shortest = std::min(before.GetLength(), after.GetLength());
    int head = 0;
    while (head < shortest && before[head] == after[head]) ++head;
    int tail = 0;
    while (tail < shortest - head && before[before.GetLength() - 1 - tail] == after[after.GetLength() - 1 - tail])
        ++tail;
    const CString start = after.Left(head), end = after.Right(tail);
    const CString inserted = after.Mid(head, after.GetLength() - head - tail);
    const CString kept = CutToColumns(inserted, std::max(0, room - GetTextColumns(start + end)));
    caret = head + kept.GetLength();
    return start + kept + end;
}

BOOL GuardTypedText(CWnd& edit, int limit, CString& accepted)
{
    CString text;
    edit.GetWindowText(text);
    // WM_SETTEXT clears the flag, typing and pasting set it: a text the
    // program set is the field's as it stands.
    if (!edit.SendMessage(EM_GETMODIFY)) {
        accepted = text;
        return FALSE;
    }
    int caret = 0;
    const CString fit = FitTypedChange(accepted, text, limit, caret);
    accepted = fit;
    if (fit.GetLength() == text.GetLength()) return FALSE;
    edit.SetWindowText(fit);
    // Still the person's change, as far as it was taken.
    edit.SendMessage(EM_SETMODIFY, TRUE);
    edit.SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
    return TRUE;
}
