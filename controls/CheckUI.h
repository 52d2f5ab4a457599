// A form's entry for one of its controls: loads, refreshes and shows or
// enables the control the same way whatever kind of bound control it is.
#pragma once

#include "platform/ui/framework/Wnd.h"

class CTavrionDoc;

class CCheckUI {
public:
    CCheckUI() = default;
    CCheckUI(CWnd* pCtrl, CTavrionDoc* pDoc);
    virtual ~CCheckUI();

    // Binds the entry to a document after construction (a form gives its
    // controls the document only when it shows their texts); null unbinds.
    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    CWnd* GetCtrl() const { return m_pCtrl; }
    // In the parent's client coordinates; a combo box's includes its list.
    CRect GetRect() const { return CRect(m_rect); }
    void InitialText();
    void UpdateValue();
    void UpdateStatus();

private:
    BOOL IsDocReadOnly() const;

    CWnd* m_pCtrl = nullptr;
    CTavrionDoc* m_pDoc = nullptr;
    RECT m_rect{};
};
