// The notification the bound controls send when they take the focus.
#pragma once

#include "core/UserMessages.h"
#include "platform/ui/framework/Wnd.h"

// The window three levels up (the form's pane) hears of a field taking the
// focus, with the field's parent (the form), so it can mark that form active.
inline void NotifyFocusToPage(CWnd* pWnd)
{
    CWnd* pParent = pWnd ? pWnd->GetParent() : nullptr;
    CWnd* pGrand = pParent ? pParent->GetParent() : nullptr;
    CWnd* pGreat = pGrand ? pGrand->GetParent() : nullptr;
    if (pGreat)
        pGreat->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(pParent->m_hWnd), 0);
}
