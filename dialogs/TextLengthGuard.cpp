#include "dialogs/TextLengthGuard.h"

#include <iterator>
#include <map>

#include "controls/TypedTextLimit.h"
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

// What the guard keeps of each guarded field, by its window (a handle is
// not used again for a new window); those of closed windows are let go as
// more fields come.
std::map<HWND, GuardedText>& GuardedTexts()
{
    static std::map<HWND, GuardedText> texts;
    if (texts.size() > 256) {
        for (auto it = texts.begin(); it != texts.end();) it = ::IsWindow(it->first) ? std::next(it) : texts.erase(it);
    }
    return texts;
}

int OwnLimit(CWnd& edit)
{
    return static_cast<int>(edit.SendMessage(EM_GETLIMITTEXT));
}

// What the guard keeps of the field, the text it held before the person's
// change now in it first. A field the guard has not seen held, as one key
// leaves it, its text without the character before the caret.
GuardedText& Guarded(CWnd& edit)
{
    auto& texts = GuardedTexts();
    const auto found = texts.find(edit.GetSafeHwnd());
    if (found != texts.end()) return found->second;
    CString text;
    edit.GetWindowText(text);
    DWORD start = 0, end = 0;
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int caret = static_cast<int>(end);
    if (caret > 0 && caret <= text.GetLength()) text.Delete(caret - 1);
    GuardedText& field = texts[edit.GetSafeHwnd()];
    field.Load(text);
    return field;
}

}  // namespace

BOOL GuardTextLength(CWnd& edit, int limit)
{
    return GuardTypedText(edit, limit, Guarded(edit));
}

void NoteLoadedText(CWnd* control)
{
    if (!control || !control->GetSafeHwnd()) return;
    CWnd* edit = ComboEdit(*control);
    if (!edit) edit = control;
    GuardedTexts()[edit->GetSafeHwnd()].Load(*edit);
}

BOOL GuardTextLength(CWnd& edit, TextFit fit)
{
    return GuardTypedText(edit, fit, Guarded(edit));
}

void GuardEditToItsLimit(CWnd* edit)
{
    if (edit && GuardTextLength(*edit, OwnLimit(*edit))) edit->SendMessage(EM_SCROLLCARET);
}

BOOL GuardComboTextLength(CWnd* combo, int limit)
{
    CWnd* edit = combo ? ComboEdit(*combo) : nullptr;
    if (!edit || !GuardTextLength(*edit, limit)) return FALSE;
    DWORD start = 0, end = 0;
    edit->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    combo->SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(end, end));
    return TRUE;
}

void GuardComboToItsLimit(CWnd* combo)
{
    CWnd* edit = combo ? ComboEdit(*combo) : nullptr;
    if (edit) GuardComboTextLength(combo, OwnLimit(*edit));
}
