// The document's view state: what the waveform views, forms and dialogs
// read of the document besides the record (see TavrionDoc.h).
#include "core/TavrionDoc.h"
#include "platform/ui/framework/Wnd.h"

LRESULT CTavrionDoc::SendToNotifyWnd(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_pNotifyWnd || !m_pNotifyWnd->GetSafeHwnd()) return 0;
    return m_pNotifyWnd->SendMessage(message, wParam, lParam);
}
