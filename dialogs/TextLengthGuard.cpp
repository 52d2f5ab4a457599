#include "dialogs/TextLengthGuard.h"

#include "core/MemoryHelpers.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/WindowClass.h"

namespace {

// The edit field of a drop-down combo box.
CWnd* ComboEdit(CWnd& combo)
{
    for (CWnd* child = combo.GetWindow(GW_CHILD); child; child = child->GetNextWindow(GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child->GetSafeHwnd(), name, 16);
        if (CString(name).CompareNoCase(WC_EDIT) == 0) return child;
    }
    return nullptr;
}

int OwnLimit(CWnd& edit)
{
    return static_cast<int>(edit.SendMessage(EM_GETLIMITTEXT));
}

}  // namespace

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

void GuardEditToItsLimit(CWnd* edit)
{
    if (edit && GuardTextLength(*edit, OwnLimit(*edit))) edit->SendMessage(EM_SCROLLCARET);
}

void GuardComboToItsLimit(CWnd* combo)
{
    CWnd* edit = combo ? ComboEdit(*combo) : nullptr;
    if (!edit || !GuardTextLength(*edit, OwnLimit(*edit))) return;
    CString cut;
    edit->GetWindowText(cut);
    combo->SetWindowText(cut);
    combo->SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(cut.GetLength(), cut.GetLength()));
}
