#include "dialogs/TextLengthGuard.h"

#include "core/MemoryHelpers.h"
#include "platform/ui/framework/Wnd.h"

CString CutToByteLimit(const CString& text, int limit)
{
    if (GetCharLength(text) <= limit) return text;
    int keep = text.GetLength();
    while (keep > 0 && GetCharLength(text.Left(keep)) > limit) --keep;
    return text.Left(keep);
}

BOOL GuardTextLength(CWnd& edit, int limit)
{
    CString text;
    edit.GetWindowText(text);
    const CString cut = CutToByteLimit(text, limit);
    if (cut.GetLength() == text.GetLength()) return FALSE;
    edit.SetWindowText(cut);
    edit.SendMessage(EM_SETSEL, cut.GetLength(), cut.GetLength());
    return TRUE;
}
