// The strip maker of the page panes' kit; included by PaneKit.h.
#pragma once

#include "dialogs/DlgCtrl.h"

namespace panes {

template <class Strip, class... Args> Strip* CreateStrip(CWnd* pane, CTavrionDoc* doc, int templateId, Args... args)
{
    Strip* strip = new Strip(args...);
    strip->SetECGDoc(doc);
    if (!strip->Create(templateId, pane)) {
        delete strip;
        return nullptr;
    }
    // Like every child, the strip waits at the empty rectangle for the first layout.
    strip->MoveWindow(CRect(0, 0, 0, 0), FALSE);
    return strip;
}

}  // namespace panes
