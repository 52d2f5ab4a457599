#include "forms/FormPaneParent.h"

void SendToFormPaneParent(CWnd& form, UINT message)
{
    CWnd* frame = form.GetParent();
    CWnd* pane = frame ? frame->GetParent() : nullptr;
    if (CWnd* target = pane ? pane->GetParent() : nullptr) target->SendMessage(message, 0, 0);
}
