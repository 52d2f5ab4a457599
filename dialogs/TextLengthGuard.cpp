#include "dialogs/TextLengthGuard.h"

#include "core/TextColumns.h"
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

// Sets the leading part `cut` of the window's text, caret at its end; TRUE
// when it is shorter than the text.
static BOOL KeepLeadingPart(CWnd& edit, const CString& text, const CString& cut)
{
    if (cut.GetLength() == text.GetLength()) return FALSE;
    edit.SetWindowText(cut);
    edit.SendMessage(EM_SETSEL, cut.GetLength(), cut.GetLength());
    return TRUE;
}

BOOL GuardTextLength(CWnd& edit, int limit)
{
    CString text;
    edit.GetWindowText(text);
    return KeepLeadingPart(edit, text, CutToColumns(text, limit));
}

BOOL GuardTextLength(CWnd& edit, CString (*fit)(const CString&))
{
    CString text;
    edit.GetWindowText(text);
    return KeepLeadingPart(edit, text, fit(text));
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
